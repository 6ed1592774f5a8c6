#include "readers/repeated_values.h"

namespace tornvel {

void noteRepeatedValues(const DefinitionTable& table, ProfileFindings& findings) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ExceptionDefinition& definition = table.at(i);
    for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
      const Condition& condition = definition.condition(severity);
      const GivenTexts::Given later = condition.given.firstDifferent();
      if (later.line == 0 || !condition.enabled || condition.value.empty()) continue;
      findings.repeatedValues.push_back(
          {definition.name(), severity, condition.given.first(), later, condition.value});
    }
  }
}

}  // namespace tornvel
