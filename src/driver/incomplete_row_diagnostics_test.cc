// What the run tells of a workload row that leaves keywords out: the keywords,
// then what their absence does to the row's situations.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

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

// The keywords a row leaves out, then what their absence does; a busy
// threshold left out is off, which is no mistake.
TEST(IncompleteRowDiagnosticsTest, TellWhatTheMissingKeywordsDo) {
  const std::string batch = "tornvel: PROF.TXT: service class BATCH period 1 gives no ";
  const std::pair<const char*, std::string> cases[] = {
      {"PRWLMBS", ""},
      {"PRWLMCI", batch + "PRWLMCI; its index situations compare with an empty value\n"},
      {"PRWLMWO", batch + "PRWLMWO; its I/O warning is off\n"},
      {"PRWLMCC PRWLMWS PRWLMCS", batch + "PRWLMWS, PRWLMCS, PRWLMCC; its storage warning and "
                                          "critical are off, its CPU critical is off\n"},
      {"PRWLMSC PRWLMPD PRWLMWI PRWLMCI PRWLMWO PRWLMCO PRWLMWS PRWLMCS PRWLMWC PRWLMCC",
       "tornvel: PROF.TXT: service class  period  gives no PRWLMSC, PRWLMPD, PRWLMWI, PRWLMCI, "
       "PRWLMWO, PRWLMCO, PRWLMWS, PRWLMCS, PRWLMWC, PRWLMCC; its situations compare the class "
       "with an empty name, its situations compare the period with an empty value, its index "
       "situations compare with an empty value, its I/O warning and critical are off, its "
       "storage warning and critical are off, its CPU warning and critical are off\n"},
  };
  for (const auto& [leftOut, told] : cases) EXPECT_EQ(diagnosticsWithout(leftOut), told) << leftOut;
}

}  // namespace
}  // namespace tornvel
