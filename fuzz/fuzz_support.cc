#include "fuzz_support.h"

#include <sstream>
#include <utility>

#include "driver/command_line.h"
#include "readers/control_loader.h"
#include "statements/emission.h"
#include "statements/statement_writer.h"

namespace tornvel::fuzz {

// Names the four profile formats use, every type and field form, directives and
// synonym groups, so that fuzzed profiles reach matching definitions.
const char kControlText[] =
    "* control file for fuzzing\n"
    ":RELEASE V100\n"
    "ABC1,TAB.COL,I\n"
    "ABC2,TAB.COL2,I2,~,~,*GE,~,*GE,~,*LT,500,*AND *VALUE TAB.X *EQ Y,2\n"
    "ABC3,TAB.COL3,B,SIT_W,SIT_C,*EQ,YES,*EQ,Y\n"
    "ABC4,TAB.COL4,F1,~,~,*GT,~,None\n"
    "ABC5 TAB.COL5 F ~ ~ ~ ~ ~ ~ ~ ~ ~ 3\n"
    "GRP TAB.GRP I\n"
    "LOW TAB.LOW X9\n"
    "ABC1,TAB.DUP,I\n"
    ":SYNONYM H GRP,ABC1,ABC6\n"
    ":SYNONYM L LOW;ABC7;ABC8\n"
    ":SYNONYM X BAD\n"
    ":AFFINITY ###,000\n";

namespace {

// What holds for every emission, whatever the inputs: a row per definition,
// every line of the statement text within the line width, and no statement
// where the profile gave no threshold.
void checkEmission(const Emission& emission, std::size_t definitions) {
  bool holds = emission.migratedRows.size() == definitions;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < emission.statements.size(); ++i) {
    if (emission.statements[i] != '\n') continue;
    holds = holds && i - lineStart <= kStatementLineWidth;
    lineStart = i + 1;
  }
  holds = holds && lineStart == emission.statements.size();
  holds =
      holds && (emission.counts.definitionsGivenThreshold > 0 || emission.counts.statements == 0);
  if (emission.counts.templateRows > 0) holds = holds && emission.firstServiceClass.has_value();
  if (!holds) __builtin_trap();
}

}  // namespace

void migrateInMemory(std::string_view productCode, const std::string& controlText,
                     const std::string& profileText, void (*reader)(ProfileContext&),
                     bool verbose) {
  std::ostringstream out;
  Console console(out);
  LineReader control;
  control.openText(controlText);
  LoadedControl loaded = loadControlFile(
      control, {productCodesFor(productCode).product, std::string(productCode), verbose, false},
      console);
  DefinitionTable& table = loaded.table;
  SynonymList& synonyms = loaded.synonyms;
  const std::string& release = loaded.release;
  const std::string& affinities = loaded.affinities;

  LineReader profile;
  profile.openText(profileText);
  UnhandledList unhandled;
  NearMissIndex reachable;
  reachable.addDefinitions(table);
  reachable.addSynonymMembers(synonyms);
  ProfileContext context{profile, table,   console, unhandled, synonyms,
                         release, verbose, {},      {},        std::move(reachable),
                         true};
  reader(context);

  // The run's own emission, once in each mode, with the threshold lines.
  for (bool buildMode : {false, true}) {
    EmissionSettings settings;
    settings.buildMode = buildMode;
    settings.timestamp = "1261207084522000";
    settings.affinities = affinities;
    settings.thresholdLines = true;
    settings.thresholdHeader = buildMode;
    settings.fileCode = productCode;
    settings.inputName = "PROFILE.TXT";
    const Emission emission = emit(table, settings);
    for (const std::string& row : emission.migratedRows) console.print(row);
    checkEmission(emission, table.size());
  }
}

}  // namespace tornvel::fuzz
