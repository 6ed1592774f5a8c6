// JSON values (RFC 8259) appended to a text, for the lines that scripts read
// back: strings with every byte an input may hold, numbers, true, false and
// null. What is written is always valid JSON in valid UTF-8, whatever bytes
// the inputs gave.
#ifndef TORNVEL_PLATFORM_JSON_TEXT_H_
#define TORNVEL_PLATFORM_JSON_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tornvel {

// Appends `text` as a JSON string literal, quotes included. The quote and the
// back-slash are escaped; control characters (below U+0020) become \b \t \n
// \f \r or \u00XX (lower-case hex); every other character, DEL and all of
// valid UTF-8 included, is written as it stands. Bytes that are not valid
// UTF-8 become U+FFFD, one for each maximal subpart of an ill-formed
// sequence: a lead byte with the continuation bytes that could still have
// completed it counts once (E2 82 followed by "A" gives one U+FFFD and the
// "A"), and every other byte counts on its own (C0 80 gives two: C0 can begin
// no valid sequence). Overlong forms, surrogates encoded in UTF-8 and code
// points above U+10FFFF are all ill-formed in this sense.
void appendJsonString(std::string& out, std::string_view text);

// A string literal, or null for an absent text.
void appendJsonStringOrNull(std::string& out, const std::optional<std::string>& text);

void appendJsonNumber(std::string& out, std::int64_t value);

// A number, or null for an absent one.
void appendJsonNumberOrNull(std::string& out, std::optional<std::int64_t> value);

void appendJsonBool(std::string& out, bool value);
void appendJsonNull(std::string& out);

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_JSON_TEXT_H_
