#include "fuzz_support.h"

#include <sstream>

#include "driver/command_line.h"
#include "driver/reports.h"
#include "readers/control_loader.h"
#include "statements/build_mode.h"
#include "statements/insert_heads.h"
#include "statements/service_class_statements.h"
#include "statements/update_statements.h"

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
  ProfileContext context{profile, table, console, unhandled, synonyms, release, verbose, {}, {}};
  reader(context);

  constexpr std::string_view timestamp = "1261207084522000";
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ExceptionDefinition& definition = table.at(i);
    writeReportLine(console, definition);
    for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
      if (buildUpdate(definition, severity, timestamp).written()) {
        buildParmsStatement(definition);
        buildDelete(definition, severity);
        buildInsert(definition, severity, timestamp, affinities, kBuildModeInsertHead);
      }
      for (ResourceKind kind : kResourceKinds) {
        buildServiceClassStatement(definition, severity, timestamp, kind, kServiceClassInsertHead);
        buildTemplateRow(definition, severity, kind);
      }
    }
  }
}

}  // namespace tornvel::fuzz
