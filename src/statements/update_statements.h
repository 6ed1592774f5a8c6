// The UPDATE of an ordinary definition: it rewrites the threshold formula
// (formula.h) of the warning or the critical situation and stamps it with the
// run timestamp. Service classes of the system product get new situations
// instead (service_class_statements.h).
#ifndef TORNVEL_STATEMENTS_UPDATE_STATEMENTS_H_
#define TORNVEL_STATEMENTS_UPDATE_STATEMENTS_H_

#include <string_view>

#include "definitions/exception_definition.h"
#include "statements/build_results.h"

namespace tornvel {

// Whether an ordinary definition's warning or critical situation gets its
// statements: kWritten, or kDisabled when the situation is switched off or
// has no threshold. The UPDATE and build mode's statements follow it alike.
BuildResult situationStatus(const ExceptionDefinition& definition, Severity severity);

// The UPDATE of the warning or the critical situation, ending with its line
// end (statement_writer.h), or kDisabled without text when the situation is
// disabled or has no threshold. The definition is only read: the run
// timestamp comes as `timestamp`.
Built buildUpdate(const ExceptionDefinition& definition, Severity severity,
                  std::string_view timestamp);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_UPDATE_STATEMENTS_H_
