#include "statements/formula.h"

namespace tornvel {

namespace {

// The system-monitoring product writes its formulas in a form of its own: the
// extra predicate comes first, and a 'B' warning compares with its on-value.
bool isZr5(const ExceptionDefinition& definition) {
  return definition.product() == Product::kSystem;
}

// " *AND *VALUE attribute upper-operator bound", left out without a bound.
void appendUpperClause(std::string& out, const ExceptionDefinition& definition,
                       const std::string& bound) {
  if (bound.empty()) return;
  out += " *AND *VALUE ";
  out += definition.attribute();
  out += ' ';
  out += definition.warningUpper().comparison;
  out += ' ';
  out += bound;
}

void appendComparison(std::string& out, const ExceptionDefinition& definition,
                      const std::string& op, const std::string& value) {
  out += "*VALUE ";
  out += definition.attribute();
  out += ' ';
  out += op;
  out += ' ';
  out += value;
}

// A 'B' warning is one comparison; any other type tests the band from the
// warning value up to an upper bound. The two forms prefer opposite upper
// bounds: the general form the control file's upper value, the ZR5 form the
// critical value.
void appendWarningComparisons(std::string& out, const ExceptionDefinition& definition) {
  const Condition& warning = definition.condition(Severity::kWarning);
  if (definition.valueType() == ValueType::kBoolean) {
    // The ZR5 form compares with the on-value; without one it falls back to
    // the stored warning value rather than leave the comparison unfinished.
    const std::string& value =
        isZr5(definition) && !warning.onValue.empty() ? warning.onValue : warning.value;
    appendComparison(out, definition, warning.comparison, value);
    return;
  }
  appendComparison(out, definition, warning.comparison, warning.value);
  const std::string& critical = definition.condition(Severity::kCritical).value;
  const std::string& upper = definition.warningUpper().value;
  const std::string& preferred = isZr5(definition) ? critical : upper;
  const std::string& fallback = isZr5(definition) ? upper : critical;
  appendUpperClause(out, definition, preferred.empty() ? fallback : preferred);
}

}  // namespace

std::string buildFormula(const ExceptionDefinition& definition, Severity severity) {
  std::string formula = "*IF ";
  const bool zr5 = isZr5(definition);
  if (zr5 && !definition.extraPredicate().empty()) {
    formula += definition.extraPredicate();
    formula += " *AND ";
  }
  if (severity == Severity::kWarning) {
    appendWarningComparisons(formula, definition);
  } else {
    const Condition& critical = definition.condition(Severity::kCritical);
    appendComparison(formula, definition, critical.comparison, critical.value);
  }
  // In the general form the extra predicate ends the formula and must carry
  // its own connective.
  if (!zr5 && !definition.extraPredicate().empty()) {
    formula += ' ';
    formula += definition.extraPredicate();
  }
  return formula;
}

}  // namespace tornvel
