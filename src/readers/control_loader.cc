#include "readers/control_loader.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "definitions/exception_definition.h"
#include "platform/text.h"
#include "readers/definition_line.h"

namespace tornvel {

namespace {

// The directive word is split off like a definition line's first field.
constexpr Delimiters kFieldSeparators(", \n");
// A directive's value may hold commas (an affinity string does).
constexpr Delimiters kValueSeparators(" \n");

// The group text starts right after the eight characters of ":SYNONYM", counted
// from the start of the line, wherever the directive word really stands.
constexpr std::size_t kSynonymTextOffset = 8;

constexpr std::string_view kSupportedHeader =
    "\nSupported exceptions for product:\n\nException\tAttribute\n";

enum class LineOutcome { kNextLine, kStop };

// One load under way: the settings, what has been loaded so far, the console
// for the loader's own rows, and the line being loaded.
struct ControlLoader {
  const ControlSettings& settings;
  LoadedControl& loaded;
  Console& console;
  std::size_t line = 0;
  bool headerPending = true;  // the table's header comes before its first row
};

// The optional fields that a definition keeps cut, in the line's order: what
// each is, how many characters of it the definition keeps, and whether it
// belongs to the warning condition.
struct FieldLimit {
  OptionalText DefinitionLine::*text;
  std::string_view what;
  std::size_t kept;
  bool warningCondition;
};
constexpr std::array<FieldLimit, 9> kFieldLimits{{
    {&DefinitionLine::warningSituation, "warning situation name", field::kSituation - 1, false},
    {&DefinitionLine::criticalSituation, "critical situation name", field::kSituation - 1, false},
    {&DefinitionLine::criticalOperator, "critical operator", field::kOperator - 1, false},
    {&DefinitionLine::criticalOnValue, "critical on-value", field::kValue - 1, false},
    {&DefinitionLine::warningOperator, "warning operator", field::kOperator - 1, true},
    {&DefinitionLine::warningOnValue, "warning on-value", field::kValue - 1, true},
    {&DefinitionLine::upperOperator, "upper operator", field::kOperator - 1, true},
    {&DefinitionLine::upperValue, "upper value", field::kValue - 1, true},
    {&DefinitionLine::extraPredicate, "extra predicate", field::kExtraPredicate - 1, false},
}};

// Notes a text that is longer than the run keeps it.
void noteCut(ControlLoader& loader, std::string_view what, std::string_view text, std::size_t kept,
             bool buildModeOnly = false) {
  if (kept > 0 && text.size() > kept) {
    loader.loaded.cutFields.push_back({loader.line, what, std::string(text), kept, buildModeOnly});
  }
}

// The warning condition's fields are passed over when no warning is wanted:
// with -nw, or when the warning operator is "None", a word of its own.
void noteCutFields(ControlLoader& loader, const DefinitionLine& line) {
  const bool noWarning =
      loader.settings.noWarnings || (line.warningOperator && *line.warningOperator == "None");
  noteCut(loader, "exception name", line.name, field::kName - 1);
  noteCut(loader, "attribute", line.attribute, field::kAttribute - 1);
  for (const FieldLimit& limit : kFieldLimits) {
    const OptionalText& text = line.*limit.text;
    if (!text || (noWarning && limit.warningCondition)) continue;
    noteCut(loader, limit.what, *text, limit.kept);
  }
}

void printSupportedRow(ControlLoader& loader, const DefinitionLine& line) {
  if (std::exchange(loader.headerPending, false)) loader.console.print(kSupportedHeader);
  std::string row(line.name);
  row += "      \t";
  row += line.attribute;
  row += '\n';
  loader.console.print(row);
}

// Creates the definition and configures it in the record's own order: critical
// condition, warning condition, extra predicate, append-zeros count.
void addDefinition(ControlLoader& loader, const DefinitionLine& line) {
  DefinitionInputs inputs;
  inputs.product = loader.settings.product;
  inputs.recordedCode = loader.settings.recordedCode;
  inputs.release = loader.loaded.release;
  inputs.name = line.name;
  inputs.attribute = line.attribute;
  inputs.typeText = line.typeText;
  inputs.warningSituation = line.warningSituation;
  inputs.criticalSituation = line.criticalSituation;
  ExceptionDefinition* definition =
      loader.loaded.table.append(std::make_unique<ExceptionDefinition>(inputs));
  if (definition == nullptr) return;  // the caller checked the limit first

  if (line.criticalOperator) {
    definition->setCriticalCondition(*line.criticalOperator, line.criticalOnValue);
  }
  if (loader.settings.noWarnings) {
    // No warning situation is wanted, whatever the line says.
    definition->setWarningCondition("None", std::nullopt, std::nullopt, std::nullopt);
  } else if (line.warningOperator) {
    definition->setWarningCondition(*line.warningOperator, line.warningOnValue, line.upperOperator,
                                    line.upperValue);
  }
  if (line.extraPredicate) definition->setExtraPredicate(*line.extraPredicate);
  if (line.appendZeros) definition->setAppendZeros(*line.appendZeros);
}

LineOutcome loadDefinitionLine(ControlLoader& loader, std::string_view text) {
  const std::optional<DefinitionLine> line = parseDefinitionLine(text);
  if (!line) return LineOutcome::kNextLine;  // a lone word defines nothing
  if (loader.loaded.table.full()) {
    printLimitWarning(loader.console);
    return LineOutcome::kStop;
  }
  if (loader.settings.verbose) printSupportedRow(loader, *line);
  noteCutFields(loader, *line);
  if (loader.settings.product == Product::kSystem && line->name == kServiceClassName) {
    loader.loaded.reservedNameLines.push_back(loader.line);
  }
  addDefinition(loader, *line);
  return LineOutcome::kNextLine;
}

// A group that does not parse is reported in every run, quoting the directive
// text as far as the parse left it, and is dropped.
void loadSynonymGroup(ControlLoader& loader, std::string_view line) {
  std::string text(line.size() > kSynonymTextOffset ? line.substr(kSynonymTextOffset)
                                                    : std::string_view{});
  auto group = std::make_unique<SynonymGroup>();
  const SynonymParse result = group->initFromText(text);
  if (result == SynonymParse::kParsed) {
    loader.loaded.synonyms.pushFront(std::move(group));
    return;
  }
  loader.console.print("Error " + std::to_string(static_cast<int>(result)) + " From Init for " +
                       text + "\n");
}

LineOutcome loadLine(ControlLoader& loader, std::string_view line) {
  Tokenizer tokens(line);
  std::optional<std::string_view> first = tokens.next(kFieldSeparators);
  if (!first || startsWith(*first, "*")) return LineOutcome::kNextLine;
  if (*first == ":RELEASE") {
    if (auto value = tokens.next(kValueSeparators)) {
      noteCut(loader, "release", *value, field::kRelease - 1);
      assignField(loader.loaded.release, *value, field::kRelease);
    }
    return LineOutcome::kNextLine;
  }
  if (*first == ":SYNONYM") {
    loadSynonymGroup(loader, line);
    return LineOutcome::kNextLine;
  }
  if (*first == ":AFFINITY") {
    if (auto value = tokens.next(kValueSeparators)) {
      noteCut(loader, "affinity string", *value, kSituationAffinitiesCapacity - 1, true);
      assignField(loader.loaded.affinities, *value, kRunAffinitiesCapacity);
    }
    return LineOutcome::kNextLine;
  }
  return loadDefinitionLine(loader, line);
}

}  // namespace

LoadedControl loadControlFile(LineReader& control, const ControlSettings& settings,
                              Console& console) {
  LoadedControl loaded;
  ControlLoader loader{settings, loaded, console};
  std::string line;
  while (control.readLine(line)) {
    loader.line = control.lineNumber();
    if (loadLine(loader, line) == LineOutcome::kStop) break;
  }
  return loaded;
}

}  // namespace tornvel
