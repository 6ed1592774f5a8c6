#include "statements/update_statements.h"

#include "statements/quoted_text.h"
#include "statements/service_class_statements.h"

namespace tornvel {

namespace {

// The system-monitoring product writes its formulas in a form of its own: the
// extra predicate comes first, and a 'B' warning compares with its on-value.
bool isZr5(const ExceptionDefinition& definition) {
  return definition.productId == Product::kSystem;
}

// " *AND *VALUE attribute upper-operator bound", left out without a bound.
void appendUpperClause(std::string& out, const ExceptionDefinition& definition,
                       const std::string& bound) {
  if (bound.empty()) return;
  out += " *AND *VALUE ";
  out += definition.attribute;
  out += ' ';
  out += definition.warningUpperOperator;
  out += ' ';
  out += bound;
}

// "*IF " and, in the ZR5 form, the extra predicate joined by " *AND ".
void appendFormulaStart(std::string& out, const ExceptionDefinition& definition) {
  out += "*IF ";
  if (isZr5(definition) && !definition.extraPredicate.empty()) {
    out += definition.extraPredicate;
    out += " *AND ";
  }
}

// In the general form the extra predicate ends the formula and must carry its
// own connective.
void appendFormulaEnd(std::string& out, const ExceptionDefinition& definition) {
  if (!isZr5(definition) && !definition.extraPredicate.empty()) {
    out += ' ';
    out += definition.extraPredicate;
  }
}

void appendComparison(std::string& out, const ExceptionDefinition& definition,
                      const std::string& op, const std::string& value) {
  out += "*VALUE ";
  out += definition.attribute;
  out += ' ';
  out += op;
  out += ' ';
  out += value;
}

// A 'B' warning is one comparison; any other type tests the band from the
// warning value up to an upper bound. The two forms prefer opposite upper
// bounds: the general form the control file's upper value, the ZR5 form the
// critical value.
void appendWarningFormula(std::string& out, const ExceptionDefinition& definition) {
  appendFormulaStart(out, definition);
  if (definition.valueType == 'B') {
    // The ZR5 form compares with the on-value; without one it falls back to
    // the stored warning value rather than leave the comparison unfinished.
    const std::string& value = isZr5(definition) && !definition.warningOnValue.empty()
                                   ? definition.warningOnValue
                                   : definition.warningValue;
    appendComparison(out, definition, definition.warningOperator, value);
  } else {
    appendComparison(out, definition, definition.warningOperator, definition.warningValue);
    const std::string& preferred =
        isZr5(definition) ? definition.criticalValue : definition.warningUpperValue;
    const std::string& fallback =
        isZr5(definition) ? definition.warningUpperValue : definition.criticalValue;
    appendUpperClause(out, definition, preferred.empty() ? fallback : preferred);
  }
  appendFormulaEnd(out, definition);
}

void appendCriticalFormula(std::string& out, const ExceptionDefinition& definition) {
  appendFormulaStart(out, definition);
  appendComparison(out, definition, definition.criticalOperator, definition.criticalValue);
  appendFormulaEnd(out, definition);
}

template <typename AppendFormula>
void buildUpdate(std::string& output, const ExceptionDefinition& definition,
                 std::string_view timestamp, const std::string& situation,
                 AppendFormula appendFormula) {
  output.assign("UPDATE VORDA.TSITDESC SET LSTDATE = \"");
  appendQuoted(output, timestamp);
  output += "\", PDT = \"";
  const std::size_t formula = output.size();
  appendFormula(output, definition);
  quoteFrom(output, formula);
  output += "\" WHERE SITNAME = \"";
  appendQuoted(output, situation);
  output += "\";\n";
}

}  // namespace

BuildResult buildStatement(const ExceptionDefinition& definition, Severity severity,
                           std::string& output, std::string_view timestamp, int kind,
                           std::string_view head) {
  output.clear();
  const bool warning = severity == Severity::kWarning;
  if (!(warning ? definition.warningEnabled : definition.criticalEnabled)) {
    return BuildResult::kDisabled;
  }
  if (isServiceClass(definition)) {
    return buildServiceClassStatement(definition, severity, output, timestamp, kind, head);
  }
  if ((warning ? definition.warningValue : definition.criticalValue).empty()) {
    return BuildResult::kDisabled;
  }
  buildUpdate(output, definition, timestamp, situationName(definition, severity),
              warning ? appendWarningFormula : appendCriticalFormula);
  return BuildResult::kWritten;
}

BuildResult buildWarningStatement(const ExceptionDefinition& definition, std::string& output,
                                  std::string_view timestamp, int kind, std::string_view head) {
  return buildStatement(definition, Severity::kWarning, output, timestamp, kind, head);
}

BuildResult buildCriticalStatement(const ExceptionDefinition& definition, std::string& output,
                                   std::string_view timestamp, int kind, std::string_view head) {
  return buildStatement(definition, Severity::kCritical, output, timestamp, kind, head);
}

}  // namespace tornvel
