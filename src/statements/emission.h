// What a run writes, made from the loaded definitions with no file and no
// console: the statement file's text, the template seed file's rows, the
// threshold lines, the rows of the table of migrated exceptions and their
// counts. The run prints the rows and commits the texts; a run that writes
// nothing (--dry-run, --strict after a warning) makes the same emission.
#ifndef TORNVEL_STATEMENTS_EMISSION_H_
#define TORNVEL_STATEMENTS_EMISSION_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/definition_table.h"
#include "definitions/exception_definition.h"

namespace tornvel {

// What of the run decides the texts.
struct EmissionSettings {
  bool buildMode = false;
  std::string_view timestamp;    // the run timestamp, the same in every statement
  std::string_view affinities;   // the control file's affinity string, for build-mode inserts
  bool thresholdLines = false;   // -d or -dh: the threshold file's lines are made
  bool thresholdHeader = false;  // -dh: with the header line first
  std::string_view fileCode;     // begins the header line
  std::string_view inputName;    // the profile as typed: begins the two value lines
};

struct EmissionCounts {
  std::size_t statements = 0;
  std::size_t templateRows = 0;
  // Definitions the profile gave a warning or critical value, and every
  // service class (givesThreshold).
  std::size_t definitionsGivenThreshold = 0;
  std::size_t thresholdLines = 0;  // 0, or 2 and with the header 3
};

struct Emission {
  // Every statement in table order, cut into lines of 72 characters, "\n"
  // ending each line (statement_writer.h).
  std::string statements;
  // One template row a line, in the order of their service-class statements.
  std::string templateRows;
  // Where the first service-class definition stands in the table: the template
  // seed file is made there, whether or not any row follows. Empty for a run
  // without service classes, which makes no template seed file.
  std::optional<std::size_t> firstServiceClass;
  // The text the threshold file gets; empty without -d or -dh.
  std::string thresholdLines;
  // The row of each definition in the table of migrated exceptions, with its
  // line end, in table order.
  std::vector<std::string> migratedRows;
  EmissionCounts counts;
};

// Walks the table once, in order. For an ordinary definition the warning
// situation, then the critical one: an UPDATE each, or in build mode a DELETE,
// a $PARMS and an INSERT each; a situation that is disabled or has no
// threshold gets none. For a service class the four warning situations, then
// the four critical ones, each followed by its template row; build mode
// leaves them as they are.
Emission emit(const DefinitionTable& table, const EmissionSettings& settings);

// Whether the profile gave the definition a threshold: a warning or critical
// value, or, for a service class, its workload row.
bool givesThreshold(const ExceptionDefinition& definition);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_EMISSION_H_
