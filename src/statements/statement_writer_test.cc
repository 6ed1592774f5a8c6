#include "statements/statement_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tornvel {
namespace {

std::string written(const std::vector<std::string>& statements) {
  std::string text;
  for (const std::string& statement : statements) appendStatement(text, statement);
  return text;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::string::size_type start = 0;
  for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    result.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_EQ(start, text.size()) << "the last line has no line end";
  return result;
}

TEST(StatementWriterTest, UpdateStatementIsFollowedByTwoEmptyLines) {
  const std::string update =
      "UPDATE VORDA.TSITDESC SET LSTDATE = \"1261207093000000\", PDT = \"*IF *VALUE "
      "DBLOCKS.WAITTIME *GE 50 *AND *VALUE DBLOCKS.WAITTIME *LT 200\" WHERE SITNAME = "
      "\"ZT5_LOCKWAIT_Warning\";\n";
  ASSERT_EQ(update.size(), 176u);
  const std::vector<std::string> out = lines(written({update}));
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(out[0].size(), 72u);
  EXPECT_EQ(out[1].size(), 72u);
  EXPECT_EQ(out[2].size(), 31u);
  EXPECT_EQ(out[3], "");
  EXPECT_EQ(out[4], "");
  // Cut at fixed positions, words and quotes notwithstanding.
  EXPECT_EQ(out[0].substr(63), "*IF *VALU");
  EXPECT_EQ(out[1].substr(64), "WHERE SI");
  EXPECT_EQ(out[2], "TNAME = \"ZT5_LOCKWAIT_Warning\";");
}

TEST(StatementWriterTest, LineEndsAtTheCutPositions) {
  const std::string seventyTwo(72, 'x');
  EXPECT_EQ(written({seventyTwo}), seventyTwo + "\n\n");
  // The statement's own line end becomes a piece of its own.
  EXPECT_EQ(written({seventyTwo + "\n"}), seventyTwo + "\n\n\n\n");
  EXPECT_EQ(written({""}), "\n");
  EXPECT_EQ(written({std::string(145, 'y')}),
            std::string(72, 'y') + "\n" + std::string(72, 'y') + "\ny\n\n");
}

TEST(StatementWriterTest, StatementsFollowEachOther) {
  EXPECT_EQ(written({"DELETE A;", "$PARMS(\"\");"}), "DELETE A;\n\n$PARMS(\"\");\n\n");
}

// What the text already holds stays in front of the statement.
TEST(StatementWriterTest, AppendsAfterWhatTheTextHolds) {
  std::string text = "earlier\n";
  appendStatement(text, "DELETE A;");
  EXPECT_EQ(text, "earlier\nDELETE A;\n\n");
}

}  // namespace
}  // namespace tornvel
