// A definition's row of the table of migrated exceptions, which a verbose run
// prints for every definition of the table, whether or not it was written.
#ifndef TORNVEL_STATEMENTS_MIGRATED_ROW_H_
#define TORNVEL_STATEMENTS_MIGRATED_ROW_H_

#include <string>

#include "definitions/exception_definition.h"

namespace tornvel {

// The name, the type letter, the warning value and the critical value,
// separated by tabs, with the line end.
std::string migratedRow(const ExceptionDefinition& definition);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_MIGRATED_ROW_H_
