// What the run tells of a workload row that leaves keywords out: the keywords,
// then what their absence does to the row's situations.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "driver/diagnostics.h"
#include "readers/service_class_row_reader.h"

namespace tornvel {
namespace {

constexpr const char* kFullRow[] = {" PRWLMSC('BATCH')\n", " PRWLMPD(1)\n",    " PRWLMWI(150)\n",
                                    " PRWLMCI(200)\n",     " PRWLMWO(500)\n",  " PRWLMCO(900)\n",
                                    " PRWLMWS(1200)\n",    " PRWLMCS(1500)\n", " PRWLMWC(800)\n",
                                    " PRWLMCC(950)\n",     " PRWLMBS(ON)\n"};

// The diagnostics of one row made of the full row's lines without those
// whose keyword `leftOut` names.
std::string diagnosticsWithout(std::string_view leftOut) {
  std::string lines;
  for (std::string_view line : kFullRow) {
    if (leftOut.find(line.substr(1, 7)) == std::string_view::npos) lines += line;
  }
  LineReader profile;
  profile.openText(lines + " End Row\n");
  ServiceClassRow row = ServiceClassRowReader::read(profile, "Begin Row\n", "V100");
  ProfileFindings findings;
  if (!row.missing.empty()) {
    const ServiceClassThresholds& given = *row.definition->serviceClass();
    findings.incompleteRows.push_back({given.className, given.period, row.missing});
  }
  std::ostringstream out;
  std::ostringstream errors;
  Console console(out, errors);
  diagnoseProfileFindings(console, "PROF.TXT", findings, DefinitionTable());
  return errors.str();
}

TEST(IncompleteRowDiagnosticsTest, TellWhatTheMissingKeywordsDo) {
  struct Case {
    const char* leftOut;
    const char* told;  // after "service class C period P gives no "
  };
  const Case cases[] = {
      {"PRWLMCI", "PRWLMCI; its index situations compare with an empty value"},
      {"PRWLMWI PRWLMCI", "PRWLMWI, PRWLMCI; its index situations compare with an empty value"},
      {"PRWLMWO", "PRWLMWO; its I/O warning is off"},
      {"PRWLMCC PRWLMWS PRWLMCS",
       "PRWLMWS, PRWLMCS, PRWLMCC; its storage warning and critical are off, its CPU critical is "
       "off"},
      {"PRWLMCO PRWLMWI",
       "PRWLMWI, PRWLMCO; its index situations compare with an empty value, its "
       "I/O critical is off"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        diagnosticsWithout(c.leftOut),
        std::string("tornvel: PROF.TXT: service class BATCH period 1 gives no ") + c.told + "\n")
        << c.leftOut;
  }
}

TEST(IncompleteRowDiagnosticsTest, ClassAndPeriodAreComparedAsEmptyTexts) {
  EXPECT_EQ(diagnosticsWithout("PRWLMSC PRWLMPD"),
            "tornvel: PROF.TXT: service class  period  gives no PRWLMSC, PRWLMPD; its situations "
            "compare the class with an empty name, its situations compare the period with an "
            "empty value\n");
  EXPECT_EQ(diagnosticsWithout("PRWLMSC PRWLMPD PRWLMWI PRWLMCI PRWLMWO PRWLMCO PRWLMWS PRWLMCS "
                               "PRWLMWC PRWLMCC PRWLMBS"),
            "tornvel: PROF.TXT: service class  period  gives no PRWLMSC, PRWLMPD, PRWLMWI, "
            "PRWLMCI, PRWLMWO, PRWLMCO, PRWLMWS, PRWLMCS, PRWLMWC, PRWLMCC; its situations "
            "compare the class with an empty name, its situations compare the period with an "
            "empty value, its index situations compare with an empty value, its I/O warning and "
            "critical are off, its storage warning and critical are off, its CPU warning and "
            "critical are off\n");
}

// A row without a busy threshold has busy off, which is no mistake.
TEST(IncompleteRowDiagnosticsTest, BusyThresholdLeftOutIsNotTold) {
  EXPECT_EQ(diagnosticsWithout("PRWLMBS"), "");
}

}  // namespace
}  // namespace tornvel
