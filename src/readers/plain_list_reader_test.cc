#include "readers/plain_list_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "readers/reader_test_support.h"

namespace tornvel {
namespace {

struct PlainListRun : ReaderRun {
  PlainListRun() : ReaderRun("ZT5", readPlainList) {}
};

TEST(PlainListReaderTest, ValuesMayBeSeparatedByBlanksCommasOrRunsOfBoth) {
  for (const char* text : {"ABC1 80 95\n", "ABC1 80,95\n", "ABC1 80, 95\n", "ABC1 80 ,,95\n",
                           "  ABC1 80 95 70\n", "ABC1 80 95"}) {
    PlainListRun run;
    ExceptionDefinition& abc1 = run.define("ABC1");
    run.read(text, false);
    EXPECT_EQ(abc1.condition(Severity::kWarning).value, "80") << text;
    EXPECT_EQ(abc1.condition(Severity::kCritical).value, "95") << text;
  }
}

TEST(PlainListReaderTest, PassesOverCommentEmptyAndShortLinesWithoutAMessage) {
  PlainListRun run;
  ExceptionDefinition& abc1 = run.define("ABC1");
  // A comma or a tab does not end the name, so the first and the last line are
  // one token each.
  run.read("ABC1,80,95\nABC1 80\n*ABC1 80 95\n   *ABC1 80 95\n\n \n , \nABC1\t80\t95\n", true);
  EXPECT_EQ(abc1.condition(Severity::kWarning).value, "");
  EXPECT_EQ(abc1.condition(Severity::kCritical).value, "");
  EXPECT_EQ(run.out.str(), "");
}

TEST(PlainListReaderTest, VerboseRunShowsAppliedValuesThenUnmatchedLines) {
  PlainListRun run;
  run.define("ABC1");
  run.define("FLT1", "F");
  const std::string longValue = "1234567890123456789012345678901234567890X";
  run.read("abc1 80 95\nABC1 70 90\nFLT1 80 95\nLONG_EXCEPTION_NAME_XY " + longValue + " OFF\n",
           true);
  EXPECT_EQ(run.out.str(), std::string(kProfileHeader) +
                               "ABC1        \t70       \t90\n"
                               "FLT1        \t80.0       \t95.0\n" +
                               std::string(kUnhandledHeader) +
                               "abc1    \t80\t95\n"
                               "LONG_EXCEPTION_NAME_    \t" +
                               longValue.substr(0, 40) + "\tOFF\n");
}

TEST(PlainListReaderTest, EachValueGrowsInItsOwnTextAndIsShownWhole) {
  PlainListRun run;
  ExceptionDefinition& abc1 = run.define("ABC1");
  abc1.setAppendZeros("25");
  run.read("ABC1 8 9\n", true);
  const std::string warning = "8" + std::string(25, '0');
  const std::string critical = "9" + std::string(25, '0');
  EXPECT_EQ(abc1.condition(Severity::kWarning).value, warning.substr(0, 23));
  EXPECT_EQ(abc1.condition(Severity::kCritical).value, critical.substr(0, 23));
  EXPECT_EQ(run.out.str(), std::string(kProfileHeader) + "ABC1        \t" + warning + "       \t" +
                               critical + "\n");
}

TEST(PlainListReaderTest, FirstDefinitionOfANameTakesEveryLineInFileOrder) {
  PlainListRun run;
  ExceptionDefinition& first = run.define("ABC1");
  ExceptionDefinition& second = run.define("ABC1");
  run.read("ABC1 80 95\nXYZ1 1 2\nABC1 70 90\n", false);
  EXPECT_EQ(first.condition(Severity::kWarning).value, "70");
  EXPECT_EQ(first.condition(Severity::kCritical).value, "90");
  EXPECT_EQ(second.condition(Severity::kWarning).value, "");
  EXPECT_TRUE(run.unhandled.empty());
  EXPECT_EQ(run.out.str(), "");
}

// The lines a verbose run lists as not handled are kept with their numbers
// when asked for, the first 512 and a count; a name that nearly reaches a
// definition is noted in every run, and only where its line would be listed.
TEST(PlainListReaderTest, KeepsUnhandledNamesAndNearMisses) {
  std::string profile = "abc1 80 95\n* ABC1 1 2\nACB1 5\nABC12 1 2\nABC1 70 90\n";
  for (int i = 0; i < 600; ++i) profile += "ACB1 1 2\n";
  for (const bool keep : {true, false}) {
    PlainListRun run;
    run.define("ABC1");
    run.keepUnhandled = keep;
    run.read(profile);
    const std::vector<std::string> unhandled = unhandledOf(run.findings);
    ASSERT_EQ(unhandled.size(), keep ? 512u : 0u);
    EXPECT_EQ(run.findings.unhandledTotal, keep ? 602u : 0u);
    EXPECT_EQ(keep ? unhandled[1] + " " + unhandled.back() : "", keep ? "ABC12@4 ACB1@515" : "");
    EXPECT_EQ(nearMissesOf(run.findings),
              (std::vector<std::string>{"abc1>ABC1@1", "ACB1>ABC1@6", "ACB1>ABC1@7", "ACB1>ABC1@8",
                                        "ACB1>ABC1@9"}));
    EXPECT_EQ(run.findings.nearMissTotal, 601u);
  }
}

}  // namespace
}  // namespace tornvel
