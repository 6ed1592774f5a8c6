#include "statements/service_class_statements.h"

#include <gtest/gtest.h>

#include <string>

#include "statements/insert_heads.h"

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
  in.serviceClass = ServiceClassThresholds{
      "BATCHLOW", "1", {{{"1.50", "2.00"}, {"50", "90"}, {"400", "800"}, {"20", "40"}}}, "OFF"};
  return in;
}

constexpr ResourceKind kIndex = ResourceKind::kPerformanceIndex;
constexpr ResourceKind kIo = ResourceKind::kIoRate;
constexpr ResourceKind kStorage = ResourceKind::kStorage;
constexpr ResourceKind kCpu = ResourceKind::kCpu;

Built statement(const ExceptionDefinition& definition, Severity severity, ResourceKind kind) {
  return buildServiceClassStatement(definition, severity, kTimestamp, kind,
                                    kServiceClassInsertHead);
}

// What the statement holds after the head; empty when nothing was built.
std::string afterHead(const ExceptionDefinition& definition, Severity severity, ResourceKind kind) {
  const Built built = statement(definition, severity, kind);
  if (!built.written()) return "";
  EXPECT_EQ(built.text.substr(0, kServiceClassInsertHead.size()), kServiceClassInsertHead);
  return built.text.substr(kServiceClassInsertHead.size());
}

std::string warningAfterHead(const ExceptionDefinition& definition, ResourceKind kind) {
  return afterHead(definition, Severity::kWarning, kind);
}

std::string criticalAfterHead(const ExceptionDefinition& definition, ResourceKind kind) {
  return afterHead(definition, Severity::kCritical, kind);
}

TEST(ServiceClassStatementsTest, PerformanceIndexWarningAndItsRow) {
  ExceptionDefinition definition(batchLow("V100"));
  EXPECT_EQ(warningAfterHead(definition, kIndex),
            "\"1261207093000000\",\"Service Class BATCHLOW Period 1 Warning situation\","
            "\"ZR5_BATCHLOWP1_Warning\",\"*IF *VALUE MWLMPR.CLSNAME *EQ BATCHLOW *AND *VALUE "
            "MWLMPR.PERIODNUM *EQ 1 *AND *VALUE MWLMPR.PERHINDX *GE 1.50 *AND *VALUE "
            "MWLMPR.PERHINDX *LT 2.00\");\n");
  Built row = buildTemplateRow(definition, Severity::kWarning, kIndex);
  ASSERT_TRUE(row.written());
  EXPECT_EQ(row.text,
            "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_BATCHLOWP1_Warning\", "
            "\"Warning\", \"WLM_Service_Class_Resources\", 0 );\n");
  row = buildTemplateRow(definition, Severity::kCritical, kIndex);
  ASSERT_TRUE(row.written());
  EXPECT_EQ(row.text,
            "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_BATCHLOWP1_Critical\", "
            "\"Critical\", \"WLM_Service_Class_Resources\", 0 );\n");
}

TEST(ServiceClassStatementsTest, BusyThresholdJoinsBothIndexFormulas) {
  DefinitionInputs in = batchLow("V100");
  in.serviceClass->busy = "80";
  ExceptionDefinition definition(in);
  EXPECT_EQ(criticalAfterHead(definition, kIndex),
            "\"1261207093000000\",\"Service Class BATCHLOW Period 1 Critical situation\","
            "\"ZR5_BATCHLOWP1_Critical\",\"*IF *VALUE MWLMPR.CLSNAME *EQ BATCHLOW *AND *VALUE "
            "MWLMPR.PERIODNUM *EQ 1 *AND *VALUE MWLMPR.BUSY *GE 80 *AND *VALUE MWLMPR.PERHINDX "
            "*GE 2.00\");\n");
  EXPECT_NE(warningAfterHead(definition, kIndex)
                .find("PERIODNUM *EQ 1 *AND *VALUE MWLMPR.BUSY *GE 80 *AND *VALUE "
                      "MWLMPR.PERHINDX *GE 1.50 *AND"),
            std::string::npos);
  // Only the index kind carries the busy clause.
  EXPECT_EQ(warningAfterHead(definition, kIo).find("BUSY"), std::string::npos);
}

TEST(ServiceClassStatementsTest, OtherReleasesUseTheOs390Names) {
  ExceptionDefinition definition(batchLow("V110"));
  EXPECT_EQ(criticalAfterHead(definition, kCpu),
            "\"1261207093000000\",\"Service Class BATCHLOW Period 1 CPU Critical situation\","
            "\"OS390_CPU_BATCHLOWP1_Crit\",\"*IF *VALUE MWLMPR.CLSNAME *EQ BATCHLOW *AND *VALUE "
            "MWLMPR.PERIODNUM *EQ 1 *AND *VALUE MWLMPR.PCTCPU *GE 40\");\n");
}

TEST(ServiceClassStatementsTest, KindsDifferInNameTextAndAttribute) {
  struct Case {
    const char* release;
    ResourceKind kind;
    const char* warning;
    const char* critical;
    const char* textEnd;  // of the warning's TEXT
    const char* formulaEnd;
  };
  const Case cases[] = {
      {"V100", kIndex, "ZR5_BATCHLOWP1_Warning", "ZR5_BATCHLOWP1_Critical", "1 Warning",
       "PERHINDX *GE 1.50 *AND *VALUE MWLMPR.PERHINDX *LT 2.00"},
      {"V100", kIo, "ZR5_IO_BATCHLOWP1_Warning", "ZR5_IO_BATCHLOWP1_Critical", "1 I/O Warning",
       "IORATE *GE 50 *AND *VALUE MWLMPR.IORATE *LT 90"},
      {"V100", kStorage, "ZR5_STG_BATCHLOWP1_Warning", "ZR5_STG_BATCHLOWP1_Critical",
       "1 STG Warning", "AVGSTOR *GE 400 *AND *VALUE MWLMPR.AVGSTOR *LT 800"},
      {"V100", kCpu, "ZR5_CPU_BATCHLOWP1_Warning", "ZR5_CPU_BATCHLOWP1_Critical", "1 CPU Warning",
       "PCTCPU *GE 20 *AND *VALUE MWLMPR.PCTCPU *LT 40"},
      {"V110", kIndex, "OS390_BATCHLOWP1_Warn", "OS390_BATCHLOWP1_Crit", "1 Warning", "2.00"},
      {"V110", kIo, "OS390_IO_BATCHLOWP1_Warn", "OS390_IO_BATCHLOWP1_Crit", "I/O Warning", "90"},
      {"", kStorage, "OS390_STG_BATCHLOWP1_Warn", "OS390_STG_BATCHLOWP1_Crit", "STG Warning",
       "800"},
      {"v100", kCpu, "OS390_CPU_BATCHLOWP1_Warn", "OS390_CPU_BATCHLOWP1_Crit", "CPU Warning", "40"},
  };
  for (const Case& c : cases) {
    ExceptionDefinition definition(batchLow(c.release));
    SCOPED_TRACE(std::string(c.release) + " kind " + std::to_string(static_cast<int>(c.kind)));
    const std::string warning = warningAfterHead(definition, c.kind);
    EXPECT_NE(warning.find(std::string(c.textEnd) + " situation\",\"" + c.warning + "\",\"*IF"),
              std::string::npos);
    EXPECT_NE(warning.find(std::string(c.formulaEnd) + "\");\n"), std::string::npos);
    EXPECT_NE(criticalAfterHead(definition, c.kind).find(std::string(",\"") + c.critical + "\","),
              std::string::npos);
    Built row = buildTemplateRow(definition, Severity::kWarning, c.kind);
    ASSERT_TRUE(row.written());
    EXPECT_NE(row.text.find(std::string("VALUES(\"") + c.warning + "\", \"Warning\""),
              std::string::npos);
    row = buildTemplateRow(definition, Severity::kCritical, c.kind);
    ASSERT_TRUE(row.written());
    EXPECT_NE(row.text.find(std::string("VALUES(\"") + c.critical + "\", \"Critical\""),
              std::string::npos);
  }
}

TEST(ServiceClassStatementsTest, OffInAnyCaseSwitchesAKindOff) {
  DefinitionInputs in = batchLow("V100");
  (*in.serviceClass)[kIo].warning = "Off";
  in.serviceClass->busy = "off";
  ExceptionDefinition definition(in);
  EXPECT_EQ(statement(definition, Severity::kWarning, kIo).result, BuildResult::kDeclined);
  EXPECT_EQ(buildTemplateRow(definition, Severity::kWarning, kIo).result, BuildResult::kDeclined);
  // Asked again, the kind is still off; the definition keeps the profile's text.
  EXPECT_EQ(statement(definition, Severity::kWarning, kIo).result, BuildResult::kDeclined);
  EXPECT_EQ((*definition.serviceClass())[kIo].warning, "Off");
  // The critical follows its own threshold.
  EXPECT_NE(criticalAfterHead(definition, kIo).find("MWLMPR.IORATE *GE 90\");"), std::string::npos);
  EXPECT_TRUE(buildTemplateRow(definition, Severity::kCritical, kIo).written());
  // A busy threshold of "off" leaves the busy clause out of both index formulas.
  EXPECT_EQ(criticalAfterHead(definition, kIndex).find("BUSY"), std::string::npos);
  EXPECT_EQ(warningAfterHead(definition, kIndex).find("BUSY"), std::string::npos);
  EXPECT_EQ(definition.serviceClass()->busy, "off");
}

TEST(ServiceClassStatementsTest, CriticalOffDropsTheWarningsUpperClause) {
  DefinitionInputs in = batchLow("V100");
  (*in.serviceClass)[kIo].critical = "OFF";
  (*in.serviceClass)[kStorage].warning = "4k";
  ExceptionDefinition definition(in);
  EXPECT_NE(warningAfterHead(definition, kIo)
                .find("\"*IF *VALUE MWLMPR.CLSNAME *EQ BATCHLOW *AND *VALUE MWLMPR.PERIODNUM *EQ "
                      "1 *AND *VALUE MWLMPR.IORATE *GE 50\");\n"),
            std::string::npos);
  EXPECT_EQ(statement(definition, Severity::kCritical, kIo).result, BuildResult::kDeclined);
  EXPECT_EQ(buildTemplateRow(definition, Severity::kCritical, kIo).result, BuildResult::kDeclined);
  // A tested threshold is written as it was tested: upper-cased.
  EXPECT_NE(warningAfterHead(definition, kStorage).find("MWLMPR.AVGSTOR *GE 4K *AND"),
            std::string::npos);
}

TEST(ServiceClassStatementsTest, PerformanceIndexIsNeverSwitchedOff) {
  DefinitionInputs in = batchLow("V100");
  (*in.serviceClass)[kIndex] = {"off", "off"};
  ExceptionDefinition definition(in);
  EXPECT_NE(warningAfterHead(definition, kIndex)
                .find("MWLMPR.PERHINDX *GE off *AND *VALUE MWLMPR.PERHINDX *LT off\");"),
            std::string::npos);
  EXPECT_NE(criticalAfterHead(definition, kIndex).find("MWLMPR.PERHINDX *GE off\");"),
            std::string::npos);
  EXPECT_TRUE(buildTemplateRow(definition, Severity::kWarning, kIndex).written());
  EXPECT_TRUE(buildTemplateRow(definition, Severity::kCritical, kIndex).written());
  EXPECT_EQ((*definition.serviceClass())[kIndex].warning, "off");
}

TEST(ServiceClassStatementsTest, TemplateRowsIgnoreTheEnableFlags) {
  DefinitionInputs in = batchLow("V100");
  ExceptionDefinition definition(in);
  definition.setWarningCondition("None", std::nullopt, std::nullopt, std::nullopt);
  const Built warning = statement(definition, Severity::kWarning, kIndex);
  EXPECT_EQ(warning.result, BuildResult::kDisabled);
  EXPECT_EQ(warning.text, "");
  EXPECT_TRUE(buildTemplateRow(definition, Severity::kWarning, kStorage).written());
  // The critical is still enabled: its statements carry the timestamp.
  EXPECT_EQ(criticalAfterHead(definition, kCpu).substr(0, 19), "\"1261207093000000\",");
}

TEST(ServiceClassStatementsTest, EveryKindHasItsSituationsAndRows) {
  ExceptionDefinition definition(batchLow("V100"));
  for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
    for (ResourceKind kind : kResourceKinds) {
      EXPECT_TRUE(statement(definition, severity, kind).written()) << static_cast<int>(kind);
      EXPECT_TRUE(buildTemplateRow(definition, severity, kind).written()) << static_cast<int>(kind);
    }
  }
  EXPECT_EQ(
      buildTemplateRow(definition, Severity::kCritical, kStorage).text,
      "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_STG_BATCHLOWP1_Critical\", "
      "\"Critical\", \"WLM_Service_Class_Resources\", 0 );\n");
  // An ordinary definition has no service-class situations or rows.
  DefinitionInputs ordinary = batchLow("V100");
  ordinary.serviceClass.reset();
  ExceptionDefinition plain(ordinary);
  EXPECT_EQ(statement(plain, Severity::kWarning, kIo).result, BuildResult::kDeclined);
  EXPECT_EQ(buildTemplateRow(plain, Severity::kWarning, kIo).result, BuildResult::kDeclined);
}

}  // namespace
}  // namespace tornvel
