// Build mode defines each situation anew instead of updating its formula: for
// every update statement built, the run writes a DELETE of the situation's
// row, a $PARMS statement and an INSERT that carries the same formula.
// None of these statements ends with a line end, so one empty line follows
// each in the statement file (statement_writer.h).
#ifndef TORNVEL_STATEMENTS_BUILD_MODE_H_
#define TORNVEL_STATEMENTS_BUILD_MODE_H_

#include <string>
#include <string_view>

#include "definitions/exception_definition.h"

namespace tornvel {

// DELETE FROM VORDA.TSITDESC WHERE SITNAME = "situation";
std::string buildDelete(const ExceptionDefinition& definition, Severity severity);

// $PARMS("parameter text"); with the advice file's text, or empty without one.
std::string buildParmsStatement(const ExceptionDefinition& definition);

// The INSERT that creates the situation's row: `head` (kBuildModeInsertHead),
// the situation text (the advice file's, else the situation name), the run
// timestamp (at most 19 characters), the run's affinity string (at most 59
// characters), the situation name and the situation's formula.
std::string buildInsert(const ExceptionDefinition& definition, Severity severity,
                        std::string_view timestamp, std::string_view affinities,
                        std::string_view head);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_BUILD_MODE_H_
