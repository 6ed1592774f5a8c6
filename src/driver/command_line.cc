#include "driver/command_line.h"

#include <cstddef>
#include <string_view>
#include <utility>

#include "driver/diagnostics.h"
#include "platform/file_names.h"
#include "platform/host_files.h"
#include "platform/text.h"

namespace tornvel {

namespace {

enum class Wording { kCreate, kDump };

void printUsage(Console& console, Wording wording) {
  std::string text;
  text.append("\n\n  <<TORNVEL - Version ").append(kVersionText).append(">>\n\n");
  text.append("Migration utility will read an exported Pelloran profile and generate \n");
  text.append("seed data to update thresholds in Quillmark product provided situations.\n\n");
  text.append("The command line format is:\n\n");
  text.append("  TORNVEL <options> input product <output> <control>\n\n");
  text.append("  Where:    options:  -v   verbose\n");
  text.append("                      -nw  no warning situations\n");
  if (wording == Wording::kCreate) {
    text.append("                      -d   create comma delimited output file\n");
    text.append("                      -dh  create comma delimited output file with header\n");
  } else {
    text.append("                      -d   dump comma delimited data\n");
    text.append("                      -dh  dump comma delimited data with header\n");
  }
  text.append("                      -?   display this text\n");
  text.append("            input:    identifies the exported Pelloran profile.\n");
  text.append("            product:  is the product code (R5, T5, W5, Y5).\n");
  text.append("            output:   identifies the output filename.\n");
  text.append("            control:  name of product control file.\n\n");
  console.print(text);
}

// What --help adds to the usage text: build mode's switch, which the usage
// text of "-?" never listed and keeps leaving out, and the long options.
constexpr std::string_view kLongOptions =
    "\n"
    "The switch of build mode, which the text above leaves out:\n"
    "  -bd        define each situation anew: DELETE, $PARMS and INSERT\n"
    "             statements into a file named with INS for UPD, with texts\n"
    "             from the advice file (ZT5_ADVICE.TXT for T5) when present\n"
    "\n"
    "Long options, which may stand anywhere on the command line:\n"
    "  --dry-run  read everything and report as a run would, but create,\n"
    "             replace and append no file\n"
    "  --strict   end with exit code 24, writing nothing, when the run warns\n"
    "             of a likely mistake (on standard error)\n"
    "  --summary=FILE, --summary FILE\n"
    "             append to FILE one line in JSON that sums up the run,\n"
    "             whatever its outcome\n"
    "  --help     this text\n"
    "  --version  the name and version\n";

void printBanner(Console& console, const RunOptions& options) {
  std::string text;
  text.append("\n\nTORNVEL Version: ").append(kVersionText).append("\n\nOptions:\tVerbose\n");
  text.append(options.noWarnings ? "         \tNo Warnings\n" : "         \tGenerate Warnings\n");
  text.append("         \tInput Profile Name:\t").append(options.inputName).append("\n");
  text.append("         \tOutput file Name:  \t").append(options.outputName).append("\n");
  text.append("         \tProduct Code:      \t").append(options.productCode).append("\n");
  text.append("         \tControl file Name: \t").append(options.controlName).append("\n");
  text.append("\n\n\n");
  console.print(text);
}

// A name that looks like a switch is most often a mistyped one.
void noteNoSwitch(Console& console, const std::string& arg, std::string_view takenAs) {
  if (arg.size() > 1 && arg.front() == '-') diagnoseNoSwitch(console, arg, takenAs);
}

std::string upperCased(std::string_view text) {
  std::string result(text);
  upperCaseInPlace(result);
  return result;
}

// Every name the run uses, derived once from the codes and the arguments.
void settleNames(RunOptions& options) {
  // The IMS product's definitions record "IMS" rather than its legacy code.
  options.recordedCode = recordedCode(options.product, options.productCode);
  if (options.outputName.empty()) options.outputName = "SQLLIB\\" + options.fileCode + "_UPD.SQL";
  options.statementName =
      options.buildMode ? buildModeOutputName(options.outputName) : options.outputName;
  options.csvName = "SQLLIB\\" + options.fileCode + "_CDF.TXT";
  if (options.controlName.empty()) options.controlName = options.productCode + "PROD.TXT";
  // A control file that does not open gives way to the other family's, even
  // one the user typed; the two codes agree where there is no other family.
  if (options.productCode != options.fileCode) {
    options.fallbackControlName = options.fileCode + "PROD.TXT";
  }
  options.adviceName = options.fileCode + "_ADVICE.TXT";
  options.templateSeedName = "SQLLIB\\UR5_ZPX.SQL";
}

constexpr std::string_view kSummaryOption = "--summary=";

// The arguments that count towards the two the usage text asks for.
std::ptrdiff_t countedArguments(const std::vector<std::string>& args) {
  std::ptrdiff_t counted = 0;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--summary") {
      ++i;  // its file name
    } else if (arg != "--dry-run" && arg != "--strict" && !arg.starts_with(kSummaryOption)) {
      ++counted;
    }
  }
  return counted;
}

// The summary file of "--summary=FILE", or of "--summary FILE" (the next
// argument, whatever it looks like). False when the name is missing or empty.
bool takeSummaryName(const std::vector<std::string>& args, std::size_t& i, std::string& name) {
  if (args[i] == "--summary") {
    if (i + 1 >= args.size()) return false;
    name = args[++i];
  } else {
    name = args[i].substr(kSummaryOption.size());
  }
  return !name.empty();
}

}  // namespace

Setup setUpRun(const std::vector<std::string>& args, Console& console) {
  // "--help" and "--version" are answered before the argument count or any
  // other argument is looked at, so that each works alone; the first of them
  // on the command line wins.
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--help") {
      printUsage(console, Wording::kDump);  // the text of "-?", then the long options
      console.print(kLongOptions);
      return ExitCode::kCompleted;
    }
    if (args[i] == "--version") {
      console.print(std::string("tornvel ") + kProgramVersion + "\n");
      return ExitCode::kCompleted;
    }
  }
  // Fewer than two arguments after the program name: the usage text, before
  // any switch is looked at. The long options, which the usage text does not
  // know, do not count, nor does the file name that follows "--summary".
  if (countedArguments(args) < 2) {
    printUsage(console, Wording::kCreate);
    return ExitCode::kCommandLine;
  }
  RunOptions options;
  bool productSeen = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-nw") {
      options.noWarnings = true;
    } else if (arg == "-v") {
      options.verbose = true;
    } else if (arg == "-d") {
      options.csvOutput = true;
    } else if (arg == "-dh") {
      options.csvOutput = true;
      options.csvHeader = true;
    } else if (arg == "-bd") {
      options.buildMode = true;
    } else if (arg == "-?") {
      printUsage(console, Wording::kDump);
      return ExitCode::kCompleted;
    } else if (arg == "--dry-run") {
      options.dryRun = true;
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "--summary" || arg.starts_with(kSummaryOption)) {
      if (!takeSummaryName(args, i, options.summaryName)) {
        console.print("Missing the name of the summary file\n");
        return ExitCode::kCommandLine;
      }
    } else if (options.inputName.empty()) {
      noteNoSwitch(console, arg, "input file name");
      options.inputName = arg;  // an empty argument leaves the slot empty
    } else if (!productSeen) {
      noteNoSwitch(console, arg, "product code");
      productSeen = true;
      ProductCodes codes = productCodesFor("Z" + upperCased(arg));
      if (codes.product == Product::kUnsupported) diagnoseUnknownProduct(console, arg);
      options.product = codes.product;
      options.productCode = std::move(codes.code);
      options.fileCode = std::move(codes.fileCode);
    } else if (options.outputName.empty()) {
      noteNoSwitch(console, arg, "output file name");
      options.outputName = arg;
    } else if (options.controlName.empty()) {
      noteNoSwitch(console, arg, "control file name");
      options.controlName = arg;
      options.controlNamed = !arg.empty();
    } else {
      console.print("Too many options on command line\n");
      return ExitCode::kCommandLine;
    }
  }
  if (options.inputName.empty()) {
    console.print("Missing the name of the input file\n");
    return ExitCode::kCommandLine;
  }
  if (options.productCode.size() != 3) {
    console.print("Invalid or missing product code " + options.productCode + "\n");
    return ExitCode::kCommandLine;
  }
  settleNames(options);
  if (options.verbose) printBanner(console, options);
  return options;
}

std::string buildModeOutputName(std::string name) {
  // Host paths keep the name's length and separators, so the file name starts
  // where it does in the name as built.
  const std::size_t upd = name.find("UPD", fileNameStart(hostPath(name)));
  if (upd != std::string::npos) name.replace(upd, 3, "INS");
  return name;
}

std::string inputNamedBy(const RunOptions& options, const std::string& controlName,
                         const std::string& outputName) {
  // One and the same existing file, however the two names are spelt.
  const auto sameFile = [](const std::string& name, const std::string& other) {
    return host::sameFile(hostPath(name), hostPath(other));
  };
  if (sameFile(outputName, options.inputName)) return "the profile " + options.inputName;
  if (sameFile(outputName, controlName)) return "the control file " + controlName;
  if (options.buildMode && sameFile(outputName, options.adviceName)) {
    return "the advice file " + options.adviceName;
  }
  return {};
}

}  // namespace tornvel
