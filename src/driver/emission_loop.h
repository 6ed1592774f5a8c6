// The statement file and the template seed file of a run: opened, given the
// run's emission (statements/emission.h) while the table of migrated
// exceptions is printed, finished and committed together.
#ifndef TORNVEL_DRIVER_EMISSION_LOOP_H_
#define TORNVEL_DRIVER_EMISSION_LOOP_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "driver/command_line.h"
#include "driver/diagnostics.h"
#include "platform/commit_together.h"
#include "platform/console.h"
#include "platform/failure.h"
#include "platform/output_file.h"
#include "statements/emission.h"

namespace tornvel {

class EmissionLoop {
 public:
  // `controlName` is the control file that opened.
  EmissionLoop(const RunOptions& options, const std::string& controlName, Console& console);

  // Opens the statement file, which replaces an earlier one only once it is
  // complete. On failure, or when the name is one of the run's inputs, prints
  // the message and returns false.
  bool openStatementFile();

  // In a verbose run prints the table of migrated exceptions; opens the
  // template seed file at the first service class, after that definition's
  // row; then writes the statements and the template rows. Returns false
  // after printing the message when the template seed file cannot be opened.
  bool run(const Emission& emission);

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

  const OutputFile& statementFile() const { return statementFile_; }
  const OutputFile& templateSeedFile() const { return templateSeedFile_; }

 private:
  bool printRowsAndOpen(const Emission& emission);
  bool openOutput(OutputFile& file, std::string_view role, const std::string& name);
  // Prints the message and the diagnostic when `written` failed; true when it
  // did not.
  bool reported(const Outcome& written, std::string_view role, const std::string& name);

  const RunOptions& options_;
  const std::string& controlName_;
  Console& console_;
  OutputFile statementFile_;
  OutputFile templateSeedFile_;
  std::optional<CommitFailure> failedCommit_;  // the file that could not take its name: 0 or 1
  std::size_t statements_ = 0;                 // written to the statement file
  std::size_t rows_ = 0;                       // written to the template seed file
};

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_EMISSION_LOOP_H_
