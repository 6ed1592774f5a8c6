#include "statements/quoted_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tornvel {
namespace {

TEST(QuotedTextTest, QuotesAreDoubledAndFoundAgain) {
  struct Case {
    std::string_view text;
    std::string_view quoted;
  };
  const Case cases[] = {
      {"", ""}, {"plain", "plain"}, {"\"", "\"\""}, {"a\"b\"\"c\"", "a\"\"b\"\"\"\"c\"\""}};
  for (const Case& c : cases) {
    std::string out = "x";
    appendQuoted(out, c.text);
    EXPECT_EQ(out, "x" + std::string(c.quoted)) << c.text;
    out = "x" + std::string(c.text);
    quoteFrom(out, 1);
    EXPECT_EQ(out, "x" + std::string(c.quoted)) << c.text;
    // Read back, the quoted text ends where its closing quote stands.
    EXPECT_EQ(quotedLength(std::string(c.quoted) + "\" rest"), c.quoted.size()) << c.text;
  }
  EXPECT_EQ(quotedLength("no closing quote"), 16u);
}

}  // namespace
}  // namespace tornvel
