#include "statements/build_mode.h"

#include <cstddef>
#include <utility>

namespace tornvel {

namespace {

constexpr std::string_view kFormulaEnd = "\" WHERE SITNAME =";

void buildDelete(std::string_view situation, std::string& output) {
  output.assign("DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"");
  output += situation;
  output += "\";";
}

// The formula of an update statement: from the first "*IF" after "PDT = " up
// to the quote that closes it. The end is searched within the formula alone,
// so that a situation text carrying the same words cannot cut the INSERT
// short. A text that is not an update statement gives an empty formula, or
// the rest of the text without its line ends when the closing quote is
// missing.
std::string_view formulaOf(std::string_view update) {
  std::size_t pdt = update.find("PDT = ");
  if (pdt == std::string_view::npos) return {};
  std::size_t start = update.find("*IF", pdt);
  if (start == std::string_view::npos) return {};
  std::string_view formula = update.substr(start);
  std::size_t end = formula.find(kFormulaEnd);
  if (end != std::string_view::npos) return formula.substr(0, end);
  while (!formula.empty() && formula.back() == '\n') formula.remove_suffix(1);
  return formula;
}

void buildInsert(const ExceptionDefinition& definition, std::string_view situation,
                 std::string& statement, std::string& scratch, std::string_view head) {
  scratch = statement;
  // Assembled apart, so that `statement` may be the scratch text itself.
  std::string insert(head);
  insert += definition.situationText ? std::string_view(*definition.situationText) : situation;
  insert += "\",\"";
  insert += definition.lastDate;
  insert += "\",\"";
  insert += definition.affinities;
  insert += "\",\"";
  insert += situation;
  insert += "\",\"";
  insert += formulaOf(scratch);
  insert += "\");";
  statement = std::move(insert);
}

}  // namespace

void buildWarningDelete(const ExceptionDefinition& definition, std::string& output) {
  buildDelete(definition.warningSituation, output);
}

void buildCriticalDelete(const ExceptionDefinition& definition, std::string& output) {
  buildDelete(definition.criticalSituation, output);
}

void buildParmsStatement(const ExceptionDefinition& definition, std::string& output) {
  output.assign("$PARMS(\"");
  if (definition.parmsText) output += *definition.parmsText;
  output += "\");";
}

void buildWarningInsert(const ExceptionDefinition& definition, std::string& statement,
                        std::string& scratch, std::string_view head) {
  buildInsert(definition, definition.warningSituation, statement, scratch, head);
}

void buildCriticalInsert(const ExceptionDefinition& definition, std::string& statement,
                         std::string& scratch, std::string_view head) {
  buildInsert(definition, definition.criticalSituation, statement, scratch, head);
}

}  // namespace tornvel
