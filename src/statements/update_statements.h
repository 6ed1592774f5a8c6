// The statement builders of a definition. For an ordinary definition they
// build the UPDATE that rewrites the threshold formula (formula.h) of the
// warning or the critical situation and stamps it with the run timestamp; for
// a service-class definition of the system-monitoring product they build the
// INSERT of one kind's new situation instead (service_class_statements.h).
#ifndef TORNVEL_STATEMENTS_UPDATE_STATEMENTS_H_
#define TORNVEL_STATEMENTS_UPDATE_STATEMENTS_H_

#include <string>
#include <string_view>

#include "definitions/exception_definition.h"
#include "statements/build_results.h"

namespace tornvel {

// Whether an ordinary definition's warning or critical situation gets its
// statements: kWritten, or kDisabled when the situation is switched off or
// has no threshold. The UPDATE and build mode's statements follow it alike.
BuildResult situationStatus(const ExceptionDefinition& definition, Severity severity);

// Replaces `output` with the statement of the warning or the critical
// situation and returns kWritten, or returns kDisabled when the situation is
// disabled or has no threshold (kDeclined only on the service-class path);
// then `output` is left empty. The definition is only read: the run timestamp
// comes as `timestamp`. `kind` and `head` matter only for service-class
// definitions: ordinary definitions are built with kind 0 and an empty head.
BuildResult buildStatement(const ExceptionDefinition& definition, Severity severity,
                           std::string& output, std::string_view timestamp, int kind,
                           std::string_view head);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_UPDATE_STATEMENTS_H_
