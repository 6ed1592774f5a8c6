// The threshold formula of an ordinary definition's warning or critical
// situation, as its update statement and build mode's INSERT both carry it.
// The text is the formula itself: a statement writes it between quotes with
// appendQuoted.
#ifndef TORNVEL_STATEMENTS_FORMULA_H_
#define TORNVEL_STATEMENTS_FORMULA_H_

#include <string>

#include "definitions/exception_definition.h"

namespace tornvel {

// "*IF *VALUE attribute operator value", with the warning band's upper bound
// and the extra predicate where the definition has them. The system-monitoring
// product writes the extra predicate first and compares a 'B' warning with its
// on-value; the other products end the formula with the extra predicate.
std::string buildFormula(const ExceptionDefinition& definition, Severity severity);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_FORMULA_H_
