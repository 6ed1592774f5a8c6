// The two statement builders of a definition. For an ordinary definition each
// builds the UPDATE that rewrites the threshold formula of the warning or the
// critical situation and stamps it with the run timestamp; for a service-class
// definition of the system-monitoring product each builds the INSERT of one
// kind's new situation instead (service_class_statements.h).
#ifndef TORNVEL_STATEMENTS_UPDATE_STATEMENTS_H_
#define TORNVEL_STATEMENTS_UPDATE_STATEMENTS_H_

#include <string>
#include <string_view>

#include "definitions/exception_definition.h"
#include "statements/build_results.h"

namespace tornvel {

// Both builders replace `output` with the statement and return kWritten, or
// return kDisabled when the situation is disabled or has no threshold
// (kDeclined only on the service-class path); then `output` is left empty.
// They only read the definition: the run timestamp comes as `timestamp`.
// `kind` and `head` matter only for service-class definitions: ordinary
// definitions are built with kind 0 and an empty head.
BuildResult buildWarningStatement(const ExceptionDefinition& definition, std::string& output,
                                  std::string_view timestamp, int kind, std::string_view head);
BuildResult buildCriticalStatement(const ExceptionDefinition& definition, std::string& output,
                                   std::string_view timestamp, int kind, std::string_view head);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_UPDATE_STATEMENTS_H_
