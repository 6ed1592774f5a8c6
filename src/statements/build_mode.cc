#include "statements/build_mode.h"

#include <cstddef>
#include <utility>

#include "platform/text.h"
#include "statements/quoted_text.h"

namespace tornvel {

namespace {

// The INSERT keeps at most 19 characters of the timestamp in LSTDATE and 59 of
// the affinity string in AFFINITIES (capacities in bytes, terminator included).
constexpr std::size_t kLastDateCapacity = 20;
constexpr std::size_t kAffinitiesCapacity = 60;

// The formula of an update statement as it stands there, quotes doubled: from
// the first "*IF" after "PDT = " up to the quote that closes it. A doubled
// quote belongs to the formula, so no text inside the formula or after it can
// cut the INSERT short. A text that is not an update statement gives an empty
// formula, or the rest of the text without its line ends when no quote closes
// the formula.
std::string_view formulaOf(std::string_view update) {
  std::size_t pdt = update.find("PDT = ");
  if (pdt == std::string_view::npos) return {};
  std::size_t start = update.find("*IF", pdt);
  if (start == std::string_view::npos) return {};
  std::string_view formula = update.substr(start);
  std::size_t end = quotedLength(formula);
  if (end < formula.size()) return formula.substr(0, end);
  while (!formula.empty() && formula.back() == '\n') formula.remove_suffix(1);
  return formula;
}

}  // namespace

void buildDelete(const ExceptionDefinition& definition, Severity severity, std::string& output) {
  output.assign("DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"");
  appendQuoted(output, situationName(definition, severity));
  output += "\";";
}

void buildWarningDelete(const ExceptionDefinition& definition, std::string& output) {
  buildDelete(definition, Severity::kWarning, output);
}

void buildCriticalDelete(const ExceptionDefinition& definition, std::string& output) {
  buildDelete(definition, Severity::kCritical, output);
}

void buildParmsStatement(const ExceptionDefinition& definition, std::string& output) {
  output.assign("$PARMS(\"");
  if (definition.parmsText) output += *definition.parmsText;
  output += "\");";
}

void buildInsert(const ExceptionDefinition& definition, Severity severity, std::string& statement,
                 std::string& scratch, std::string_view timestamp, std::string_view affinities,
                 std::string_view head) {
  const std::string& situation = situationName(definition, severity);
  scratch = statement;
  // Assembled apart, so that `statement` may be the scratch text itself.
  std::string insert(head);
  appendQuoted(insert,
               definition.situationText ? std::string_view(*definition.situationText) : situation);
  insert += "\",\"";
  appendQuoted(insert, cutToCapacity(timestamp, kLastDateCapacity));
  insert += "\",\"";
  appendQuoted(insert, cutToCapacity(affinities, kAffinitiesCapacity));
  insert += "\",\"";
  appendQuoted(insert, situation);
  insert += "\",\"";
  // Taken as the update wrote it: its quotes are doubled already.
  insert += formulaOf(scratch);
  insert += "\");";
  statement = std::move(insert);
}

void buildWarningInsert(const ExceptionDefinition& definition, std::string& statement,
                        std::string& scratch, std::string_view timestamp,
                        std::string_view affinities, std::string_view head) {
  buildInsert(definition, Severity::kWarning, statement, scratch, timestamp, affinities, head);
}

void buildCriticalInsert(const ExceptionDefinition& definition, std::string& statement,
                         std::string& scratch, std::string_view timestamp,
                         std::string_view affinities, std::string_view head) {
  buildInsert(definition, Severity::kCritical, statement, scratch, timestamp, affinities, head);
}

}  // namespace tornvel
