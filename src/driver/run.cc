#include "driver/run.h"

#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "definitions/definition_table.h"
#include "definitions/near_miss.h"
#include "definitions/synonym_group.h"
#include "driver/command_line.h"
#include "driver/diagnostics.h"
#include "driver/emission_loop.h"
#include "driver/exit_code.h"
#include "driver/summary.h"
#include "platform/append_whole.h"
#include "platform/appended_file.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/failure.h"
#include "platform/file_names.h"
#include "platform/file_writes.h"
#include "platform/host_files.h"
#include "platform/interrupts.h"
#include "platform/line_reader.h"
#include "platform/output_check.h"
#include "readers/advice_file.h"
#include "readers/control_loader.h"
#include "readers/numbered_record_reader.h"
#include "readers/plain_list_reader.h"
#include "readers/profile_context.h"
#include "readers/profile_reports.h"
#include "readers/sectioned_profile_reader.h"
#include "readers/threshold_statement_reader.h"
#include "statements/emission.h"

namespace tornvel {

namespace {

constexpr std::string_view kControlFile = "the control file";
constexpr std::string_view kProfile = "the profile";
constexpr std::string_view kAdviceFile = "the advice file";
constexpr std::string_view kThresholdFile = "the threshold file";

// What became of an output that the run had open.
OutputFate fateOf(const OutputFile& file, bool committed) {
  if (!committed) return OutputFate::kUnchanged;
  if (file.writesInPlace()) return OutputFate::kWritten;
  const ReplacedFile* replaced = file.replaced();
  return replaced != nullptr && replaced->replacesEarlier() ? OutputFate::kReplaced
                                                            : OutputFate::kCreated;
}

// One run after its command line is settled. Each step either goes on or ends
// the run with its message and exit code; nothing is repeated. The options are
// only read; what the run learns on the way (the control file that opened,
// what it held) it keeps itself.
class MigrationRun {
 public:
  MigrationRun(const RunOptions& options, Console& console)
      : options_(options), console_(console) {}

  ExitCode execute();
  // What a dry run found the run would write.
  const DryRunPlan& plan() const { return plan_; }
  // True once the run's outputs took their names (or a device or pipe was
  // written): whatever the run ends with, they were written.
  bool committed() const { return committed_; }
  // The control file that opened, or the name tried last.
  const std::string& controlName() const { return controlName_; }
  // What the run did, for its summary line (the exit code is the caller's).
  void describe(RunSummary& summary) const;

 private:
  using ProfileReader = void (*)(ProfileContext&);

  bool openControlFile();
  bool openThresholdCsv();
  bool loadDefinitions();
  void listSynonyms();
  ProfileReader chooseReader() const;
  NearMissIndex reachableNames() const;
  bool readAdviceFile();
  bool readToTheEnd(const LineReader& input, std::string_view role, const std::string& name);
  std::size_t thresholdsGiven() const;
  EmissionSettings emissionSettings(std::string_view timestamp) const;
  bool openThresholdCsvFile();
  bool writeThresholdCsv();
  void planDryRun(const EmissionLoop& loop, const EmissionCounts& counts);
  ExitCode emitAndCommit(EmissionLoop& loop, std::string_view timestamp);
  ExitCode commitOutputs(EmissionLoop& loop);
  ExitCode commitHeld(EmissionLoop& loop);

  const RunOptions& options_;
  Console& console_;
  LineReader control_;
  std::string controlName_;  // the control file that opened
  LoadedControl loaded_;
  UnhandledList unhandled_;
  std::string thresholdLines_;  // what the threshold file gets at the commit
  AppendedFile csvFile_;
  bool csvCheckedOnly_ = false;  // checked at the start, opened only to append
  DryRunPlan plan_;
  // For the summary: what the run reached.
  bool controlOpened_ = false;
  ProfileFindings findings_;
  std::optional<EmissionCounts> counts_;
  std::int64_t statementBytes_ = 0;
  std::int64_t templateBytes_ = 0;
  std::int64_t thresholdBytes_ = 0;
  OutputFate statementFate_ = OutputFate::kUnchanged;
  std::optional<OutputFate> templateFate_;  // for a run with a template seed file
  bool committed_ = false;
};

ExitCode MigrationRun::execute() {
  if (!openControlFile() || !openThresholdCsv() || !loadDefinitions()) return ExitCode::kFile;
  DefinitionTable& table = loaded_.table;
  if (table.empty()) {
    console_.print("Unable to find any threshold values in: " + controlName_ + "\n");
    diagnoseNoDefinitions(console_, controlName_);
    return ExitCode::kNoDefinitions;
  }

  LineReader profile;
  if (const Outcome opened = profile.open(options_.inputName); !opened) {
    console_.print("Unable to open file:" + options_.inputName + "\n");
    diagnoseOpenFailure(console_, kProfile, options_.inputName, opened.failure());
    return ExitCode::kFile;
  }
  ProfileReader reader = chooseReader();
  if (reader == nullptr) {
    console_.print("Unsupported product " + options_.recordedCode + "\n");
    return ExitCode::kUnsupportedProduct;
  }
  // The names that reach no definition are kept for the summary; a verbose
  // run lists them anyway.
  const bool keepUnhandled = !options_.summaryName.empty() || options_.verbose;
  ProfileContext context{
      profile,          table, console_, unhandled_,       loaded_.synonyms, loaded_.release,
      options_.verbose, {},    {},       reachableNames(), keepUnhandled};
  reader(context);
  profile.close();
  findings_ = std::move(context.findings);
  if (!readToTheEnd(profile, kProfile, options_.inputName)) return ExitCode::kFile;
  diagnoseProfileFindings(console_, options_.inputName, findings_, table);
  diagnoseNearMisses(console_, options_.inputName, findings_);
  diagnoseRepeatedValues(console_, options_.inputName, findings_);
  if (thresholdsGiven() == 0) {
    if (!profile.nonBlankByteRead()) {
      diagnoseEmptyProfile(console_, options_.inputName, options_.statementName);
    } else {
      diagnoseNoThresholds(console_, options_.inputName, options_.fileCode.substr(1),
                           options_.statementName);
    }
  }

  // One timestamp for every statement of the run.
  const std::string timestamp = formatRunTimestamp(localRunTime());
  EmissionLoop loop(options_, controlName_, console_);
  const ExitCode exitCode = emitAndCommit(loop, timestamp);
  statementFate_ = fateOf(loop.statementFile(), committed_);
  if (loop.templateSeedFile().isOpen()) {
    templateFate_ = fateOf(loop.templateSeedFile(), committed_);
  }
  return exitCode;
}

// The statements and rows, from the opened statement file to the commit.
ExitCode MigrationRun::emitAndCommit(EmissionLoop& loop, std::string_view timestamp) {
  if (!loop.openStatementFile()) return ExitCode::kFile;
  if (options_.buildMode && !readAdviceFile()) return ExitCode::kFile;
  Emission emission = emit(loaded_.table, emissionSettings(timestamp));
  counts_ = emission.counts;
  statementBytes_ = static_cast<std::int64_t>(nativeSize(emission.statements));
  templateBytes_ = static_cast<std::int64_t>(nativeSize(emission.templateRows));
  thresholdBytes_ = static_cast<std::int64_t>(nativeSize(emission.thresholdLines));
  if (!loop.run(emission)) return ExitCode::kFile;
  thresholdLines_ = std::move(emission.thresholdLines);
  if (console_.failed()) return ExitCode::kFile;
  // A warning under --strict, or a dry run, commits nothing: the temporary
  // files go, nothing reaches a device or pipe, the threshold file gets no
  // lines, and nothing takes its name.
  if (options_.strict && console_.warnings() > 0) return ExitCode::kStrictWarnings;
  if (options_.dryRun) {
    planDryRun(loop, emission.counts);
    return ExitCode::kCompleted;
  }
  // The statement files take their names last, once everything else of the
  // run is whole: a run that ends with 12 leaves the earlier files as they
  // were, and the threshold lines are taken back when a file cannot take its
  // name.
  if (!loop.finishFiles()) return ExitCode::kFile;
  return commitOutputs(loop);
}

void MigrationRun::describe(RunSummary& summary) const {
  if (controlOpened_) summary.control = controlName_;
  SummaryCounts& counts = summary.counts;
  counts.definitions = static_cast<std::int64_t>(loaded_.table.size());
  counts.thresholds = static_cast<std::int64_t>(thresholdsGiven());
  if (counts_) {
    counts.statements = static_cast<std::int64_t>(counts_->statements);
    counts.templateRows = static_cast<std::int64_t>(counts_->templateRows);
    counts.thresholdLines = static_cast<std::int64_t>(counts_->thresholdLines);
  }
  for (const ProfileFindings::UnhandledName& entry : findings_.unhandled) {
    summary.unhandled.push_back({entry.name, static_cast<std::int64_t>(entry.line), entry.table});
  }
  counts.unhandled = static_cast<std::int64_t>(findings_.unhandledTotal);
  if (!counts_) return;  // the run ended before it had anything to write
  const auto output = [&summary](const std::string& name, std::int64_t size, OutputFate fate) {
    summary.outputs.push_back({name, hostPath(name), size, fate});
  };
  output(options_.statementName, statementBytes_, statementFate_);
  if (templateFate_) output(options_.templateSeedName, templateBytes_, *templateFate_);
  if (options_.csvOutput) {
    output(options_.csvName, thresholdBytes_,
           committed_ ? OutputFate::kAppended : OutputFate::kUnchanged);
  }
}

// What the run would write, from what the emission counted.
void MigrationRun::planDryRun(const EmissionLoop& loop, const EmissionCounts& counts) {
  loop.planOutputs(plan_);
  if (counts.thresholdLines > 0) {
    plan_.appendedTo = options_.csvName;
    plan_.appendedLines = counts.thresholdLines;
  }
}

EmissionSettings MigrationRun::emissionSettings(std::string_view timestamp) const {
  EmissionSettings settings;
  settings.buildMode = options_.buildMode;
  settings.timestamp = timestamp;
  settings.affinities = loaded_.affinities;
  settings.thresholdLines = options_.csvOutput;
  settings.thresholdHeader = options_.csvHeader;
  settings.fileCode = options_.fileCode;
  settings.inputName = options_.inputName;
  return settings;
}

// The threshold lines and the renames make one step that an interrupt does not
// cut: it takes effect once the outputs are all earlier or all new. Waiting
// for another run's append to the threshold file comes before, while an
// interrupt still ends the run at once.
ExitCode MigrationRun::commitOutputs(EmissionLoop& loop) {
  if (options_.csvOutput) {
    if (csvCheckedOnly_ && !openThresholdCsvFile()) return ExitCode::kFile;
    csvFile_.lock();
  }
  const ExitCode exitCode = commitHeld(loop);
  csvFile_.unlock();
  return exitCode;
}

ExitCode MigrationRun::commitHeld(EmissionLoop& loop) {
  InterruptsHeld held;
  if (options_.csvOutput && !writeThresholdCsv()) return ExitCode::kFile;
  if (loop.commitFiles()) {
    committed_ = true;
    return ExitCode::kCompleted;
  }
  const bool appendTakenBack = csvFile_.undoAppend();
  loop.reportCommitFailure(appendTakenBack);
  diagnoseLeftover(console_, kThresholdFile, options_.csvName, csvFile_.leftover(), {});
  return ExitCode::kFile;
}

// An input whose reading failed is not the whole input: the run ends before
// anything takes its name. What the reading showed of the file's shape is
// said either way.
bool MigrationRun::readToTheEnd(const LineReader& input, std::string_view role,
                                const std::string& name) {
  diagnoseInputShape(console_, role, name, input);
  if (!input.failed()) return true;
  console_.print("Unable to read file " + name + "\n");
  diagnoseReadFailure(console_, role, name, input);
  return false;
}

// The definitions that the profile gave a threshold or a service class.
std::size_t MigrationRun::thresholdsGiven() const {
  std::size_t count = 0;
  for (std::size_t i = 0; i < loaded_.table.size(); ++i) {
    if (givesThreshold(loaded_.table.at(i))) ++count;
  }
  return count;
}

// The control file named on the command line (or derived from the product
// code); when it does not open, the other product family's control file.
bool MigrationRun::openControlFile() {
  controlName_ = options_.controlName;
  const Outcome first = control_.open(controlName_);
  controlOpened_ = static_cast<bool>(first);
  if (first) return true;
  Outcome last = first;
  // A name the user typed that is replaced is worth a word; the default name
  // of the legacy family giving way to the new family's is the usual case.
  const bool typed = options_.controlNamed;
  if (!options_.fallbackControlName.empty()) {
    controlName_ = options_.fallbackControlName;
    if (typed) {
      diagnoseControlFileReplaced(console_, options_.controlName, first.failure(), controlName_);
    }
    last = control_.open(controlName_);
    controlOpened_ = static_cast<bool>(last);
    if (last) return true;
    if (!typed) diagnoseOpenFailure(console_, kControlFile, options_.controlName, first.failure());
  }
  console_.print("Unable to open control file: " + controlName_ + "\n");
  diagnoseOpenFailure(console_, kControlFile, controlName_, last.failure());
  return false;
}

// The threshold file is appended to, so that runs over several profiles of a
// product gather their lines in one file.
// A dry run only checks it; so does a --strict run while the file is not
// there yet, which it creates only as it appends (a strict run that warns
// creates nothing).
bool MigrationRun::openThresholdCsv() {
  if (!options_.csvOutput) return true;
  const std::string input = inputNamedBy(options_, controlName_, options_.csvName);
  if (!input.empty()) {
    reportOutputIsInput(console_, kThresholdFile, options_.csvName, input);
    return false;
  }
  csvCheckedOnly_ =
      options_.dryRun || (options_.strict && !host::statusOf(hostPath(options_.csvName)).exists);
  if (csvCheckedOnly_) {
    const Result<Reach> checked = checkOutput(options_.csvName, OutputUse::kAppend);
    if (!checked) {
      reportOutputOpenFailure(console_, kThresholdFile, options_.csvName, checked.failure());
      return false;
    }
  } else if (!openThresholdCsvFile()) {
    return false;
  }
  return true;
}

// The threshold file, opened at the start of the run, or by a --strict run
// that only checked it then, just before it appends.
bool MigrationRun::openThresholdCsvFile() {
  const Outcome opened = csvFile_.open(options_.csvName);
  if (!opened) {
    reportOutputOpenFailure(console_, kThresholdFile, options_.csvName, opened.failure());
  }
  return static_cast<bool>(opened);
}

bool MigrationRun::loadDefinitions() {
  loaded_ = loadControlFile(
      control_, {options_.product, options_.recordedCode, options_.verbose, options_.noWarnings},
      console_);
  control_.close();
  if (!readToTheEnd(control_, kControlFile, controlName_)) return false;
  diagnoseCutFields(console_, controlName_, loaded_.cutFields, options_.buildMode);
  diagnoseReservedNames(console_, controlName_, loaded_.reservedNameLines);
  if (options_.verbose) {
    console_.print("\nA total of " + std::to_string(loaded_.table.size()) +
                   " definitions processed\n\n");
  }
  if (options_.verbose) listSynonyms();
  return true;
}

// Newest group first, the heading before the first group only; the closing
// newline also after an empty list.
void MigrationRun::listSynonyms() {
  bool headerPending = true;
  for (SynonymGroup* group = loaded_.synonyms.head(); group != nullptr; group = group->next) {
    if (std::exchange(headerPending, false)) console_.print("\nDefined Synonyms:\n\n");
    std::ostringstream line;
    group->printGroup(line);
    console_.print(line.str());
  }
  console_.print("\n");
}

MigrationRun::ProfileReader MigrationRun::chooseReader() const {
  switch (options_.product) {
    case Product::kDatabase:
      return readPlainList;
    case Product::kIms:
      return readThresholdStatements;
    case Product::kTransaction:
      return readNumberedRecords;
    case Product::kSystem:
      return readSectionedProfile;
    case Product::kUnsupported:
      break;
  }
  return nullptr;
}

// The names a profile line can reach, for telling the names that nearly do.
// Only the threshold statements offer their values to synonym groups, whose
// members reach the group's definition.
NearMissIndex MigrationRun::reachableNames() const {
  NearMissIndex index;
  index.addDefinitions(loaded_.table);
  if (options_.product == Product::kIms) index.addSynonymMembers(loaded_.synonyms);
  return index;
}

// Build mode's advice file is optional: a file that does not open is passed
// over, with a word on standard error; one whose reading fails ends the run.
bool MigrationRun::readAdviceFile() {
  LineReader advice;
  if (const Outcome opened = advice.open(options_.adviceName); !opened) {
    diagnoseNoAdviceFile(console_, options_.adviceName, opened.failure());
    return true;
  }
  applyAdviceFile(advice, loaded_.table);
  advice.close();
  return readToTheEnd(advice, kAdviceFile, options_.adviceName);
}

// The run's lines go out in one write, so that runs side by side never
// interleave them; a failed write leaves the file at its earlier length.
bool MigrationRun::writeThresholdCsv() {
  csvFile_.write(thresholdLines_);
  if (const Outcome appended = csvFile_.finish(); !appended) {
    console_.print("Unable to write file " + options_.csvName + "\n");
    const Leftover& leftover = csvFile_.leftover();
    diagnoseWriteFailure(console_, kThresholdFile, options_.csvName, appended.failure(),
                         !leftover.any());
    diagnoseLeftover(console_, kThresholdFile, options_.csvName, leftover, {});
    return false;
  }
  return true;
}

}  // namespace

namespace {

// The input or output of the run that the summary file is, if it is one:
// appending the line there would change a profile, a control file or an
// output that the run has just made whole.
std::string runFileNamedBy(const RunOptions& options, const std::string& controlName) {
  std::string input = inputNamedBy(options, controlName, options.summaryName);
  if (!input.empty()) return input;
  const std::string summary = hostPath(options.summaryName);
  const std::pair<const char*, const std::string*> outputs[] = {
      {"the statement file ", &options.statementName},
      {"the template seed file ", &options.templateSeedName},
      {"the threshold file ", &options.csvName}};
  for (const auto& [role, name] : outputs) {
    if (host::sameFile(summary, hostPath(*name))) return role + *name;
  }
  return {};
}

// The run's summary line, appended to the file of --summary once the exit
// code is settled. False, after saying so, when it could not be written.
bool writeSummary(const RunOptions& options, const MigrationRun& run, ExitCode exitCode,
                  Console& console) {
  RunSummary summary;
  summary.profile = options.inputName;
  summary.product = options.fileCode.substr(1);
  summary.productCode = options.productCode;
  summary.fileCode = options.fileCode;
  summary.statementFile = options.statementName;
  summary.exitCode = exitCode;
  summary.dryRun = options.dryRun;
  summary.strict = options.strict;
  run.describe(summary);
  for (const DiagnosticRecord& record : console.records()) {
    SummaryDiagnostic entry{record.kind, std::nullopt, std::nullopt, record.message};
    if (!record.file.empty()) entry.file = record.file;
    if (record.line != 0) entry.line = static_cast<std::int64_t>(record.line);
    (record.warning ? summary.warnings : summary.errors).push_back(std::move(entry));
  }
  if (const std::string ownFile = runFileNamedBy(options, run.controlName()); !ownFile.empty()) {
    diagnoseSummaryRefused(console, options.summaryName, "it is the same file as " + ownFile,
                           run.committed());
    return false;
  }
  const AppendOutcome appended = appendWhole(hostPath(options.summaryName), summaryLine(summary));
  if (appended.appended()) return true;
  diagnoseSummaryFailure(console, options.summaryName, appended.error, appended.leftInFile,
                         run.committed());
  return false;
}

}  // namespace

ExitCode runMigration(const std::vector<std::string>& args, std::ostream& out,
                      std::ostream& errors) {
  Console console(out, errors);
  const Setup setup = setUpRun(args, console);
  const RunOptions* options = std::get_if<RunOptions>(&setup);
  if (options == nullptr) {
    // The set-up ended the run: its own text, or a command-line fault.
    const ExitCode exitCode = std::get<ExitCode>(setup);
    if (console.failed()) {
      diagnoseStandardOutputFailure(console, console.failure());
      if (exitCode == ExitCode::kCompleted) return ExitCode::kFile;
    }
    return exitCode;
  }
  MigrationRun run(*options, console);
  ExitCode exitCode = run.execute();
  // A report that never reached its reader is no success; the run's own
  // failures keep their exit codes.
  if (console.failed()) {
    diagnoseStandardOutputFailure(console, console.failure());
    if (exitCode == ExitCode::kCompleted) exitCode = ExitCode::kFile;
  }
  // The summary is the run's report, not one of its outputs: it is written
  // whatever the run ends with, dry and strict runs included.
  const ExitCode runExitCode = exitCode;
  bool summaryWritten = false;
  if (!options->summaryName.empty()) {
    summaryWritten = writeSummary(*options, run, exitCode, console);
    if (!summaryWritten && exitCode == ExitCode::kCompleted) exitCode = ExitCode::kFile;
  }
  if (runExitCode == ExitCode::kStrictWarnings) {
    diagnoseStrict(console, summaryWritten);
  } else if (options->dryRun) {
    diagnoseDryRun(console, runExitCode, run.plan(), summaryWritten);
  }
  return exitCode;
}

}  // namespace tornvel
