// Texts written between double quotes in a statement. The loader reads a quote
// inside such a text as its end unless it is written twice, so every quote a
// text carries from the inputs is doubled; a text without quotes is written as
// it stands.
#ifndef TORNVEL_STATEMENTS_QUOTED_TEXT_H_
#define TORNVEL_STATEMENTS_QUOTED_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace tornvel {

// Appends `text` to `out` with each `"` written as `""`.
void appendQuoted(std::string& out, std::string_view text);

// Doubles each `"` of `out` from position `from` to its end: for a text that a
// builder has just appended piece by piece.
void quoteFrom(std::string& out, std::size_t from);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_QUOTED_TEXT_H_
