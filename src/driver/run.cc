#include "driver/run.h"

#include <iostream>
#include <string>

#include "definitions/control_loader.h"
#include "definitions/definition_table.h"
#include "definitions/synonym_group.h"
#include "driver/command_line.h"
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
  bool readToTheEnd(const LineReader& input, const std::string& name);
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
  if (!readToTheEnd(profile, options_.inputName)) return 12;

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
// anything takes its name.
bool MigrationRun::readToTheEnd(const LineReader& input, const std::string& name) {
  if (!input.failed()) return true;
  console_.print("Unable to read file " + name + "\n");
  return false;
}

// The control file named on the command line (or derived from the product
// code); when it does not open and the two codes differ, the other product
// family's control file.
bool MigrationRun::openControlFile() {
  if (control_.open(options_.controlName)) return true;
  if (options_.ProductCode != options_.FileCode) {
    options_.controlName = options_.FileCode + "PROD.TXT";
    if (control_.open(options_.controlName)) return true;
  }
  console_.print("Unable to open control file: " + options_.controlName + "\n");
  return false;
}

// The threshold file is appended to, so that runs over several profiles of a
// product gather their lines in one file.
bool MigrationRun::openThresholdCsv() {
  if (!options_.csvOutput) return true;
  if (namesRunInput(options_, options_.csvName) ||
      !csvFile_.open(options_.csvName, OutputFile::Mode::kAppend)) {
    console_.print("Unable to open file " + options_.csvName + " for output.\n");
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
  if (!readToTheEnd(control_, options_.controlName)) return false;
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
  if (!advice.open(options_.adviceName)) return true;
  applyAdviceFile(advice, table_);
  advice.close();
  return readToTheEnd(advice, options_.adviceName);
}

// The run's lines go out in one write, so that runs side by side never
// interleave them; a failed write leaves the file at its earlier length.
bool MigrationRun::writeThresholdCsv() {
  csvFile_.write(csvLines_.text(options_.csvHeader));
  if (!csvFile_.finish()) {
    console_.print("Unable to write file " + options_.csvName + "\n");
    return false;
  }
  return true;
}

}  // namespace

int runMigration(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors) {
  Console console(out);
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
