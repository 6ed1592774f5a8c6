#include "readers/sectioned_profile_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "readers/reader_test_support.h"

namespace tornvel {
namespace {

constexpr std::string_view kLimitWarning =
    "\nWarning:\tYou have exceeded the number of supported exceptions.\n"
    "        \tThe current limit is 512\n";

// An open threshold table with an open row.
const std::string kOpenRow = "Begin Profile P\nBegin Section S\nBegin Table PR.DEVICE\nBegin Row\n";

struct SectionedRun : ReaderRun {
  SectionedRun() : ReaderRun("ZR5", readSectionedProfile, "V110") {}
};

TEST(SectionedProfileReaderTest, SplitsColumnLines) {
  struct Case {
    std::string line;
    std::string column, name;
    char kind;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {" ABC1W(85)\n", "ABC1W", "ABC1", 'W', "85"},
      {"xABC1C( 9 5 )\n", "ABC1C", "ABC1", 'C', " 9 5 "},
      {"   ABC1W (85)\n", "ABC1W", "ABC1", 'W', "(85"},
      {" ABC1W\n", "ABC1W", "ABC1", 'W', std::nullopt},
      {" \n", "", "", '\0', std::nullopt},
      {"", "", "", '\0', std::nullopt},
      {" ABCDEFGHIJKLMNOPQRSTUVWXYZ(" + std::string(45, '7') + ")\n", "ABCDEFGHIJKLMNOPQRS",
       "ABCDEFGHIJKLMNOPQR", 'S', std::string(39, '7')},
  };
  for (const Case& c : cases) {
    ColumnLine split = splitColumnLine(c.line);
    EXPECT_EQ(split.column, c.column) << c.line;
    EXPECT_EQ(split.exceptionName, c.name) << c.line;
    EXPECT_EQ(split.kind, c.kind) << c.line;
    EXPECT_EQ(split.value, c.value) << c.line;
  }
}

TEST(SectionedProfileReaderTest, PairsWarningAndCriticalColumns) {
  struct Case {
    const char* what;
    std::string profile;
    std::string warning, critical;
    bool warningEnabled;
    std::string otherCritical;
  };
  const Case cases[] = {
      {"warning then critical", kOpenRow + " ABC1W(85)\n ABC1C(95)\nEnd Row\n", "85", "95", 1, ""},
      {"critical then warning", kOpenRow + " ABC1C(95)\n ABC1W(85)\nEnd Row\n", "85", "95", 1, ""},
      {"another exception follows", kOpenRow + " ABC1W(85)\n ABC2C(50)\nEnd Row\n", "85", "", 1,
       "50.0"},
      {"End Row follows and closes the row",
       kOpenRow + " ABC1W(85)\nEnd Row\n ABC1C(95)\n ABC2C(50)\n", "85", "", 1, ""},
      {"neither kind holds nothing",
       kOpenRow + " ABC1X(85)\n ABC1W\n ABC1C()\n ABC1W(80)\n ABC1X(1)\n ABC1C(90)\nEnd Row\n",
       "80", "90", 1, ""},
      {"profile ends while looking ahead", kOpenRow + " ABC1W(85)", "85", "", 1, ""},
      {"a later text of the same kind replaces",
       kOpenRow + " ABC1W(OFF)\n ABC1W(85)\n ABC1C(95)\nEnd Row\n", "85", "95", 1, ""},
      {"a comment never pairs", kOpenRow + " ABC1W(85)\n*ABC1C(95)\nEnd Row\n", "85", "", 1, ""},
      {"values are upper-cased", kOpenRow + " ABC1W(oFf)\n ABC1C(n/a)\nEnd Row\n", "", "N/A", 0,
       ""},
  };
  for (const Case& c : cases) {
    SectionedRun run;
    ExceptionDefinition& abc1 = run.define("ABC1");
    // A decimal type: the setter lengthens the reader's text in place.
    ExceptionDefinition& abc2 = run.define("ABC2", "F");
    run.read(c.profile);
    EXPECT_EQ(abc1.condition(Severity::kWarning).value, c.warning) << c.what;
    EXPECT_EQ(abc1.condition(Severity::kCritical).value, c.critical) << c.what;
    EXPECT_EQ(abc1.condition(Severity::kWarning).enabled, c.warningEnabled) << c.what;
    EXPECT_EQ(abc2.condition(Severity::kCritical).value, c.otherCritical) << c.what;
    EXPECT_EQ(run.out.str(), "") << c.what;
  }
}

TEST(SectionedProfileReaderTest, LevelsFollowBeginAndEndLines) {
  SectionedRun run;
  ExceptionDefinition& abc1 = run.define("ABC1");
  ExceptionDefinition& abc2 = run.define("ABC2");
  ExceptionDefinition& secondAbc1 = run.define("ABC1");  // only the first of a name is found
  run.read(
      " ABC1W(10)\n"                                 // outside a row: not read
      "Begin Row\n ABC1W(20)\nEnd Row\n"             // a row without a table is read
      "Begin Table PR.DEVICE\nBegin Table PR.WLM\n"  // the second is an ordinary line
      "Begin Row\n* ABC2W(30)\n ABC2C(40)\nEnd Row\nEnd Table\nEnd Table\n");
  EXPECT_EQ(abc1.condition(Severity::kWarning).value, "20");
  EXPECT_EQ(secondAbc1.condition(Severity::kWarning).value, "");
  EXPECT_EQ(abc2.condition(Severity::kWarning).value, "");
  EXPECT_EQ(abc2.condition(Severity::kCritical).value, "40");
  EXPECT_EQ(run.table.size(), 3u);
}

TEST(SectionedProfileReaderTest, WorkloadRowsBecomeServiceClassDefinitions) {
  SectionedRun run;
  ExceptionDefinition& abc1 = run.define("ABC1");
  run.read(
      "Begin Table PR.WLM\n"
      "Begin Row\n PRWLMSC(BATCH)\n PRWLMPD(1)\nEnd Row\n"
      "Begin Row\nEnd Row\n"
      "Begin Row\n PRWLMSC(ONLINE)\nEnd Row\nEnd Table\n"
      "Begin Table PR.DEVICE\nBegin Row\n ABC1W(85)\nEnd Row\nEnd Table\n");
  ASSERT_EQ(run.table.size(), 3u);
  EXPECT_EQ(run.table.at(1).name(), "SVCL");
  EXPECT_EQ(run.table.at(1).serviceClass()->className, "BATCH");
  EXPECT_EQ(run.table.at(1).serviceClass()->period, "1");
  EXPECT_EQ(run.table.at(1).release(), "V110");
  EXPECT_EQ(run.table.at(2).serviceClass()->className, "ONLINE");
  EXPECT_EQ(abc1.condition(Severity::kWarning).value, "85");
}

TEST(SectionedProfileReaderTest, StopsWhenAWorkloadRowFillsTheTable) {
  for (std::size_t controlDefinitions : {511u, 512u}) {
    SectionedRun run;
    ExceptionDefinition& abc1 = run.define("ABC1");
    while (run.table.size() < controlDefinitions)
      run.define("D" + std::to_string(run.table.size()));
    run.read(
        "Begin Table PR.DEVICE\nBegin Row\n LOST(1)\nEnd Row\nEnd Table\n"
        "Begin Table PR.WLM\nBegin Row\n PRWLMSC(BATCH)\nEnd Row\nEnd Table\n"
        "Begin Table PR.DEVICE\nBegin Row\n ABC1W(85)\nEnd Row\nEnd Table\n",
        true);
    EXPECT_EQ(run.table.size(), 512u);
    EXPECT_EQ(run.table.at(511).name(), controlDefinitions == 511 ? "SVCL" : "D511");
    EXPECT_EQ(abc1.condition(Severity::kWarning).value, "");  // reading stopped at the row
    // The tally follows the warning.
    // clang-format off
    EXPECT_EQ(run.out.str(),
              std::string(kLimitWarning) +
                  "\n\nExceptions in profile not handled:\n\n"
                  "Name            \tTable           \tCount\n"
                  "LOST            " "    \t" "DEVICE          " "    \t" "1\n"
                  "\n");
    // clang-format on
  }
}

TEST(SectionedProfileReaderTest, TalliesUnmatchedColumnsInVerboseRuns) {
  const std::string longTable(45, 'T');
  const std::string profile =
      "Begin Table PR.DEVICE\nBegin Row\n"
      " ABC(1)\n ABC(2)\n IDX(3)\n ID(4)\n USERID(5)\n NAME(6)\n IDW(7)\n ABC1X(9)\n ABC(3)\n"
      "End Row\nEnd Table\n"
      "Begin Table PR.TRENDS\nBegin Row\n XYZ(1)\nEnd Row\nEnd Table\n"
      "Begin Table PR.CPU\nBegin Row\n ABC(1)\nEnd Row\nEnd Table\n"
      "Begin Row\n NOTABLE(1)\nEnd Row\n"
      "Begin Table PR." +
      longTable + "\nBegin Row\n ABCDEFGHIJKLMNOPQRSTU(1)\nEnd Row\n";
  for (bool verbose : {false, true}) {
    SectionedRun run;
    run.define("ABC1");
    run.read(profile, verbose);
    // The counted columns are kept one by one with their lines, in either run.
    EXPECT_EQ(unhandledOf(run.findings),
              (std::vector<std::string>{"ABC@3@DEVICE", "ABC@4@DEVICE", "IDX@5@DEVICE",
                                        "IDW@9@DEVICE", "ABC@11@DEVICE", "ABC@21@CPU",
                                        "ABCDEFGHIJKLMNOPQRS@29@" + std::string(39, 'T')}));
    if (!verbose) {
      EXPECT_EQ(run.out.str(), "");
      continue;
    }
    // clang-format off
    EXPECT_EQ(run.out.str(),
              "\n\nExceptions in profile not handled:\n\n"
              "Name            \tTable           \tCount\n"
              "ABC             " "    \t" "DEVICE          " "    \t" "3\n"
              "IDX             " "    \t" "DEVICE          " "    \t" "1\n"
              "IDW             " "    \t" "DEVICE          " "    \t" "1\n"
              "ABC             " "    \t" "CPU             " "    \t" "1\n"
              "ABCDEFGHIJKLMNOPQRS" "    \t" + std::string(39, 'T') + "    \t" "1\n"
              "\n");
    // clang-format on
  }
}

}  // namespace
}  // namespace tornvel
