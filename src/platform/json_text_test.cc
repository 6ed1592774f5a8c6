#include "platform/json_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

namespace tornvel {
namespace {

#define FFFD "\xEF\xBF\xBD"  // U+FFFD in UTF-8

// Valid UTF-8 stands as it is; ill-formed bytes give one U+FFFD per maximal
// subpart: a lead byte with the continuation bytes that could still have
// completed it, or else a single byte.
TEST(JsonStringTest, EscapesAndInvalidUtf8) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", R"("")"},
      {"SQLLIB\\A \"80\" /\x7F", "\"SQLLIB\\\\A \\\"80\\\" /\x7F\""},
      {std::string_view("\b\t\n\f\r\0\x01\x1F", 8), R"("\b\t\n\f\r\u0000\u0001\u001f")"},
      // U+0080, U+0800, U+D7FF, U+E000, U+FFFD, U+10000, U+10FFFF
      {"\xC2\x80\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
       "\"\xC2\x80\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"
       "\""},
      {"A\xBF\x80Z", "\"A" FFFD FFFD "Z\""},                // lone continuation bytes
      {"\xC0\x80\xC1\xBF", "\"" FFFD FFFD FFFD FFFD "\""},  // overlong two bytes
      {"\xE0\x9F\xBF", "\"" FFFD FFFD FFFD "\""},           // overlong U+07FF
      {"\xF0\x8F\xBF\xBF", "\"" FFFD FFFD FFFD FFFD "\""},  // overlong U+FFFF
      {"\xED\xA0\x80", "\"" FFFD FFFD FFFD "\""},           // surrogate U+D800
      {"\xF4\x90\x80\x80", "\"" FFFD FFFD FFFD FFFD "\""},  // U+110000
      {"\xF5\x80\xFE\xFF", "\"" FFFD FFFD FFFD FFFD "\""},  // bytes no UTF-8 has
      {"\xF0\x9F\x98", "\"" FFFD "\""},                     // cut short at the end
      {"\xE2\x82\x41", "\"" FFFD "A\""},                    // cut short by ASCII
      {"\xC3\xC3\xA9", "\"" FFFD "\xC3\xA9\""},             // the next lead byte starts afresh
      {"\xE2\"\xC3\n", "\"" FFFD "\\\"" FFFD "\\n\""},      // cut short by escaped bytes
      // The Unicode standard's worked example (chapter 3.9).
      {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
       "\"a" FFFD FFFD FFFD "b" FFFD "c" FFFD FFFD "d\""},
  };
  for (const auto& [input, literal] : cases) {
    std::string out;
    appendJsonString(out, input);
    EXPECT_EQ(out, literal) << input;
  }
}

}  // namespace
}  // namespace tornvel
