#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>
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
