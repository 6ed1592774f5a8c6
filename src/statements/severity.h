// Each definition stands for two situations, a warning and a critical one.
// Every statement kind has one builder that takes the Severity; the named
// warning and critical builders are its two forms.
#ifndef TORNVEL_STATEMENTS_SEVERITY_H_
#define TORNVEL_STATEMENTS_SEVERITY_H_

#include <string>

#include "definitions/exception_definition.h"

namespace tornvel {

enum class Severity { kWarning, kCritical };

// The name of the situation that a statement of this severity is for.
inline const std::string& situationName(const ExceptionDefinition& definition, Severity severity) {
  return severity == Severity::kWarning ? definition.warningSituation
                                        : definition.criticalSituation;
}

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_SEVERITY_H_
