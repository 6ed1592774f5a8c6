#include "statements/quoted_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tornvel {
namespace {

// How the loader reads a quoted text back: up to the first quote that is not
// doubled, or to the end when no quote closes it.
std::size_t quotedLength(std::string_view text) {
  std::size_t at = 0;
  while ((at = text.find('"', at)) != std::string_view::npos) {
    if (at + 1 < text.size() && text[at + 1] == '"') {
      at += 2;
      continue;
    }
    return at;
  }
  return text.size();
}

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
}

}  // namespace
}  // namespace tornvel
