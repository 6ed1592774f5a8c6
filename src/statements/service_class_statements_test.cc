#include "statements/service_class_statements.h"

#include <gtest/gtest.h>

#include <string>

#include "statements/insert_heads.h"
#include "statements/update_statements.h"

namespace tornvel {
namespace {

constexpr std::string_view kTimestamp = "1261207093000000";

// A workload row as the sectioned profile reader turns it into a definition:
// service class BATCHLOW, period 1.
DefinitionInputs batchLow(std::string_view release) {
  DefinitionInputs in;
  in.product = Product::kSystem;
  in.recordedCode = "ZR5";
  in.release = release;
  in.name = "WLMROW";
  in.attribute = "";
  in.serviceClass = "BATCHLOW";
  in.period = "1";
  in.indexWarning = "1.50";
  in.indexCritical = "2.00";
  in.ioWarning = "50";
  in.ioCritical = "90";
  in.storageWarning = "400";
  in.storageCritical = "800";
  in.cpuWarning = "20";
  in.cpuCritical = "40";
  in.busyThreshold = "OFF";
  return in;
}

// What the statement holds after the head; empty when nothing was built.
std::string warningAfterHead(const ExceptionDefinition& definition, int kind) {
  std::string out;
  if (buildStatement(definition, Severity::kWarning, out, kTimestamp, kind,
                     kServiceClassInsertHead) != BuildResult::kWritten) {
    return "";
  }
  EXPECT_EQ(out.substr(0, kServiceClassInsertHead.size()), kServiceClassInsertHead);
  return out.substr(kServiceClassInsertHead.size());
}

std::string criticalAfterHead(const ExceptionDefinition& definition, int kind) {
  std::string out;
  if (buildStatement(definition, Severity::kCritical, out, kTimestamp, kind,
                     kServiceClassInsertHead) != BuildResult::kWritten) {
    return "";
  }
  EXPECT_EQ(out.substr(0, kServiceClassInsertHead.size()), kServiceClassInsertHead);
  return out.substr(kServiceClassInsertHead.size());
}

TEST(ServiceClassStatementsTest, PerformanceIndexWarningAndItsRow) {
  ExceptionDefinition definition(batchLow("V100"));
  EXPECT_EQ(warningAfterHead(definition, 0),
            "\"1261207093000000\",\"Service Class BATCHLOW Period 1 Warning situation\","
            "\"ZR5_BATCHLOWP1_Warning\",\"*IF *VALUE MWLMPR.CLSNAME *EQ BATCHLOW *AND *VALUE "
            "MWLMPR.PERIODNUM *EQ 1 *AND *VALUE MWLMPR.PERHINDX *GE 1.50 *AND *VALUE "
            "MWLMPR.PERHINDX *LT 2.00\");\n");
  std::string row;
  ASSERT_EQ(buildTemplateRow(definition, Severity::kWarning, row, 0), BuildResult::kWritten);
  EXPECT_EQ(row,
            "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_BATCHLOWP1_Warning\", "
            "\"Warning\", \"WLM_Service_Class_Resources\", 0 );\n");
  ASSERT_EQ(buildTemplateRow(definition, Severity::kCritical, row, 0), BuildResult::kWritten);
  EXPECT_EQ(row,
            "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_BATCHLOWP1_Critical\", "
            "\"Critical\", \"WLM_Service_Class_Resources\", 0 );\n");
}

TEST(ServiceClassStatementsTest, BusyThresholdJoinsBothIndexFormulas) {
  DefinitionInputs in = batchLow("V100");
  in.busyThreshold = "80";
  ExceptionDefinition definition(in);
  EXPECT_EQ(criticalAfterHead(definition, 0),
            "\"1261207093000000\",\"Service Class BATCHLOW Period 1 Critical situation\","
            "\"ZR5_BATCHLOWP1_Critical\",\"*IF *VALUE MWLMPR.CLSNAME *EQ BATCHLOW *AND *VALUE "
            "MWLMPR.PERIODNUM *EQ 1 *AND *VALUE MWLMPR.BUSY *GE 80 *AND *VALUE MWLMPR.PERHINDX "
            "*GE 2.00\");\n");
  EXPECT_NE(warningAfterHead(definition, 0)
                .find("PERIODNUM *EQ 1 *AND *VALUE MWLMPR.BUSY *GE 80 *AND *VALUE "
                      "MWLMPR.PERHINDX *GE 1.50 *AND"),
            std::string::npos);
  // Only the index kind carries the busy clause.
  EXPECT_EQ(warningAfterHead(definition, 1).find("BUSY"), std::string::npos);
}

TEST(ServiceClassStatementsTest, OtherReleasesUseTheOs390Names) {
  ExceptionDefinition definition(batchLow("V110"));
  EXPECT_EQ(criticalAfterHead(definition, 3),
            "\"1261207093000000\",\"Service Class BATCHLOW Period 1 CPU Critical situation\","
            "\"OS390_CPU_BATCHLOWP1_Crit\",\"*IF *VALUE MWLMPR.CLSNAME *EQ BATCHLOW *AND *VALUE "
            "MWLMPR.PERIODNUM *EQ 1 *AND *VALUE MWLMPR.PCTCPU *GE 40\");\n");
}

TEST(ServiceClassStatementsTest, KindsDifferInNameTextAndAttribute) {
  struct Case {
    const char* release;
    int kind;
    const char* warning;
    const char* critical;
    const char* textEnd;  // of the warning's TEXT
    const char* formulaEnd;
  };
  const Case cases[] = {
      {"V100", 0, "ZR5_BATCHLOWP1_Warning", "ZR5_BATCHLOWP1_Critical", "1 Warning",
       "PERHINDX *GE 1.50 *AND *VALUE MWLMPR.PERHINDX *LT 2.00"},
      {"V100", 1, "ZR5_IO_BATCHLOWP1_Warning", "ZR5_IO_BATCHLOWP1_Critical", "1 I/O Warning",
       "IORATE *GE 50 *AND *VALUE MWLMPR.IORATE *LT 90"},
      {"V100", 2, "ZR5_STG_BATCHLOWP1_Warning", "ZR5_STG_BATCHLOWP1_Critical", "1 STG Warning",
       "AVGSTOR *GE 400 *AND *VALUE MWLMPR.AVGSTOR *LT 800"},
      {"V100", 3, "ZR5_CPU_BATCHLOWP1_Warning", "ZR5_CPU_BATCHLOWP1_Critical", "1 CPU Warning",
       "PCTCPU *GE 20 *AND *VALUE MWLMPR.PCTCPU *LT 40"},
      {"V110", 0, "OS390_BATCHLOWP1_Warn", "OS390_BATCHLOWP1_Crit", "1 Warning", "2.00"},
      {"V110", 1, "OS390_IO_BATCHLOWP1_Warn", "OS390_IO_BATCHLOWP1_Crit", "I/O Warning", "90"},
      {"", 2, "OS390_STG_BATCHLOWP1_Warn", "OS390_STG_BATCHLOWP1_Crit", "STG Warning", "800"},
      {"v100", 3, "OS390_CPU_BATCHLOWP1_Warn", "OS390_CPU_BATCHLOWP1_Crit", "CPU Warning", "40"},
  };
  for (const Case& c : cases) {
    ExceptionDefinition definition(batchLow(c.release));
    SCOPED_TRACE(std::string(c.release) + " kind " + std::to_string(c.kind));
    const std::string warning = warningAfterHead(definition, c.kind);
    EXPECT_NE(warning.find(std::string(c.textEnd) + " situation\",\"" + c.warning + "\",\"*IF"),
              std::string::npos);
    EXPECT_NE(warning.find(std::string(c.formulaEnd) + "\");\n"), std::string::npos);
    EXPECT_NE(criticalAfterHead(definition, c.kind).find(std::string(",\"") + c.critical + "\","),
              std::string::npos);
    std::string row;
    ASSERT_EQ(buildTemplateRow(definition, Severity::kWarning, row, c.kind), BuildResult::kWritten);
    EXPECT_NE(row.find(std::string("VALUES(\"") + c.warning + "\", \"Warning\""),
              std::string::npos);
    ASSERT_EQ(buildTemplateRow(definition, Severity::kCritical, row, c.kind),
              BuildResult::kWritten);
    EXPECT_NE(row.find(std::string("VALUES(\"") + c.critical + "\", \"Critical\""),
              std::string::npos);
  }
}

TEST(ServiceClassStatementsTest, OffInAnyCaseSwitchesAKindOff) {
  DefinitionInputs in = batchLow("V100");
  in.ioWarning = "Off";
  in.busyThreshold = "off";
  ExceptionDefinition definition(in);
  std::string out;
  EXPECT_EQ(
      buildStatement(definition, Severity::kWarning, out, kTimestamp, 1, kServiceClassInsertHead),
      BuildResult::kDeclined);
  EXPECT_EQ(buildTemplateRow(definition, Severity::kWarning, out, 1), BuildResult::kDeclined);
  // Asked again, the kind is still off; the definition keeps the profile's text.
  EXPECT_EQ(
      buildStatement(definition, Severity::kWarning, out, kTimestamp, 1, kServiceClassInsertHead),
      BuildResult::kDeclined);
  EXPECT_EQ(definition.serviceClass()->ioWarning, "Off");
  // The critical follows its own threshold.
  EXPECT_NE(criticalAfterHead(definition, 1).find("MWLMPR.IORATE *GE 90\");"), std::string::npos);
  EXPECT_EQ(buildTemplateRow(definition, Severity::kCritical, out, 1), BuildResult::kWritten);
  // A busy threshold of "off" leaves the busy clause out of both index formulas.
  EXPECT_EQ(criticalAfterHead(definition, 0).find("BUSY"), std::string::npos);
  EXPECT_EQ(warningAfterHead(definition, 0).find("BUSY"), std::string::npos);
  EXPECT_EQ(definition.serviceClass()->busy, "off");
}

TEST(ServiceClassStatementsTest, CriticalOffDropsTheWarningsUpperClause) {
  DefinitionInputs in = batchLow("V100");
  in.ioCritical = "OFF";
  in.storageWarning = "4k";
  ExceptionDefinition definition(in);
  EXPECT_NE(warningAfterHead(definition, 1)
                .find("\"*IF *VALUE MWLMPR.CLSNAME *EQ BATCHLOW *AND *VALUE MWLMPR.PERIODNUM *EQ "
                      "1 *AND *VALUE MWLMPR.IORATE *GE 50\");\n"),
            std::string::npos);
  std::string out;
  EXPECT_EQ(
      buildStatement(definition, Severity::kCritical, out, kTimestamp, 1, kServiceClassInsertHead),
      BuildResult::kDeclined);
  EXPECT_EQ(buildTemplateRow(definition, Severity::kCritical, out, 1), BuildResult::kDeclined);
  // A tested threshold is written as it was tested: upper-cased.
  EXPECT_NE(warningAfterHead(definition, 2).find("MWLMPR.AVGSTOR *GE 4K *AND"), std::string::npos);
}

TEST(ServiceClassStatementsTest, PerformanceIndexIsNeverSwitchedOff) {
  DefinitionInputs in = batchLow("V100");
  in.indexWarning = "off";
  in.indexCritical = "off";
  ExceptionDefinition definition(in);
  EXPECT_NE(warningAfterHead(definition, 0)
                .find("MWLMPR.PERHINDX *GE off *AND *VALUE MWLMPR.PERHINDX *LT off\");"),
            std::string::npos);
  EXPECT_NE(criticalAfterHead(definition, 0).find("MWLMPR.PERHINDX *GE off\");"),
            std::string::npos);
  std::string row;
  EXPECT_EQ(buildTemplateRow(definition, Severity::kWarning, row, 0), BuildResult::kWritten);
  EXPECT_EQ(buildTemplateRow(definition, Severity::kCritical, row, 0), BuildResult::kWritten);
  EXPECT_EQ(definition.serviceClass()->indexWarning, "off");
}

TEST(ServiceClassStatementsTest, KindOutOfRangeProducesNothing) {
  ExceptionDefinition definition(batchLow("V100"));
  for (int kind : {-1, 4, 100}) {
    std::string out = "left over";
    EXPECT_EQ(buildStatement(definition, Severity::kWarning, out, kTimestamp, kind,
                             kServiceClassInsertHead),
              BuildResult::kDeclined);
    EXPECT_EQ(buildStatement(definition, Severity::kCritical, out, kTimestamp, kind,
                             kServiceClassInsertHead),
              BuildResult::kDeclined);
    EXPECT_EQ(buildTemplateRow(definition, Severity::kWarning, out, kind), BuildResult::kDeclined);
    EXPECT_EQ(buildTemplateRow(definition, Severity::kCritical, out, kind), BuildResult::kDeclined);
    EXPECT_EQ(out, "");
  }
}

TEST(ServiceClassStatementsTest, TemplateRowsIgnoreTheEnableFlags) {
  ExceptionDefinition definition(batchLow("V100"));
  definition.condition(Severity::kWarning).enabled = false;
  std::string out = "left over";
  EXPECT_EQ(
      buildStatement(definition, Severity::kWarning, out, kTimestamp, 0, kServiceClassInsertHead),
      BuildResult::kDisabled);
  EXPECT_EQ(out, "");
  EXPECT_EQ(buildTemplateRow(definition, Severity::kWarning, out, 2), BuildResult::kWritten);
  // The critical is still enabled: its statements carry the timestamp.
  EXPECT_EQ(criticalAfterHead(definition, 3).substr(0, 19), "\"1261207093000000\",");
}

TEST(ServiceClassStatementsTest, EveryKindUpToTheCountHasItsSituationsAndRows) {
  ExceptionDefinition definition(batchLow("V100"));
  std::string out;
  for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
    for (int kind = 0; kind <= kServiceClassKinds; ++kind) {
      const BuildResult expected =
          kind < kServiceClassKinds ? BuildResult::kWritten : BuildResult::kDeclined;
      EXPECT_EQ(
          buildStatement(definition, severity, out, kTimestamp, kind, kServiceClassInsertHead),
          expected)
          << kind;
      EXPECT_EQ(buildTemplateRow(definition, severity, out, kind), expected) << kind;
    }
  }
  ASSERT_EQ(buildTemplateRow(definition, Severity::kCritical, out, 2), BuildResult::kWritten);
  EXPECT_EQ(
      out,
      "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_STG_BATCHLOWP1_Critical\", "
      "\"Critical\", \"WLM_Service_Class_Resources\", 0 );\n");
}

}  // namespace
}  // namespace tornvel
