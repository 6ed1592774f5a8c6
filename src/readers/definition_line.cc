#include "readers/definition_line.h"

#include <array>

#include "platform/text.h"

namespace tornvel {

namespace {

constexpr Delimiters kFieldSeparators(", \n");
// The extra predicate and the append-zeros count are formula text.
constexpr Delimiters kFormulaSeparators(",\n");

// The optional fields in the order the line gives them, and whether "~" marks
// each absent.
struct OptionalField {
  OptionalText DefinitionLine::*text;
  bool formulaText;
  bool tildeIsAbsent;
};
constexpr std::array<OptionalField, 11> kOptionalFields{{
    {&DefinitionLine::typeText, false, false},
    {&DefinitionLine::warningSituation, false, true},
    {&DefinitionLine::criticalSituation, false, true},
    {&DefinitionLine::criticalOperator, false, true},
    {&DefinitionLine::criticalOnValue, false, true},
    {&DefinitionLine::warningOperator, false, true},
    {&DefinitionLine::warningOnValue, false, true},
    {&DefinitionLine::upperOperator, false, true},
    {&DefinitionLine::upperValue, false, true},
    {&DefinitionLine::extraPredicate, true, true},
    {&DefinitionLine::appendZeros, true, true},
}};

}  // namespace

// A field is looked for only when the one before it was found ("~" counts as
// found, so the fields after it are still read). Once the line is used up no
// later field can be found, so the first one missing ends the line.
std::optional<DefinitionLine> parseDefinitionLine(std::string_view text) {
  Tokenizer tokens(text);
  const std::optional<std::string_view> name = tokens.next(kFieldSeparators);
  const std::optional<std::string_view> attribute = tokens.next(kFieldSeparators);
  if (!name || !attribute) return std::nullopt;
  DefinitionLine line;
  line.name = *name;
  line.attribute = *attribute;
  for (const OptionalField& field : kOptionalFields) {
    OptionalText& token = line.*field.text;
    token = tokens.next(field.formulaText ? kFormulaSeparators : kFieldSeparators);
    if (!token) break;
    if (field.tildeIsAbsent && startsWith(*token, "~")) token.reset();
  }
  return line;
}

}  // namespace tornvel
