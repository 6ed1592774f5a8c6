#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tornvel {
namespace {

// Whether the run goes on, and the exit code it ends with when it does not.
struct Result {
  bool proceed = false;
  ExitCode exitCode = ExitCode::kCompleted;
};

struct Outcome {
  Result result;
  RunOptions options;
  std::string output;
};

Outcome setUp(std::vector<std::string> args) {
  args.insert(args.begin(), "tornvel");
  std::ostringstream out;
  Console console(out);
  Outcome outcome;
  Setup setup = setUpRun(args, console);
  if (RunOptions* options = std::get_if<RunOptions>(&setup)) {
    outcome.result.proceed = true;
    outcome.options = std::move(*options);
  } else {
    outcome.result.exitCode = std::get<ExitCode>(setup);
  }
  outcome.output = out.str();
  return outcome;
}

const char kUsageStart[] =
    "\n\n  <<TORNVEL - Version 03.323>>\n\n"
    "Migration utility will read an exported Pelloran profile and generate \n"
    "seed data to update thresholds in Quillmark product provided situations.\n\n"
    "The command line format is:\n\n"
    "  TORNVEL <options> input product <output> <control>\n\n"
    "  Where:    options:  -v   verbose\n"
    "                      -nw  no warning situations\n";
const char kUsageEnd[] =
    "                      -?   display this text\n"
    "            input:    identifies the exported Pelloran profile.\n"
    "            product:  is the product code (R5, T5, W5, Y5).\n"
    "            output:   identifies the output filename.\n"
    "            control:  name of product control file.\n\n";

TEST(CommandLineTest, UsageTextWordings) {
  const std::string create = std::string(kUsageStart) +
                             "                      -d   create comma delimited output file\n"
                             "                      -dh  create comma delimited output file with "
                             "header\n" +
                             kUsageEnd;
  const std::string dump = std::string(kUsageStart) +
                           "                      -d   dump comma delimited data\n"
                           "                      -dh  dump comma delimited data with header\n" +
                           kUsageEnd;
  struct Case {
    std::vector<std::string> args;
    const std::string* text;
    int exitCode;
  };
  const Case cases[] = {
      {{}, &create, 8},
      {{"PROF.TXT"}, &create, 8},
      {{"-?"}, &create, 8},  // the argument count is tested before any switch
      {{"-?", "x"}, &dump, 0},
      {{"PROF.TXT", "R55", "-?"}, &dump, 0},  // even after a faulty argument
      {{"a", "r5", "c", "d", "-v", "-?"}, &dump, 0},
      {{"--strict", "-?", "--dry-run"}, &create, 8},  // the long options do not count
      {{"--dry-run", "-?", "x"}, &dump, 0},
      {{"--summary", "S.JSON", "-?"}, &create, 8},  // nor does the summary's file name
      {{"--summary=S.JSON", "PROF.TXT"}, &create, 8},
      {{"--summary", "-?", "x", "--dry-run"}, &create, 8},  // "-?" is the file name here
  };
  for (const Case& c : cases) {
    Outcome outcome = setUp(c.args);
    EXPECT_FALSE(outcome.result.proceed);
    EXPECT_EQ(static_cast<int>(outcome.result.exitCode), c.exitCode);
    EXPECT_EQ(outcome.output, *c.text);
  }
}

// "--help" and "--version" win over every other rule wherever they stand: the
// argument count, "-?", a faulty product and a fifth positional argument.
TEST(CommandLineTest, LongHelpAndVersionSwitches) {
  const std::string dump = std::string(kUsageStart) +
                           "                      -d   dump comma delimited data\n"
                           "                      -dh  dump comma delimited data with header\n" +
                           kUsageEnd;
  // --help: the usage text of -?, an empty line, build mode's switch (which
  // the usage text leaves out), an empty line and the long options.
  const std::string help =
      dump +
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
  const std::string version = "tornvel 3.323\n";
  struct Case {
    std::vector<std::string> args;
    const std::string* text;
  };
  const Case cases[] = {
      {{"--help"}, &help},
      {{"--version"}, &version},
      {{"-?", "--version"}, &version},
      {{"PROF.TXT", "R55", "--help"}, &help},
      {{"a", "r5", "c", "d", "e", "--version"}, &version},
      {{"--version", "--help"}, &version},  // the first of the two wins
      {{"P", "t5", "--help", "--version"}, &help},
  };
  for (const Case& c : cases) {
    Outcome outcome = setUp(c.args);
    EXPECT_FALSE(outcome.result.proceed);
    EXPECT_EQ(outcome.result.exitCode, ExitCode::kCompleted);
    EXPECT_EQ(outcome.output, *c.text);
  }
  // Only the exact spellings are switches; anything else is positional.
  Outcome other = setUp({"--HELP", "--dry-run", "t5", "-version", "--strict"});
  ASSERT_TRUE(other.result.proceed);
  EXPECT_EQ(other.options.inputName, "--HELP");
  EXPECT_EQ(other.options.outputName, "-version");
  EXPECT_TRUE(other.options.dryRun && other.options.strict);
}

// The summary file: after "=", or the next argument whatever it looks like.
TEST(CommandLineTest, SummaryFile) {
  struct Case {
    std::vector<std::string> args;
    std::string summaryName;  // empty: a set-up fault
  };
  const Case cases[] = {
      {{"--summary=RUNS.JSON", "PROF.TXT", "t5"}, "RUNS.JSON"},
      {{"PROF.TXT", "--summary", "RUNS.JSON", "t5"}, "RUNS.JSON"},
      {{"PROF.TXT", "t5", "--summary", "-v"}, "-v"},
      {{"PROF.TXT", "t5", "--summary=a=b"}, "a=b"},
      {{"PROF.TXT", "t5", "--summary"}, ""},
      {{"PROF.TXT", "t5", "--summary="}, ""},
  };
  for (const Case& c : cases) {
    Outcome outcome = setUp(c.args);
    if (c.summaryName.empty()) {
      EXPECT_FALSE(outcome.result.proceed);
      EXPECT_EQ(outcome.result.exitCode, ExitCode::kCommandLine);
      EXPECT_EQ(outcome.output, "Missing the name of the summary file\n");
      continue;
    }
    ASSERT_TRUE(outcome.result.proceed);
    EXPECT_EQ(outcome.options.summaryName, c.summaryName);
    EXPECT_EQ(outcome.options.inputName, "PROF.TXT");
    EXPECT_FALSE(outcome.options.verbose);
  }
}

TEST(CommandLineTest, SetUpFaults) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"a", "r5", "c", "d", "e", "-?"}, "Too many options on command line\n"},
      {{"-v", "-d"}, "Missing the name of the input file\n"},
      // An empty input argument leaves the slot to the next positional one.
      {{"", "r5"}, "Invalid or missing product code \n"},
      {{"", "-v"}, "Missing the name of the input file\n"},
      {{"PROF.TXT", "R55"}, "Invalid or missing product code ZR55\n"},
      {{"PROF.TXT", "-v"}, "Invalid or missing product code \n"},
      {{"PROF.TXT", ""}, "Invalid or missing product code Z\n"},
  };
  for (const Case& c : cases) {
    Outcome outcome = setUp(c.args);
    EXPECT_FALSE(outcome.result.proceed);
    EXPECT_EQ(outcome.result.exitCode, ExitCode::kCommandLine);
    EXPECT_EQ(outcome.output, c.message);
  }
}

TEST(CommandLineTest, ProductCodesAndDerivedNames) {
  struct Case {
    const char* argument;
    const char* product;
    const char* file;
    Product kind;
  };
  const Case cases[] = {
      {"r5", "ZR5", "ZR5", Product::kSystem},      {"T5", "ZTQ", "ZT5", Product::kDatabase},
      {"w5", "ZWQ", "ZW5", Product::kTransaction}, {"Y5", "ZYQ", "ZY5", Product::kIms},
      {"tq", "ZTQ", "ZT5", Product::kDatabase},    {"WQ", "ZWQ", "ZW5", Product::kTransaction},
      {"yq", "ZYQ", "ZY5", Product::kIms},         {"ab", "ZAB", "ZAB", Product::kUnsupported},
  };
  for (const Case& c : cases) {
    Outcome outcome = setUp({"PROF.TXT", c.argument});
    ASSERT_TRUE(outcome.result.proceed) << c.argument;
    const RunOptions& o = outcome.options;
    EXPECT_EQ(o.productCode, c.product);
    EXPECT_EQ(o.fileCode, c.file);
    EXPECT_EQ(o.recordedCode, c.kind == Product::kIms ? std::string("IMS") : c.product);
    EXPECT_EQ(o.fallbackControlName,
              std::string(c.product) == c.file ? "" : std::string(c.file) + "PROD.TXT");
    EXPECT_EQ(o.product, c.kind) << c.argument;
    EXPECT_EQ(o.outputName, std::string("SQLLIB\\") + c.file + "_UPD.SQL");
    EXPECT_EQ(o.statementName, o.outputName);
    EXPECT_EQ(o.csvName, std::string("SQLLIB\\") + c.file + "_CDF.TXT");
    EXPECT_EQ(o.controlName, std::string(c.product) + "PROD.TXT");
    EXPECT_EQ(o.adviceName, std::string(c.file) + "_ADVICE.TXT");
    EXPECT_EQ(o.templateSeedName, "SQLLIB\\UR5_ZPX.SQL");
    EXPECT_EQ(outcome.output, "");
  }
}

TEST(CommandLineTest, SwitchesAndPositionalSlots) {
  Outcome outcome = setUp({"-V", "-dh", "w5", "", "OUT.SQL", "-nw", "", "CTL.TXT", "-bd", "-d"});
  ASSERT_TRUE(outcome.result.proceed);
  const RunOptions& o = outcome.options;
  EXPECT_EQ(o.inputName, "-V");  // only the listed switches are switches
  EXPECT_EQ(o.productCode, "ZWQ");
  EXPECT_EQ(o.outputName, "OUT.SQL");  // an empty argument leaves its slot empty
  EXPECT_EQ(o.controlName, "CTL.TXT");
  EXPECT_EQ(o.csvName, "SQLLIB\\ZW5_CDF.TXT");  // whatever the output argument says
  EXPECT_TRUE(o.csvOutput && o.csvHeader && o.noWarnings && o.buildMode);
  EXPECT_FALSE(o.verbose);
  EXPECT_EQ(o.statementName, "OUT.SQL");  // build mode, and no UPD to become INS
}

TEST(CommandLineTest, VerboseBanner) {
  Outcome outcome = setUp({"PROF.TXT", "wq", "-v"});
  ASSERT_TRUE(outcome.result.proceed);
  EXPECT_EQ(outcome.output,
            "\n\nTORNVEL Version: 03.323\n\nOptions:\tVerbose\n"
            "         \tGenerate Warnings\n"
            "         \tInput Profile Name:\tPROF.TXT\n"
            "         \tOutput file Name:  \tSQLLIB\\ZW5_UPD.SQL\n"
            "         \tProduct Code:      \tZWQ\n"
            "         \tControl file Name: \tZWQPROD.TXT\n"
            "\n\n\n");
  Outcome noWarnings = setUp({"-nw", "-v", "P", "r5", "-bd"});
  EXPECT_NE(noWarnings.output.find("         \tNo Warnings\n"), std::string::npos);
  // The banner shows the output name before build mode changes it.
  EXPECT_NE(noWarnings.output.find("\tSQLLIB\\ZR5_UPD.SQL\n"), std::string::npos);
}

}  // namespace
}  // namespace tornvel
