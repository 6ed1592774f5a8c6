#include "driver/summary.h"

#include <gtest/gtest.h>

#include <string>

namespace tornvel {
namespace {

TEST(SummaryLineTest, RunThatReachedNothing) {
  EXPECT_EQ(
      summaryLine(RunSummary{}),
      std::string(R"({"format":1,"version":")") + kProgramVersion +
          R"(","profile":"","product":"","productCode":"","fileCode":"",)"
          R"("control":null,"statementFile":"","exit":0,"dryRun":false,"strict":false,)"
          R"("counts":{"definitions":0,"thresholds":0,"statements":0,"templateRows":0,)"
          R"("thresholdLines":0,"unhandled":0},"unhandled":[],"warnings":[],"errors":[],"outputs":[]})"
          "\n");
}

TEST(SummaryLineTest, StrictRunThatWarned) {
  RunSummary summary;
  summary.version = "3.323";
  summary.profile = "prof\t1.txt";
  summary.product = "T5";
  summary.productCode = "ZTQ";
  summary.fileCode = "ZT5";
  summary.control = "ZTQPROD.TXT";
  summary.statementFile = "SQLLIB\\A.SQL";
  summary.exitCode = ExitCode::kStrictWarnings;
  summary.strict = true;
  summary.counts = {3, 2, 4, 0, 2, 2};
  summary.unhandled = {{"LOCKWIAT", 7, std::nullopt}, {"QPX", 12, "DEVICE"}};
  summary.warnings = {{kindWord(DiagnosticKind::kNearMissName), "prof\t1.txt", 7, "\"LOCKWAIT\"?"}};
  summary.errors = {{kindWord(DiagnosticKind::kLeftBehind), std::nullopt, std::nullopt, "left"}};
  summary.outputs = {{"SQLLIB\\A.SQL", "SQLLIB/A.SQL", 512, OutputFate::kUnchanged}};
  EXPECT_EQ(summaryLine(summary),
            R"({"format":1,"version":"3.323","profile":"prof\t1.txt","product":"T5",)"
            R"("productCode":"ZTQ","fileCode":"ZT5","control":"ZTQPROD.TXT",)"
            R"("statementFile":"SQLLIB\\A.SQL","exit":24,"dryRun":false,"strict":true,)"
            R"("counts":{"definitions":3,"thresholds":2,"statements":4,"templateRows":0,)"
            R"("thresholdLines":2,"unhandled":2},"unhandled":[{"name":"LOCKWIAT","line":7},)"
            R"({"name":"QPX","line":12,"table":"DEVICE"}],"warnings":[{"kind":"near-miss-name",)"
            R"("file":"prof\t1.txt","line":7,"message":"\"LOCKWAIT\"?"}],"errors":[{"kind":)"
            R"("left-behind","file":null,"line":null,"message":"left"}],"outputs":[{"name":)"
            R"("SQLLIB\\A.SQL","path":"SQLLIB/A.SQL","size":512,"fate":"unchanged"}]})"
            "\n");
}

}  // namespace
}  // namespace tornvel
