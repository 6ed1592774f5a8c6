#include "statements/update_statements.h"

#include "statements/formula.h"
#include "statements/quoted_text.h"
#include "statements/service_class_statements.h"

namespace tornvel {

BuildResult situationStatus(const ExceptionDefinition& definition, Severity severity) {
  const Condition& condition = definition.condition(severity);
  if (!condition.enabled || condition.value.empty()) return BuildResult::kDisabled;
  return BuildResult::kWritten;
}

BuildResult buildStatement(const ExceptionDefinition& definition, Severity severity,
                           std::string& output, std::string_view timestamp, int kind,
                           std::string_view head) {
  output.clear();
  const Condition& condition = definition.condition(severity);
  if (!condition.enabled) return BuildResult::kDisabled;
  if (isServiceClass(definition)) {
    return buildServiceClassStatement(definition, severity, output, timestamp, kind, head);
  }
  const BuildResult status = situationStatus(definition, severity);
  if (status != BuildResult::kWritten) return status;
  output.assign("UPDATE VORDA.TSITDESC SET LSTDATE = \"");
  appendQuoted(output, timestamp);
  output += "\", PDT = \"";
  appendQuoted(output, buildFormula(definition, severity));
  output += "\" WHERE SITNAME = \"";
  appendQuoted(output, condition.situation);
  output += "\";\n";
  return BuildResult::kWritten;
}

}  // namespace tornvel
