// The database product's profile reader: one exception per line, its name
// followed by its warning and its critical threshold.
#ifndef TORNVEL_READERS_PLAIN_LIST_READER_H_
#define TORNVEL_READERS_PLAIN_LIST_READER_H_

#include "readers/profile_context.h"

namespace tornvel {

// Reads the profile to its end (or to a read error) and hands each line's two
// thresholds to the first definition of its name. A verbose run shows each
// applied line and, after the profile, the lines that matched no definition.
void readPlainList(ProfileContext& context);

}  // namespace tornvel

#endif  // TORNVEL_READERS_PLAIN_LIST_READER_H_
