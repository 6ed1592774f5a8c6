#include "statements/update_statements.h"

#include "statements/formula.h"
#include "statements/quoted_text.h"

namespace tornvel {

BuildResult situationStatus(const ExceptionDefinition& definition, Severity severity) {
  const Condition& condition = definition.condition(severity);
  if (!condition.enabled || condition.value.empty()) return BuildResult::kDisabled;
  return BuildResult::kWritten;
}

Built buildUpdate(const ExceptionDefinition& definition, Severity severity,
                  std::string_view timestamp) {
  Built built{situationStatus(definition, severity), {}};
  if (!built.written()) return built;
  std::string& output = built.text;
  output.assign("UPDATE VORDA.TSITDESC SET LSTDATE = \"");
  appendQuoted(output, timestamp);
  output += "\", PDT = \"";
  appendQuoted(output, buildFormula(definition, severity));
  output += "\" WHERE SITNAME = \"";
  appendQuoted(output, definition.condition(severity).situation);
  output += "\";\n";
  return built;
}

}  // namespace tornvel
