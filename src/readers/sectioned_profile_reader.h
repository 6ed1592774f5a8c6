// The exported profile of the system-monitoring product: nested Begin and End
// blocks for the profile, its sections, its tables (named PR. and the table
// name) and their rows, one column per line. Threshold columns carry an
// exception's warning ("W") or critical ("C") value; rows of the workload
// table WLM describe service classes. The reader itself is readSectionedProfile
// in readers/profile_reader.h.
#ifndef TORNVEL_READERS_SECTIONED_PROFILE_READER_H_
#define TORNVEL_READERS_SECTIONED_PROFILE_READER_H_

#include <optional>
#include <string_view>

namespace tornvel {

// One line of a threshold table split into its parts, all of them views into
// the line. The first character of the line belongs to no part.
struct ColumnLine {
  // Up to the first "(", space or line end; at most 19 characters. Empty when
  // the line has no column token.
  std::string_view column;
  // The column token without its last character.
  std::string_view exceptionName;
  // The column token's last character: 'W' warning, 'C' critical, else neither.
  char kind = '\0';
  // The next token, up to ")" or the line end; at most 39 characters.
  std::optional<std::string_view> value;
};

ColumnLine splitColumnLine(std::string_view line);

}  // namespace tornvel

#endif  // TORNVEL_READERS_SECTIONED_PROFILE_READER_H_
