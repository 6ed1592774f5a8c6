#include "statements/build_mode.h"

#include <cstddef>

#include "definitions/release_and_affinities.h"
#include "platform/text.h"
#include "statements/formula.h"
#include "statements/quoted_text.h"

namespace tornvel {

namespace {

// The INSERT keeps at most 19 characters of the timestamp in LSTDATE and 59 of
// the affinity string in AFFINITIES (capacities in bytes, terminator included).
constexpr std::size_t kLastDateCapacity = 20;

}  // namespace

std::string buildDelete(const ExceptionDefinition& definition, Severity severity) {
  std::string statement = "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"";
  appendQuoted(statement, definition.condition(severity).situation);
  statement += "\";";
  return statement;
}

std::string buildParmsStatement(const ExceptionDefinition& definition) {
  std::string statement = "$PARMS(\"";
  if (definition.buildModeExtras()) statement += definition.buildModeExtras()->parmsText;
  statement += "\");";
  return statement;
}

std::string buildInsert(const ExceptionDefinition& definition, Severity severity,
                        std::string_view timestamp, std::string_view affinities,
                        std::string_view head) {
  const std::string& situation = definition.condition(severity).situation;
  std::string insert(head);
  appendQuoted(insert, definition.buildModeExtras()
                           ? std::string_view(definition.buildModeExtras()->situationText)
                           : std::string_view(situation));
  insert += "\",\"";
  appendQuoted(insert, cutToCapacity(timestamp, kLastDateCapacity));
  insert += "\",\"";
  appendQuoted(insert, cutToCapacity(affinities, kSituationAffinitiesCapacity));
  insert += "\",\"";
  appendQuoted(insert, situation);
  insert += "\",\"";
  appendQuoted(insert, buildFormula(definition, severity));
  insert += "\");";
  return insert;
}

}  // namespace tornvel
