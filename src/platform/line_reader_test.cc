#include "platform/line_reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tornvel {
namespace {

using namespace std::string_literals;

std::vector<std::string> readAll(std::string text, std::size_t limit = LineReader::kLineLimit) {
  LineReader reader;
  reader.openText(std::move(text));
  std::vector<std::string> lines;
  std::string line;
  while (reader.readLine(line, limit)) lines.push_back(line);
  return lines;
}

// The same reading through readLineView, each view copied before the next read.
std::vector<std::string> readAllViews(std::string text,
                                      std::size_t limit = LineReader::kLineLimit) {
  LineReader reader;
  reader.openText(std::move(text));
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.readLineView(line, limit)) lines.emplace_back(line);
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
  // What failed comes back as a value, with the folder found missing then.
  const Outcome folder = reader.open("/");
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.failure(), (Failure{Step::kOpen, EISDIR, FolderFinding::kNone}));
  const Outcome missing = reader.open("/nonexistent/dir/file.txt");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.failure(), (Failure{Step::kOpen, ENOENT, FolderFinding::kMissing}));
  EXPECT_FALSE(reader.failed());  // no read failed
}

// The reading rules, one byte at a time: at most `limit` bytes per line, a
// carriage return right before a line feed dropped and not counted, a NUL ends
// the line's text (the bytes after it still count), the line feed is kept.
std::vector<std::string> readByteByByte(const std::string& text, std::size_t limit) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    std::string line;
    std::size_t count = 0;
    bool ended = false;
    while (count < limit && i < text.size()) {
      char c = text[i++];
      if (c == '\r' && i < text.size() && text[i] == '\n') continue;
      if (c == '\0') ended = true;
      if (!ended) line.push_back(c);
      ++count;
      if (c == '\n') break;
    }
    lines.push_back(line);
  }
  return lines;
}

// Line ends, carriage returns and NULs at every offset of a line, among bytes
// with the high bit set: the reader tests several bytes at a time and must
// find exactly the first of them.
TEST(LineReaderTest, FindsEachSpecialByteAtEveryOffset) {
  const std::string specials[] = {"\n", "\r", std::string(1, '\0'), "\r\n", "\r\r\n"};
  for (const std::string& special : specials) {
    for (std::size_t offset = 0; offset < 24; ++offset) {
      std::string text;
      for (std::size_t i = 0; i < offset; ++i) text.push_back(i % 2 ? '\xff' : 'a');
      text += special;
      text += "\x80tail\x7f\n";
      text += std::string(offset, 'b') + special + "\n";
      for (std::size_t limit :
           {std::size_t{1023}, std::size_t{8}, std::size_t{9}, std::size_t{3}}) {
        EXPECT_EQ(readAll(text, limit), readByteByByte(text, limit))
            << "offset " << offset << " limit " << limit << " special " << int(special[0]);
        EXPECT_EQ(readAllViews(text, limit), readByteByByte(text, limit))
            << "offset " << offset << " limit " << limit << " special " << int(special[0]);
      }
    }
  }
}

// Lines that straddle the boundaries of the reader's file buffer read the
// same as from memory; the file is read byte for byte as it stands.
TEST(LineReaderTest, LinesAcrossFileBufferBoundaries) {
  std::string text;
  for (int i = 0; text.size() < 300000; ++i) {
    text += std::string(static_cast<std::size_t>(i % 37), static_cast<char>('A' + i % 26));
    text += i % 11 == 0 ? "\r\n" : (i % 13 == 0 ? std::string(1, '\0') + "x\n" : "\n");
    if (i % 500 == 0) text += std::string(1500, 'L') + "\n";
    if (i % 17 == 0)
      text += "\x1a";  // an ordinary byte, also where a system knows it as end of file
  }
  const std::string name = (std::filesystem::temp_directory_path() /
                            ("tornvel-line-reader-" + std::to_string(std::random_device()())))
                               .string();
  {
    std::ofstream out(name, std::ios::binary);
    out << text;
    ASSERT_TRUE(out.flush()) << name;
  }
  LineReader reader;
  ASSERT_TRUE(reader.open(name));
  std::vector<std::string> lines;
  std::string line;
  while (reader.readLine(line)) lines.push_back(line);
  // Views, mixed with copies the way the sectioned reader mixes look-ahead
  // lines with the lines it examines.
  LineReader viewReader;
  ASSERT_TRUE(viewReader.open(name));
  std::vector<std::string> viewed;
  std::string_view view;
  for (int i = 0; i < 1000000; ++i) {
    bool more = i % 3 == 0 ? viewReader.readLine(line) : viewReader.readLineView(view);
    if (!more) break;
    viewed.emplace_back(i % 3 == 0 ? std::string_view(line) : view);
  }
  reader.close();
  viewReader.close();
  std::filesystem::remove(name);
  EXPECT_EQ(lines, readByteByByte(text, LineReader::kLineLimit));
  EXPECT_EQ(viewed, lines);
}

// A line is counted as cut only when more than its line end is left over,
// and once however many pieces it makes; the numbers are the file's lines.
TEST(LineReaderTest, CountsLinesLongerThanTheLimit) {
  struct Case {
    std::string text;
    std::vector<std::size_t> cutLines;
  };
  const std::string full(1023, 'x');
  const Case cases[] = {
      {full + "\n" + full + "\r\nshort\n", {}},
      {"a\n" + full + "y\nb\n", {2}},
      {std::string(3000, 'z') + "\n" + full + "yy", {1, 2}},
  };
  for (const Case& c : cases) {
    LineReader reader;
    reader.openText(c.text);
    std::string_view line;
    while (reader.readLineView(line)) {
    }
    std::vector<std::size_t> numbers;
    for (const LineReader::CutLine& cut : reader.overlongLines()) numbers.push_back(cut.number);
    EXPECT_EQ(numbers, c.cutLines) << c.text.substr(0, 40);
    EXPECT_EQ(reader.overlongLineCount(), c.cutLines.size());
  }
}

TEST(LineReaderTest, PassesOverAUtf8ByteOrderMarkOnly) {
  EXPECT_EQ(readAll("\xEF\xBB\xBF"
                    "A 1\n\xEF\xBB\xBF"),
            (std::vector<std::string>{"A 1\n", "\xEF\xBB\xBF"}));
}

// UTF-16 with a mark is read as its text in UTF-8; a text that is not UTF-16
// to its end fails after the lines before the fault. Without a mark, a first
// line with a NUL in every other byte is told, and read as bytes.
TEST(LineReaderTest, ReadsUtf16AsUtf8) {
  using Unmarked = LineReader::UnmarkedUtf16;
  struct Case {
    std::string text;
    std::vector<std::string> lines;
    std::string problem;
    Unmarked unmarked = Unmarked::kNone;
  };
  const std::string crlf = "\r\0\n\0"s;
  const Case cases[] = {
      {"\xFF\xFE"
       "A\0 \0\xE9\0"s +
           crlf + "\x3D\xD8\x00\xDE"s,  // é, then U+1F600 as a pair
       {"A \xC3\xA9\n", "\xF0\x9F\x98\x80"},
       ""},
      {"\xFE\xFF\0A\0\n\x20\xAC"s, {"A\n", "\xE2\x82\xAC"}, ""},
      {"\xFF\xFE"
       "A\0\n\0B"s,
       {"A\n"},
       "an odd number of bytes"},
      {"\xFF\xFE"
       "A\0\n\0\x00\xDC"s,
       {"A\n"},
       "an unpaired surrogate at byte 6"},
      {"\xFF\xFE\x3D\xD8"
       "A\0"s,
       {},
       "an unpaired surrogate at byte 2"},
      {"A\0B\0"s + crlf, {"A", ""}, "", Unmarked::kLittleEndian},
      {"\0A\0B\0\r\0\n"s, {""}, "", Unmarked::kBigEndian},
      {"AB\0\0\n"s, {"AB"}, ""},
  };
  for (const Case& c : cases) {
    LineReader reader;
    reader.openText(c.text);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line)) lines.push_back(line);
    EXPECT_EQ(lines, c.lines) << c.text;
    EXPECT_EQ(reader.decodeProblem(), c.problem) << c.text;
    EXPECT_EQ(reader.failed(), !c.problem.empty()) << c.text;
    if (reader.failed()) {
      EXPECT_EQ(*reader.readFailure(), (Failure{Step::kDecode, EILSEQ})) << c.text;
    }
    EXPECT_EQ(reader.unmarkedUtf16(), c.unmarked) << c.text;
  }
}

// Blanks, tabs and line ends are no text, whatever mark stands before them
// (the first three); a NUL or any other byte is. A file is looked at block
// by block.
TEST(LineReaderTest, TellsWhetherAnyByteWasMoreThanBlank) {
  const std::string texts[] = {" \t\r\n\n\r", "\xEF\xBB\xBF \r\n", "\xFE\xFF\0 \0\n"s, "\n  x",
                               "\0"s,         "\xFF\xFE\0\x0A"s};
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    LineReader reader;
    reader.openText(texts[i]);
    std::string line;
    while (reader.readLine(line)) {
    }
    EXPECT_EQ(reader.nonBlankByteRead(), i >= 3) << ::testing::PrintToString(texts[i]);
  }
  const std::string name = (std::filesystem::temp_directory_path() /
                            ("tornvel-blank-" + std::to_string(std::random_device()())))
                               .string();
  std::ofstream(name, std::ios::binary) << std::string(200000, ' ') << "\nx";
  LineReader reader;
  ASSERT_TRUE(reader.open(name));
  EXPECT_FALSE(reader.nonBlankByteRead());
  std::string line;
  while (reader.readLine(line)) {
  }
  EXPECT_TRUE(reader.nonBlankByteRead());
  reader.close();
  std::filesystem::remove(name);
}

TEST(LineReaderTest, NumbersTheLineLastRead) {
  LineReader reader;
  reader.openText("a\n" + std::string(1100, 'b') + "\nc");
  std::string_view line;
  std::vector<std::size_t> numbers;
  while (reader.readLineView(line)) numbers.push_back(reader.lineNumber());
  EXPECT_EQ(numbers, (std::vector<std::size_t>{1, 2, 2, 3}));
}

}  // namespace
}  // namespace tornvel
