// The walk over the definition table that writes every statement, the table of
// migrated exceptions and the threshold lines.
#ifndef TORNVEL_DRIVER_EMISSION_LOOP_H_
#define TORNVEL_DRIVER_EMISSION_LOOP_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "definitions/definition_table.h"
#include "driver/command_line.h"
#include "driver/diagnostics.h"
#include "driver/reports.h"
#include "platform/commit_together.h"
#include "platform/console.h"
#include "platform/failure.h"
#include "platform/output_file.h"

namespace tornvel {

class EmissionLoop {
 public:
  // `controlName` is the control file that opened; `affinities` the string the
  // control file left for build-mode inserts.
  EmissionLoop(const RunOptions& options, const std::string& controlName,
               const std::string& affinities, Console& console, const DefinitionTable& table,
               std::string timestamp);

  // Opens the statement file, which replaces an earlier one only once it is
  // complete. On failure, or when the name is one of the run's inputs, prints
  // the message and returns false.
  bool openStatementFile();

  // Walks the table in order. `csvLines`, when given, grows by every
  // definition. Returns false after printing the message when the template
  // seed file cannot be opened.
  bool run(ThresholdCsv* csvLines);

  // Puts the statement file and the template seed file on the disk under
  // their temporary names; false after printing the message when anything
  // written did not reach its file.
  bool finishFiles();

  // Gives both files their names, replacing the earlier ones, or neither:
  // when the template seed file cannot take its name, the earlier statement
  // file is put back. Says on standard error where a hidden copy of an
  // earlier file could not be removed. False when a file could not take its
  // name; reportCommitFailure then tells it.
  bool commitFiles();
  // The message and diagnostics of a failed commitFiles; `restKept` when the
  // run's other outputs are as they were.
  void reportCommitFailure(bool restKept);

  // For a dry run: the files the run would replace, with what they would hold.
  void planOutputs(DryRunPlan& plan) const;

 private:
  void emitOrdinary(const ExceptionDefinition& definition);
  bool emitServiceClass(const ExceptionDefinition& definition);
  bool openOutput(OutputFile& file, std::string_view role, const std::string& name);
  // Prints the message and the diagnostic when `written` failed; true when it
  // did not.
  bool reported(const Outcome& written, std::string_view role, const std::string& name);

  const RunOptions& options_;
  const std::string& controlName_;
  const std::string& affinities_;
  Console& console_;
  const DefinitionTable& table_;
  std::string timestamp_;
  OutputFile statementFile_;
  OutputFile templateSeedFile_;
  std::optional<CommitFailure> failedCommit_;  // the file that could not take its name: 0 or 1
  std::size_t statements_ = 0;                 // written to the statement file
  std::size_t rows_ = 0;                       // written to the template seed file
};

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_EMISSION_LOOP_H_
