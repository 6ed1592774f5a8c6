#include "driver/emission_loop.h"

#include <string_view>
#include <utility>

#include "driver/diagnostics.h"
#include "statements/build_mode.h"
#include "statements/insert_heads.h"
#include "statements/service_class_statements.h"
#include "statements/statement_writer.h"
#include "statements/update_statements.h"

namespace tornvel {

EmissionLoop::EmissionLoop(const RunOptions& options, const std::string& controlName,
                           const std::string& affinities, Console& console,
                           const DefinitionTable& table, std::string timestamp)
    : options_(options),
      controlName_(controlName),
      affinities_(affinities),
      console_(console),
      table_(table),
      timestamp_(std::move(timestamp)) {}

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

bool EmissionLoop::run(ThresholdCsv* csvLines) {
  for (std::size_t i = 0; i < table_.size(); ++i) {
    const ExceptionDefinition& definition = table_.at(i);
    if (options_.verbose) {
      if (i == 0) printMigratedHeader(console_);
      writeReportLine(console_, definition);
    }
    if (csvLines != nullptr) csvLines->add(definition);
    if (isServiceClass(definition)) {
      if (!emitServiceClass(definition)) return false;
    } else {
      emitOrdinary(definition);
    }
  }
  return true;
}

// The warning statement, then the critical one; in build mode each becomes a
// DELETE, a $PARMS and an INSERT of the same formula. A builder that declines
// leaves out its whole group.
void EmissionLoop::emitOrdinary(const ExceptionDefinition& definition) {
  StatementWriter writer(statementFile_);
  for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
    if (options_.buildMode) {
      if (situationStatus(definition, severity) != BuildResult::kWritten) continue;
      writer.write(buildDelete(definition, severity));
      writer.write(buildParmsStatement(definition));
      writer.write(
          buildInsert(definition, severity, timestamp_, affinities_, kBuildModeInsertHead));
      statements_ += 3;
    } else if (Built update = buildUpdate(definition, severity, timestamp_); update.written()) {
      writer.write(update.text);
      ++statements_;
    }
  }
}

// Four warning situations and then four critical ones, each followed by its
// template row. The template seed file is opened at the first service class.
bool EmissionLoop::emitServiceClass(const ExceptionDefinition& definition) {
  if (!templateSeedFile_.isOpen() &&
      !openOutput(templateSeedFile_, kTemplateSeedFile, options_.templateSeedName)) {
    return false;
  }
  StatementWriter writer(statementFile_);
  for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
    for (ResourceKind kind : kResourceKinds) {
      const Built statement = buildServiceClassStatement(definition, severity, timestamp_, kind,
                                                         kServiceClassInsertHead);
      if (statement.written()) {
        writer.write(statement.text);
        ++statements_;
      }
      const Built row = buildTemplateRow(definition, severity, kind);
      if (row.written()) {
        templateSeedFile_.write(row.text);
        ++rows_;
      }
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
