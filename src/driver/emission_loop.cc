#include "driver/emission_loop.h"

#include <string_view>

#include "driver/diagnostics.h"
#include "driver/reports.h"

namespace tornvel {

EmissionLoop::EmissionLoop(const RunOptions& options, const std::string& controlName,
                           Console& console)
    : options_(options), controlName_(controlName), console_(console) {}

namespace {
constexpr std::string_view kStatementFile = "the statement file";
constexpr std::string_view kTemplateSeedFile = "the template seed file";

}  // namespace

bool EmissionLoop::openStatementFile() {
  return openOutput(statementFile_, kStatementFile, options_.statementName);
}

// An output that is one of the run's inputs is refused before anything is
// written, so that a name typed one slot early cannot destroy the input. A dry
// run makes the checks that need no writing, with the same messages.
bool EmissionLoop::openOutput(OutputFile& file, std::string_view role, const std::string& name) {
  const std::string input = inputNamedBy(options_, controlName_, name);
  if (!input.empty()) {
    reportOutputIsInput(console_, role, name, input);
    return false;
  }
  const Outcome opened = options_.dryRun ? file.check(name) : file.open(name);
  if (!opened) reportOutputOpenFailure(console_, role, name, opened.failure());
  return static_cast<bool>(opened);
}

bool EmissionLoop::run(const Emission& emission) {
  if (!printRowsAndOpen(emission)) return false;
  statementFile_.write(emission.statements);
  templateSeedFile_.write(emission.templateRows);
  statements_ = emission.counts.statements;
  rows_ = emission.counts.templateRows;
  return true;
}

// The rows go out in table order; the template seed file opens where the
// first service class's row stands, so a run whose template seed file does
// not open shows the rows up to and including that definition's.
bool EmissionLoop::printRowsAndOpen(const Emission& emission) {
  const std::size_t opensAt = emission.firstServiceClass.value_or(emission.migratedRows.size());
  for (std::size_t i = 0; i < emission.migratedRows.size(); ++i) {
    if (options_.verbose) {
      if (i == 0) printMigratedHeader(console_);
      console_.print(emission.migratedRows[i]);
    }
    if (i == opensAt &&
        !openOutput(templateSeedFile_, kTemplateSeedFile, options_.templateSeedName)) {
      return false;
    }
  }
  return true;
}

// A file that was never opened finishes and commits as a success.
bool EmissionLoop::finishFiles() {
  return reported(statementFile_.finish(), kStatementFile, options_.statementName) &&
         reported(templateSeedFile_.finish(), kTemplateSeedFile, options_.templateSeedName);
}

// Both files take their names, or neither: when the template seed file cannot
// take its name, the earlier statement file is put back.
bool EmissionLoop::commitFiles() {
  failedCommit_ = commitTogether({statementFile_.replaced(), templateSeedFile_.replaced()});
  for (const OutputFile* file : {&statementFile_, &templateSeedFile_}) {
    const ReplacedFile* replaced = file->replaced();
    if (replaced != nullptr && !replaced->leftBehind().empty()) {
      diagnoseLeftBehind(console_, replaced->leftBehind());
    }
  }
  return !failedCommit_;
}

namespace {

// What a replaced output could not put back, and the name it was to take;
// nothing for an output that takes no name.
const Leftover& leftoverOf(const OutputFile& file) {
  static const Leftover kNone;
  return file.replaced() != nullptr ? file.replaced()->leftover() : kNone;
}
std::string targetOf(const OutputFile& file) {
  return file.replaced() != nullptr ? file.replaced()->target() : std::string();
}

}  // namespace

void EmissionLoop::reportCommitFailure(bool restKept) {
  if (!failedCommit_) return;
  const bool statementFailed = failedCommit_->index == 0;
  const std::string& name = statementFailed ? options_.statementName : options_.templateSeedName;
  const std::string_view role = statementFailed ? kStatementFile : kTemplateSeedFile;
  const bool kept =
      restKept && !leftoverOf(statementFile_).any() && !leftoverOf(templateSeedFile_).any();
  console_.print("Unable to write file " + name + "\n");
  diagnoseWriteFailure(console_, role, name, failedCommit_->failure, kept);
  diagnoseLeftover(console_, kStatementFile, options_.statementName, leftoverOf(statementFile_),
                   targetOf(statementFile_));
  diagnoseLeftover(console_, kTemplateSeedFile, options_.templateSeedName,
                   leftoverOf(templateSeedFile_), targetOf(templateSeedFile_));
}

void EmissionLoop::planOutputs(DryRunPlan& plan) const {
  plan.replaced.push_back(
      {options_.statementName, statements_, "statement", statementFile_.writesInPlace()});
  if (templateSeedFile_.isOpen()) {
    plan.replaced.push_back(
        {options_.templateSeedName, rows_, "template row", templateSeedFile_.writesInPlace()});
  }
}

bool EmissionLoop::reported(const Outcome& written, std::string_view role,
                            const std::string& name) {
  if (written) return true;
  console_.print("Unable to write file " + name + "\n");
  diagnoseWriteFailure(console_, role, name, written.failure());
  return false;
}

}  // namespace tornvel
