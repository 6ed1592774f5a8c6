// The exported profile of the system-monitoring product: nested Begin and End
// blocks for the profile, its sections, its tables (named PR. and the table
// name) and their rows, one column per line. Threshold columns carry an
// exception's warning ("W") or critical ("C") value; rows of the workload
// table WLM describe service classes.
#ifndef TORNVEL_READERS_SECTIONED_PROFILE_READER_H_
#define TORNVEL_READERS_SECTIONED_PROFILE_READER_H_

#include <optional>
#include <string_view>

#include "readers/profile_context.h"

namespace tornvel {

// Reads the profile until it ends (or a read fails), or until a workload row's
// definition fills the definition table to its limit of 512: the limit warning
// is printed and the rest of the profile is not read. Each workload row
// appends a service-class definition; threshold columns go to the first
// definition of their exception's name, warning and critical paired when they
// stand on consecutive lines. A verbose run then shows the unmatched columns,
// counted per column and table.
void readSectionedProfile(ProfileContext& context);

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
