// Test helpers: the definitions that the statement tests build statements,
// rows and threshold lines from.
#ifndef TORNVEL_STATEMENTS_STATEMENT_TEST_SUPPORT_H_
#define TORNVEL_STATEMENTS_STATEMENT_TEST_SUPPORT_H_

#include <memory>
#include <string_view>

#include "definitions/exception_definition.h"

namespace tornvel {

// A database-product definition named `name` of type `type`, on the column
// TABLE.COLUMN, with no value yet.
inline ExceptionDefinition typedDefinition(std::string_view name, std::string_view type) {
  DefinitionInputs inputs;
  inputs.recordedCode = "ZT5";
  inputs.release = "V100";
  inputs.name = name;
  inputs.attribute = "TABLE.COLUMN";
  inputs.typeText = type;
  return ExceptionDefinition(inputs);
}

// LOCKWAIT on DBLOCKS.WAITTIME with the default operators and its situations
// named, given `warning` and `critical` as a profile gives them; an empty
// text gives no value.
inline std::unique_ptr<ExceptionDefinition> lockWait(std::string_view warning,
                                                     std::string_view critical) {
  DefinitionInputs in;
  in.recordedCode = "ZTQ";
  in.release = "V100";
  in.name = "LOCKWAIT";
  in.attribute = "DBLOCKS.WAITTIME";
  in.warningSituation = "ZT5_LOCKWAIT_Warning";
  in.criticalSituation = "ZT5_LOCKWAIT_Critical";
  auto definition = std::make_unique<ExceptionDefinition>(in);
  if (!warning.empty()) definition->setWarningFromProfile(warning);
  if (!critical.empty()) definition->setCriticalFromProfile(critical);
  return definition;
}

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_STATEMENT_TEST_SUPPORT_H_
