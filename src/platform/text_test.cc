#include "platform/text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tornvel {
namespace {

std::vector<std::string> tokens(std::string_view text, const Delimiters& delimiters) {
  Tokenizer tokenizer(text);
  std::vector<std::string> result;
  while (auto token = tokenizer.next(delimiters)) result.emplace_back(*token);
  return result;
}

TEST(TokenizerTest, RunsOfDelimitersCountAsOne) {
  const Delimiters commaSpace(", \n");
  EXPECT_EQ(tokens(" ,A,,B , C\n", commaSpace), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_TRUE(tokens(" , \n", commaSpace).empty());
  // A tab is never a delimiter unless named.
  EXPECT_EQ(tokens("A\tB C", commaSpace), (std::vector<std::string>{"A\tB", "C"}));
}

TEST(TokenizerTest, EachCallMayUseItsOwnDelimiters) {
  Tokenizer tokenizer("ABC1,80,95 x,y\n");
  EXPECT_EQ(tokenizer.next(Delimiters(" \n")), "ABC1,80,95");
  EXPECT_EQ(tokenizer.next(Delimiters(", \n")), "x");
  EXPECT_EQ(tokenizer.rest(), "y\n");
  EXPECT_EQ(tokenizer.next(Delimiters(", \n")), "y");
  EXPECT_FALSE(tokenizer.next(Delimiters(", \n")));
  EXPECT_FALSE(tokenizer.next(Delimiters(", \n")));
}

// The tokenizer as defined, one byte at a time: the reference for the word
// scan that passes over letters and digits eight bytes at once.
std::vector<std::string> tokensByteByByte(std::string_view text, std::string_view chars) {
  auto isDelimiter = [chars](char c) { return chars.find(c) != std::string_view::npos; };
  std::vector<std::string> result;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && isDelimiter(text[i])) ++i;
    if (i >= text.size()) return result;
    std::size_t end = i;
    while (end < text.size() && !isDelimiter(text[end])) ++end;
    result.emplace_back(text.substr(i, end - i));
    i = end < text.size() ? end + 1 : end;
  }
}

TEST(TokenizerTest, WordScanFindsWhatAByteScanFinds) {
  // Delimiter sets of the readers, one with a delimiter above most letters
  // and one with a byte above 127 (no word scan at all). The alphabet holds
  // bytes below the bounds that are not delimiters, and bytes above 127.
  const std::string_view sets[] = {
      " \n", ", \n", "( \n", ")' \n", ".\n", "~\n", std::string_view("\xe9 ", 2)};
  const std::string alphabet =
      std::string("AZaz09 ,\n\t!'().~#") + "\x80\xe9\xff" + std::string(1, '\0');
  std::uint32_t seed = 12345;
  auto random = [&seed](std::uint32_t below) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % below;
  };
  for (std::string_view chars : sets) {
    const Delimiters delimiters(chars);
    for (int round = 0; round < 4000; ++round) {
      std::string text;
      const std::uint32_t length = random(40);
      // Mostly letters and digits, so that long tokens occur.
      for (std::uint32_t i = 0; i < length; ++i) {
        text += random(3) == 0 ? alphabet[random(static_cast<std::uint32_t>(alphabet.size()))]
                               : static_cast<char>('A' + random(26));
      }
      ASSERT_EQ(tokens(text, delimiters), tokensByteByByte(text, chars)) << text;
    }
  }
}

TEST(TextTest, BytesBelowMarksTheFirstLowByte) {
  auto word = [](const char(&bytes)[9]) {
    std::uint64_t value;
    std::memcpy(&value, bytes, 8);
    return value;
  };
  EXPECT_EQ(bytesBelow(word("ABCDEFGH"), 0x21), 0u);
  EXPECT_EQ(std::countr_zero(bytesBelow(word("ABC DEFG"), 0x21)) / 8, 3);
  EXPECT_EQ(std::countr_zero(bytesBelow(word("\nBCDEFGH"), 0x21)) / 8, 0);
  EXPECT_EQ(std::countr_zero(bytesBelow(word("ABCDEFG,"), 0x2d)) / 8, 7);
  // Bytes above 127 are never below a bound.
  EXPECT_EQ(bytesBelow(word("\x80\xff\xe9"
                            "ABCDE"),
                       0x21),
            0u);
}

TEST(TextTest, CutToCapacityKeepsOneLessThanTheFieldSize) {
  EXPECT_EQ(cutToCapacity("ABCDEFGHIJ", 9), "ABCDEFGH");
  EXPECT_EQ(cutToCapacity("ABC", 9), "ABC");
  EXPECT_EQ(cutToCapacity("ABC", 0), "");
}

TEST(TextTest, IntegerConversionReadsLikeAtoiAndSaturates) {
  struct Case {
    const char* text;
    std::int32_t value;
  };
  const Case cases[] = {
      {"12", 12},
      {"  -7x", -7},
      {"+5", 5},
      {"12.5", 12},
      {"OFF", 0},
      {"N/A", 0},
      {"", 0},
      {"-", 0},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-99999999999999999999", -2147483647 - 1},
  };
  for (const Case& c : cases) EXPECT_EQ(toInt32Saturating(c.text), c.value) << c.text;
}

TEST(TextTest, UpperCaseChangesOnlyAsciiLetters) {
  std::string text = "off-1\xe9z";
  upperCaseInPlace(text);
  EXPECT_EQ(text, "OFF-1\xe9Z");
}

}  // namespace
}  // namespace tornvel
