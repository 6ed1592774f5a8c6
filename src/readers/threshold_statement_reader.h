// The IMS product's profile reader: one threshold statement per line, the
// exception name after the prefix "THR", with synonym groups whose members'
// values are combined into one definition's.
#ifndef TORNVEL_READERS_THRESHOLD_STATEMENT_READER_H_
#define TORNVEL_READERS_THRESHOLD_STATEMENT_READER_H_

#include "readers/profile_context.h"

namespace tornvel {

// Reads the profile to its end (or to a read error): a synonym member's
// values are recorded in its group, any other name's go to the first
// definition of the name. After the profile each group that recorded values
// gives its combined values to the definition named like the group. A verbose
// run shows each applied line and group, then the names that matched nothing.
void readThresholdStatements(ProfileContext& context);

}  // namespace tornvel

#endif  // TORNVEL_READERS_THRESHOLD_STATEMENT_READER_H_
