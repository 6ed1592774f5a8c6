// The command line of a run: switches, positional arguments, the two product
// codes and every file name derived from them.
#ifndef TORNVEL_DRIVER_COMMAND_LINE_H_
#define TORNVEL_DRIVER_COMMAND_LINE_H_

#include <string>
#include <variant>
#include <vector>

#include "definitions/product.h"
#include "driver/exit_code.h"
#include "driver/version.h"
#include "platform/console.h"

namespace tornvel {

// What the command line settles for the whole run; the run only reads it.
struct RunOptions {
  bool verbose = false;
  bool noWarnings = false;
  bool csvOutput = false;
  bool csvHeader = false;
  bool buildMode = false;
  bool dryRun = false;      // --dry-run: everything but the writing
  bool strict = false;      // --strict: a warning ends the run with 24, nothing written
  std::string summaryName;  // --summary: the file the run's summary line is appended to
  std::string inputName;
  Product product = Product::kUnsupported;  // settled with the codes below
  std::string productCode;                  // legacy-family form: first control file, banner
  std::string fileCode;                     // new-family form: names the output files
  std::string recordedCode;         // what every definition records: productCode, "IMS" for Y5
  std::string outputName;           // as typed or derived: the banner shows it
  std::string statementName;        // the statement file written: in build mode with INS for UPD
  std::string controlName;          // the first control-file candidate
  bool controlNamed = false;        // the control file was named on the command line
  std::string fallbackControlName;  // the other family's, or empty when there is none
  std::string csvName;
  std::string adviceName;
  std::string templateSeedName;
};

// The outcome of the set-up: the settled options of a run that goes on, or
// the exit code of one that ends with the set-up.
using Setup = std::variant<RunOptions, ExitCode>;

// Reads the arguments (program name first) into the run's options, prints the usage
// text, a set-up fault or, in a verbose run, the banner. "--help" (the usage
// text and the long options) and "--version" end the set-up with exit code 0
// wherever they stand, before any other rule is applied; "--dry-run",
// "--strict" and "--summary=FILE" (or "--summary FILE") may stand anywhere,
// like the switches.
Setup setUpRun(const std::vector<std::string>& args, Console& console);

// The statement file's name in build mode: the first "UPD" of the file name
// part (after the last back-slash or slash) becomes "INS", so that the default
// name ends in _INS.SQL; folder names are left alone, and a name without "UPD"
// stays as it is.
std::string buildModeOutputName(std::string name);

// The run's input that `outputName` is the same file as ("the profile
// PROF.TXT"): the profile, the control file that opened (`controlName`), or in
// build mode the advice file. Empty when it is none of them.
std::string inputNamedBy(const RunOptions& options, const std::string& controlName,
                         const std::string& outputName);

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_COMMAND_LINE_H_
