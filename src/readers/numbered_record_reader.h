// The transaction product's profile reader: numbered records, keyword records
// announcing what the next value record holds (a name, a warning, a critical).
#ifndef TORNVEL_READERS_NUMBERED_RECORD_READER_H_
#define TORNVEL_READERS_NUMBERED_RECORD_READER_H_

#include "readers/profile_context.h"

namespace tornvel {

// Reads the profile to its end (or to a read error); each warning and critical
// pair goes, once both are held, to the first definition of the name read
// last. A verbose run lists the pairs whose name matched no definition after
// the profile.
void readNumberedRecords(ProfileContext& context);

}  // namespace tornvel

#endif  // TORNVEL_READERS_NUMBERED_RECORD_READER_H_
