// Situations a profile gives two different values: the later one wins, which
// the profile's author may not have meant. The plain list, numbered records
// and threshold statements name each exception once as a rule; the sectioned
// profile gives a column once per row of a table, so its reader does not ask.
#ifndef TORNVEL_READERS_REPEATED_VALUES_H_
#define TORNVEL_READERS_REPEATED_VALUES_H_

#include "definitions/definition_table.h"
#include "readers/profile_context.h"

namespace tornvel {

// Adds to `findings` every situation that the profile gave two different
// texts and that is written (enabled, with a value), in table order, warning
// before critical. Called once the profile is read: only then is it known
// which situations are written.
void noteRepeatedValues(const DefinitionTable& table, ProfileFindings& findings);

}  // namespace tornvel

#endif  // TORNVEL_READERS_REPEATED_VALUES_H_
