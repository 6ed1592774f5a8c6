#include "driver/command_line.h"

#include <string_view>
#include <utility>

#include "driver/diagnostics.h"
#include "platform/file_names.h"
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

void printBanner(Console& console, const RunOptions& options) {
  std::string text;
  text.append("\n\nTORNVEL Version: ").append(kVersionText).append("\n\nOptions:\tVerbose\n");
  text.append(options.noWarnings ? "         \tNo Warnings\n" : "         \tGenerate Warnings\n");
  text.append("         \tInput Profile Name:\t").append(options.inputName).append("\n");
  text.append("         \tOutput file Name:  \t").append(options.outputName).append("\n");
  text.append("         \tProduct Code:      \t").append(options.ProductCode).append("\n");
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

}  // namespace

SetupResult setUpRun(const std::vector<std::string>& args, RunOptions& options, Console& console) {
  // "--help" and "--version" are answered before the argument count or any
  // other argument is looked at, so that each works alone; the first of them
  // on the command line wins.
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--help") {
      printUsage(console, Wording::kDump);  // the same text as "-?"
      return {false, 0};
    }
    if (args[i] == "--version") {
      console.print(std::string("tornvel ") + kProgramVersion + "\n");
      return {false, 0};
    }
  }
  // Fewer than two arguments after the program name: the usage text, before
  // any switch is looked at.
  if (args.size() < 3) {
    printUsage(console, Wording::kCreate);
    return {false, 8};
  }
  options = RunOptions{};
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
      return {false, 0};
    } else if (options.inputName.empty()) {
      noteNoSwitch(console, arg, "input file name");
      options.inputName = arg;  // an empty argument leaves the slot empty
    } else if (!productSeen) {
      noteNoSwitch(console, arg, "product code");
      productSeen = true;
      ProductCodes codes = productCodesFor("Z" + upperCased(arg));
      if (codes.product == Product::kUnsupported) diagnoseUnknownProduct(console, arg);
      options.product = codes.product;
      options.ProductCode = std::move(codes.code);
      options.FileCode = std::move(codes.fileCode);
    } else if (options.outputName.empty()) {
      noteNoSwitch(console, arg, "output file name");
      options.outputName = arg;
    } else if (options.controlName.empty()) {
      noteNoSwitch(console, arg, "control file name");
      options.controlName = arg;
    } else {
      console.print("Too many options on command line\n");
      return {false, 8};
    }
  }
  if (options.inputName.empty()) {
    console.print("Missing the name of the input file\n");
    return {false, 8};
  }
  if (options.ProductCode.size() != 3) {
    console.print("Invalid or missing product code " + options.ProductCode + "\n");
    return {false, 8};
  }
  if (options.outputName.empty()) options.outputName = "SQLLIB\\" + options.FileCode + "_UPD.SQL";
  options.csvName = "SQLLIB\\" + options.FileCode + "_CDF.TXT";
  if (options.controlName.empty()) options.controlName = options.ProductCode + "PROD.TXT";
  options.adviceName = options.FileCode + "_ADVICE.TXT";
  options.templateSeedName = "SQLLIB\\UR5_ZPX.SQL";
  if (options.verbose) printBanner(console, options);
  return {true, 0};
}

std::string buildModeOutputName(std::string name) {
  const std::size_t separator = name.find_last_of("\\/");
  const std::size_t fileName = separator == std::string::npos ? 0 : separator + 1;
  const std::size_t upd = name.find("UPD", fileName);
  if (upd != std::string::npos) name.replace(upd, 3, "INS");
  return name;
}

std::string inputNamedBy(const RunOptions& options, const std::string& outputName) {
  if (sameFile(outputName, options.inputName)) return "the profile " + options.inputName;
  if (sameFile(outputName, options.controlName)) return "the control file " + options.controlName;
  if (options.buildMode && sameFile(outputName, options.adviceName)) {
    return "the advice file " + options.adviceName;
  }
  return {};
}

}  // namespace tornvel
