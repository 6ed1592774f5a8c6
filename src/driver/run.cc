#include "driver/run.h"

#include <iostream>
#include <string>
#include <string_view>

#include "definitions/control_loader.h"
#include "definitions/definition_table.h"
#include "definitions/synonym_group.h"
#include "driver/command_line.h"
#include "driver/diagnostics.h"
#include "driver/emission_loop.h"
#include "driver/reports.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/interrupts.h"
#include "platform/line_reader.h"
#include "platform/output_file.h"
#include "readers/profile_reader.h"
#include "readers/profile_reports.h"
#include "statements/advice_file.h"

namespace tornvel {

namespace {

constexpr std::string_view kControlFile = "the control file";
constexpr std::string_view kProfile = "the profile";
constexpr std::string_view kAdviceFile = "the advice file";
constexpr std::string_view kThresholdFile = "the threshold file";

// One run after its command line is settled. Each step either goes on or ends
// the run with its message and exit code; nothing is repeated.
class MigrationRun {
 public:
  MigrationRun(RunOptions& options, Console& console) : options_(options), console_(console) {}

  int execute();

 private:
  using ProfileReader = void (*)(ProfileContext&);

  bool openControlFile();
  bool openThresholdCsv();
  bool loadDefinitions();
  void listSynonyms();
  ProfileReader chooseReader() const;
  bool readAdviceFile();
  bool readToTheEnd(const LineReader& input, std::string_view role, const std::string& name);
  bool anyThresholdGiven() const;
  bool writeThresholdCsv();
  int commitOutputs(EmissionLoop& loop);

  RunOptions& options_;
  Console& console_;
  LineReader control_;
  DefinitionTable table_;
  SynonymList synonyms_;
  UnhandledList unhandled_;
  ThresholdCsv csvLines_;
  OutputFile csvFile_;
};

int MigrationRun::execute() {
  if (!openControlFile() || !openThresholdCsv()) return 12;
  // The IMS product's legacy code becomes "IMS" for the rest of the run: after
  // the file names were settled, before any definition records its product.
  options_.ProductCode = recordedCode(options_.product, options_.ProductCode);
  if (!loadDefinitions()) return 12;
  if (table_.empty()) {
    console_.print("Unable to find any threshold values in: " + options_.controlName + "\n");
    return 16;
  }

  LineReader profile;
  if (!profile.open(options_.inputName)) {
    console_.print("Unable to open file:" + options_.inputName + "\n");
    diagnoseOpenFailure(console_, kProfile, options_.inputName, profile.error());
    return 12;
  }
  ProfileReader reader = chooseReader();
  if (reader == nullptr) {
    console_.print("Unsupported product " + options_.ProductCode + "\n");
    return 20;
  }
  ProfileContext context{
      profile, table_, console_, unhandled_, synonyms_, options_.currentRelease, options_.verbose};
  reader(context);
  profile.close();
  if (!readToTheEnd(profile, kProfile, options_.inputName)) return 12;
  if (!anyThresholdGiven()) {
    diagnoseNoThresholds(
        console_, options_.inputName, options_.FileCode.substr(1),
        options_.buildMode ? buildModeOutputName(options_.outputName) : options_.outputName);
  }

  // One timestamp for every statement of the run.
  std::string timestamp = formatRunTimestamp(localRunTime());
  if (options_.buildMode) options_.outputName = buildModeOutputName(options_.outputName);
  EmissionLoop loop(options_, console_, table_, timestamp);
  if (!loop.openStatementFile()) return 12;
  if (options_.buildMode && !readAdviceFile()) return 12;
  if (!loop.run(options_.csvOutput ? &csvLines_ : nullptr)) return 12;
  // The statement files take their names last, once everything else of the
  // run is whole: a run that ends with 12 leaves the earlier files as they
  // were, and the threshold lines are taken back when a file cannot take its
  // name.
  if (!loop.finishFiles()) return 12;
  if (console_.failed()) return 12;
  return commitOutputs(loop);
}

// The threshold lines and the renames make one step that an interrupt does not
// cut: it takes effect once the outputs are all earlier or all new.
int MigrationRun::commitOutputs(EmissionLoop& loop) {
  InterruptsHeld held;
  if (options_.csvOutput && !writeThresholdCsv()) return 12;
  if (!loop.commitFiles()) {
    csvFile_.undoAppend();
    return 12;
  }
  return 0;
}

// An input whose reading failed is not the whole input: the run ends before
// anything takes its name. What the reading showed of the file's shape is
// said either way.
bool MigrationRun::readToTheEnd(const LineReader& input, std::string_view role,
                                const std::string& name) {
  diagnoseInputShape(console_, role, name, input);
  if (!input.failed()) return true;
  console_.print("Unable to read file " + name + "\n");
  diagnoseReadFailure(console_, role, name, input.error());
  return false;
}

bool MigrationRun::anyThresholdGiven() const {
  for (std::size_t i = 0; i < table_.size(); ++i) {
    // A service-class definition exists only for a workload row of the
    // profile, with its thresholds in fields of its own.
    const ExceptionDefinition& definition = table_.at(i);
    if (!definition.condition(Severity::kWarning).value.empty() ||
        !definition.condition(Severity::kCritical).value.empty() || isServiceClass(definition)) {
      return true;
    }
  }
  return false;
}

// The control file named on the command line (or derived from the product
// code); when it does not open and the two codes differ, the other product
// family's control file.
bool MigrationRun::openControlFile() {
  if (control_.open(options_.controlName)) return true;
  const std::string first = options_.controlName;
  const int firstError = control_.error();
  // A name the user typed that is replaced is worth a word; the default name
  // of the legacy family giving way to the new family's is the usual case.
  const bool typed = first != options_.ProductCode + "PROD.TXT";
  if (options_.ProductCode != options_.FileCode) {
    options_.controlName = options_.FileCode + "PROD.TXT";
    if (typed) diagnoseControlFileReplaced(console_, first, firstError, options_.controlName);
    if (control_.open(options_.controlName)) return true;
    if (!typed) diagnoseOpenFailure(console_, kControlFile, first, firstError);
  }
  console_.print("Unable to open control file: " + options_.controlName + "\n");
  diagnoseOpenFailure(console_, kControlFile, options_.controlName, control_.error());
  return false;
}

// The threshold file is appended to, so that runs over several profiles of a
// product gather their lines in one file.
bool MigrationRun::openThresholdCsv() {
  if (!options_.csvOutput) return true;
  const std::string input = inputNamedBy(options_, options_.csvName);
  if (!input.empty() || !csvFile_.open(options_.csvName, OutputFile::Mode::kAppend)) {
    console_.print("Unable to open file " + options_.csvName + " for output.\n");
    if (input.empty()) {
      diagnoseOpenFailure(console_, kThresholdFile, options_.csvName, csvFile_.error());
    } else {
      diagnoseSameFile(console_, kThresholdFile, options_.csvName, input);
    }
    return false;
  }
  csvLines_.start(options_.FileCode, options_.inputName);
  return true;
}

bool MigrationRun::loadDefinitions() {
  ControlLoader loader{control_,
                       options_.product,
                       options_.ProductCode,
                       options_.verbose,
                       options_.noWarnings,
                       options_.currentRelease,
                       options_.runAffinities,
                       table_,
                       synonyms_,
                       console_};
  loadControlFile(loader);
  control_.close();
  if (!readToTheEnd(control_, kControlFile, options_.controlName)) return false;
  console_.rearmHeader();
  if (options_.verbose) {
    console_.print("\nA total of " + std::to_string(table_.size()) + " definitions processed\n\n");
  }
  if (options_.verbose) listSynonyms();
  console_.rearmHeader();
  return true;
}

// Newest group first, the heading before the first group only; the closing
// newline also after an empty list.
void MigrationRun::listSynonyms() {
  for (SynonymGroup* group = synonyms_.head(); group != nullptr; group = group->getNext()) {
    if (console_.takeHeader()) console_.print("\nDefined Synonyms:\n\n");
    group->printGroup(console_.stream());
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

// Build mode's advice file is optional: a file that does not open is passed
// over without a message; one whose reading fails ends the run.
bool MigrationRun::readAdviceFile() {
  LineReader advice;
  if (!advice.open(options_.adviceName)) {
    diagnoseNoAdviceFile(console_, options_.adviceName, advice.error());
    return true;
  }
  applyAdviceFile(advice, table_);
  advice.close();
  return readToTheEnd(advice, kAdviceFile, options_.adviceName);
}

// The run's lines go out in one write, so that runs side by side never
// interleave them; a failed write leaves the file at its earlier length.
bool MigrationRun::writeThresholdCsv() {
  csvFile_.write(csvLines_.text(options_.csvHeader));
  if (!csvFile_.finish()) {
    console_.print("Unable to write file " + options_.csvName + "\n");
    diagnoseWriteFailure(console_, kThresholdFile, options_.csvName, csvFile_.error());
    return false;
  }
  return true;
}

}  // namespace

int runMigration(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors) {
  Console console(out, errors);
  RunOptions options;
  SetupResult setup = setUpRun(args, options, console);
  int exitCode = setup.exitCode;
  if (setup.proceed) {
    MigrationRun run(options, console);
    exitCode = run.execute();
  }
  // A report that never reached its reader is no success; the run's own
  // failures keep their exit codes.
  if (console.failed()) {
    errors << "Unable to write standard output\n";
    errors.flush();
    if (exitCode == 0) exitCode = 12;
  }
  return exitCode;
}

int runMigration(const std::vector<std::string>& args, std::ostream& out) {
  return runMigration(args, out, std::cerr);
}

}  // namespace tornvel
