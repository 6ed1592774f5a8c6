#include "platform/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tornvel {
namespace {

std::vector<std::string> readAll(std::string text, std::size_t limit = LineReader::kLineLimit) {
  LineReader reader;
  reader.openText(std::move(text));
  std::vector<std::string> lines;
  std::string line;
  while (reader.readLine(line, limit)) lines.push_back(line);
  return lines;
}

TEST(LineReaderTest, SplitsLinesAndKeepsLineEnds) {
  EXPECT_EQ(readAll("a b\nc\n\nlast"), (std::vector<std::string>{"a b\n", "c\n", "\n", "last"}));
  EXPECT_TRUE(readAll("").empty());
}

TEST(LineReaderTest, LongLinesContinueAsNextLine) {
  struct Case {
    std::size_t length;
    std::vector<std::size_t> pieces;  // lengths handed out, line ends included
  };
  const Case cases[] = {
      {1022, {1023}},      // 1022 characters and the line end fit
      {1023, {1023, 1}},   // the line end alone is the next line
      {1024, {1023, 2}},   // one character and the line end
      {1100, {1023, 78}},  // the remaining 77 and the line end
      {100000, {}},        // checked below
  };
  for (const Case& c : cases) {
    auto lines = readAll(std::string(c.length, 'x') + "\n");
    if (c.length == 100000) {
      std::size_t total = 0;
      for (const auto& line : lines) {
        EXPECT_LE(line.size(), 1023u);
        total += line.size();
      }
      EXPECT_EQ(total, 100001u);
      EXPECT_EQ(lines.size(), 98u);
      continue;
    }
    ASSERT_EQ(lines.size(), c.pieces.size()) << c.length;
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].size(), c.pieces[i]);
  }
  auto rows = readAll(std::string(300, 'r') + "\n", LineReader::kRowLineLimit);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].size(), 255u);
  EXPECT_EQ(rows[1].size(), 46u);
}

TEST(LineReaderTest, CarriageReturnBeforeLineFeedIsDropped) {
  EXPECT_EQ(readAll("a\r\nb\r\n"), (std::vector<std::string>{"a\n", "b\n"}));
  // A lone carriage return is an ordinary character.
  EXPECT_EQ(readAll("a\rb\n\r"), (std::vector<std::string>{"a\rb\n", "\r"}));
  // The dropped carriage return does not count toward the limit.
  auto lines = readAll(std::string(1022, 'x') + "\r\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), 1023u);
}

TEST(LineReaderTest, NulEndsTheTextOfItsLine) {
  std::string text("ab\0cd\nef\n", 9);
  EXPECT_EQ(readAll(text), (std::vector<std::string>{"ab", "ef\n"}));
  // Bytes after the NUL still count toward the limit.
  std::string longLine = std::string("x\0", 2) + std::string(1030, 'y') + "\n";
  auto lines = readAll(longLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "x");
  EXPECT_EQ(lines[1], std::string(9, 'y') + "\n");
}

TEST(LineReaderTest, DirectoriesAndMissingFilesDoNotOpen) {
  LineReader reader;
  EXPECT_FALSE(reader.open("/"));
  EXPECT_FALSE(reader.open("/nonexistent/dir/file.txt"));
}

}  // namespace
}  // namespace tornvel
