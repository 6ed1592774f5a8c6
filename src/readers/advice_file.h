// The advice file of build mode: per exception, the situation text that goes
// into the TEXT column of its INSERTs and the argument of its $PARMS
// statement. Each line reads name~situation text~parameter text.
#ifndef TORNVEL_READERS_ADVICE_FILE_H_
#define TORNVEL_READERS_ADVICE_FILE_H_

#include "definitions/definition_table.h"
#include "platform/line_reader.h"

namespace tornvel {

// Reads every line of `advice` and gives each definition named by a line its
// own copies of the line's two texts; a later line for the same name replaces
// them. Runs of "~" count as one, so an empty text cannot be given, and a line
// with fewer than three fields is passed over, as is a name that matches no
// definition. Text after a fourth "~" is ignored.
void applyAdviceFile(LineReader& advice, DefinitionTable& table);

}  // namespace tornvel

#endif  // TORNVEL_READERS_ADVICE_FILE_H_
