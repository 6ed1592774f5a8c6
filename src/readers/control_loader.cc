#include "readers/control_loader.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "definitions/exception_definition.h"
#include "platform/text.h"

namespace tornvel {

namespace {

// Fields of a definition line and the directive word are split here.
constexpr Delimiters kFieldSeparators(", \n");
// A directive's value may hold commas (an affinity string does).
constexpr Delimiters kValueSeparators(" \n");
// The extra predicate and the append-zeros count are formula text and may hold
// blanks.
constexpr Delimiters kFormulaSeparators(",\n");

// The group text starts right after the eight characters of ":SYNONYM", counted
// from the start of the line, wherever the directive word really stands.
constexpr std::size_t kSynonymTextOffset = 8;

constexpr int kLastField = 13;
constexpr int kFirstFormulaField = 12;

constexpr std::string_view kSupportedHeader =
    "\nSupported exceptions for product:\n\nException\tAttribute\n";

// The tokens of a definition line, indexed by field number (1 to 13); a field
// the line does not give, or gives as "~", is absent.
using DefinitionFields = std::array<OptionalText, kLastField + 1>;

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

// What each field of a definition line is, and how many characters of it the
// definition keeps (0: not cut).
struct FieldLimit {
  std::string_view what;
  std::size_t kept;
};
constexpr std::array<FieldLimit, kLastField + 1> kFieldLimits{{
    {"", 0},
    {"exception name", field::kName - 1},
    {"attribute", field::kAttribute - 1},
    {"type", 0},
    {"warning situation name", field::kSituation - 1},
    {"critical situation name", field::kSituation - 1},
    {"critical operator", field::kOperator - 1},
    {"critical on-value", field::kValue - 1},
    {"warning operator", field::kOperator - 1},
    {"warning on-value", field::kValue - 1},
    {"upper operator", field::kOperator - 1},
    {"upper value", field::kValue - 1},
    {"extra predicate", field::kExtraPredicate - 1},
    {"append-zeros count", 0},
}};

// Notes a text that is longer than the run keeps it.
void noteCut(ControlLoader& loader, std::string_view what, std::string_view text, std::size_t kept,
             bool buildModeOnly = false) {
  if (kept > 0 && text.size() > kept) {
    loader.loaded.cutFields.push_back({loader.line, what, std::string(text), kept, buildModeOnly});
  }
}

// The warning fields are passed over when no warning is wanted: with -nw, or
// when the warning operator is "None", a word of its own.
void noteCutFields(ControlLoader& loader, const DefinitionFields& fields) {
  const bool noWarning = loader.settings.noWarnings || (fields[8] && *fields[8] == "None");
  for (int n = 1; n <= kLastField; ++n) {
    if (!fields[n] || (noWarning && n >= 8 && n <= 11)) continue;
    noteCut(loader, kFieldLimits[n].what, *fields[n], kFieldLimits[n].kept);
  }
}

// Fields 3 and 4 are always looked for; from the fifth on, a field is looked for
// only when the one before it was found ("~" counts as found). Only then does
// "~" mark fields 4 to 13 absent: the type text may be "~" itself.
DefinitionFields readDefinitionFields(Tokenizer& tokens, std::string_view name,
                                      std::string_view attribute) {
  DefinitionFields fields;
  fields[1] = name;
  fields[2] = attribute;
  for (int n = 3; n <= kLastField; ++n) {
    if (n >= 5 && !fields[n - 1]) break;
    fields[n] = tokens.next(n >= kFirstFormulaField ? kFormulaSeparators : kFieldSeparators);
  }
  for (int n = 4; n <= kLastField; ++n) {
    if (fields[n] && startsWith(*fields[n], "~")) fields[n].reset();
  }
  return fields;
}

void printSupportedRow(ControlLoader& loader, std::string_view name, std::string_view attribute) {
  if (std::exchange(loader.headerPending, false)) loader.console.print(kSupportedHeader);
  std::string row(name);
  row += "      \t";
  row += attribute;
  row += '\n';
  loader.console.print(row);
}

// Creates the definition and configures it in the record's own order: critical
// condition, warning condition, extra predicate, append-zeros count.
void addDefinition(ControlLoader& loader, const DefinitionFields& fields) {
  DefinitionInputs inputs;
  inputs.product = loader.settings.product;
  inputs.recordedCode = loader.settings.recordedCode;
  inputs.release = loader.loaded.release;
  inputs.name = *fields[1];
  inputs.attribute = *fields[2];
  inputs.typeText = fields[3];
  inputs.warningSituation = fields[4];
  inputs.criticalSituation = fields[5];
  ExceptionDefinition* definition =
      loader.loaded.table.append(std::make_unique<ExceptionDefinition>(inputs));
  if (definition == nullptr) return;  // the caller checked the limit first

  if (fields[6]) definition->setCriticalCondition(*fields[6], fields[7]);
  if (loader.settings.noWarnings) {
    // No warning situation is wanted, whatever the line says.
    definition->setWarningCondition("None", std::nullopt, std::nullopt, std::nullopt);
  } else if (fields[8]) {
    definition->setWarningCondition(*fields[8], fields[9], fields[10], fields[11]);
  }
  if (fields[12]) definition->setExtraPredicate(*fields[12]);
  if (fields[13]) definition->setAppendZeros(*fields[13]);
}

LineOutcome loadDefinitionLine(ControlLoader& loader, Tokenizer& tokens, std::string_view name) {
  std::optional<std::string_view> attribute = tokens.next(kFieldSeparators);
  if (!attribute) return LineOutcome::kNextLine;  // a lone word defines nothing
  DefinitionFields fields = readDefinitionFields(tokens, name, *attribute);
  if (loader.loaded.table.full()) {
    printLimitWarning(loader.console);
    return LineOutcome::kStop;
  }
  if (loader.settings.verbose) printSupportedRow(loader, name, *attribute);
  noteCutFields(loader, fields);
  if (loader.settings.product == Product::kSystem && name == kServiceClassName) {
    loader.loaded.reservedNameLines.push_back(loader.line);
  }
  addDefinition(loader, fields);
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
  return loadDefinitionLine(loader, tokens, *first);
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
