#include "statements/migrated_row.h"

namespace tornvel {

std::string migratedRow(const ExceptionDefinition& definition) {
  std::string row;
  row.append(definition.name()).append("\t");
  // The type letter, printed as one character, even NUL.
  row.push_back(definition.typeLetter());
  row.append("\t").append(definition.condition(Severity::kWarning).value).append("\t");
  row.append(definition.condition(Severity::kCritical).value).append("\n");
  return row;
}

}  // namespace tornvel
