// A definition line of the product control file, split into its named fields:
//
//   LOCKWAIT,DBLOCKS.WAITTIME,I2,~,~,*GE,~,*GE,~,*LT,~,DBLOCKS.X = 1,3
//
// Fields are separated by commas and blanks (a run of them counts as one, so
// no field can be left empty); the extra predicate and the append-zeros count
// end only at a comma and may hold blanks. Fields are taken in order until the
// line ends; tokens after the thirteenth are ignored.
#ifndef TORNVEL_READERS_DEFINITION_LINE_H_
#define TORNVEL_READERS_DEFINITION_LINE_H_

#include <optional>
#include <string_view>

#include "definitions/exception_definition.h"

namespace tornvel {

// The fields of one definition line, as views into the line. An optional
// field is absent when the line ends before it or, from the warning situation
// on, when its token begins with "~"; the type text may be "~" itself.
struct DefinitionLine {
  std::string_view name;
  std::string_view attribute;
  OptionalText typeText;  // a type letter and an optional digit of implied decimals
  OptionalText warningSituation;
  OptionalText criticalSituation;
  OptionalText criticalOperator;
  OptionalText criticalOnValue;
  OptionalText warningOperator;  // "None": no warning situation
  OptionalText warningOnValue;
  OptionalText upperOperator;
  OptionalText upperValue;
  OptionalText extraPredicate;
  OptionalText appendZeros;
};

// Splits a line that is neither a comment nor a directive; nullopt for a line
// without an attribute, which defines nothing.
std::optional<DefinitionLine> parseDefinitionLine(std::string_view line);

}  // namespace tornvel

#endif  // TORNVEL_READERS_DEFINITION_LINE_H_
