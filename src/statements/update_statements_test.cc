#include "statements/update_statements.h"

#include <gtest/gtest.h>

#include <string>

#include "statements/build_mode.h"
#include "statements/insert_heads.h"
#include "statements/service_class_statements.h"

namespace tornvel {
namespace {

constexpr std::string_view kTimestamp = "1261207093000000";

// Inputs as a control-file line gives them: release V100 and type I unless
// changed, every optional input absent.
DefinitionInputs inputs(std::string_view product, std::string_view name,
                        std::string_view attribute) {
  DefinitionInputs in;
  in.product = productCodesFor(product).product;
  in.recordedCode = product;
  in.release = "V100";
  in.name = name;
  in.attribute = attribute;
  return in;
}

DefinitionInputs typed(DefinitionInputs in, std::string_view typeText) {
  in.typeText = typeText;
  return in;
}

// Hands a profile value over the way the readers do: in storage of its own.
void giveWarning(ExceptionDefinition& definition, std::string text) {
  definition.setWarningFromProfile(text);
}
void giveCritical(ExceptionDefinition& definition, std::string text) {
  definition.setCriticalFromProfile(text);
}

// The database product's lock-wait exception: type I, warning 50, critical 200.
ExceptionDefinition lockWait() {
  DefinitionInputs in = typed(inputs("ZTQ", "LOCKWAIT", "DBLOCKS.WAITTIME"), "I");
  in.warningSituation = "ZT5_LOCKWAIT_Warning";
  in.criticalSituation = "ZT5_LOCKWAIT_Critical";
  ExceptionDefinition definition(in);
  giveWarning(definition, "50");
  giveCritical(definition, "200");
  return definition;
}

// A system-monitoring exception: warning 100, critical 300 (unless left out),
// upper value 500 and an extra predicate that names the system.
ExceptionDefinition sysPage(bool withCritical = true) {
  ExceptionDefinition definition(inputs("ZR5", "SYSPAGE", "SYSPAGE.RATE"));
  definition.setWarningCondition("*GE", std::nullopt, "*LT", "500");
  definition.setExtraPredicate("*VALUE SYSPAGE.SYSNAME *EQ PRODA");
  giveWarning(definition, "100");
  if (withCritical) giveCritical(definition, "300");
  return definition;
}

// The builder's text into `out`, and its result.
BuildResult into(std::string& out, Built built) {
  out = std::move(built.text);
  return built.result;
}

// The formula of an update statement, between PDT = " and the closing quote.
std::string formulaOf(const std::string& statement) {
  const std::string start = "PDT = \"";
  auto from = statement.find(start);
  auto to = statement.find("\" WHERE SITNAME");
  if (from == std::string::npos || to == std::string::npos) return "<not an update>";
  from += start.size();
  return statement.substr(from, to - from);
}

std::string warningFormula(const ExceptionDefinition& definition) {
  std::string out;
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kWarning, kTimestamp)),
            BuildResult::kWritten);
  return formulaOf(out);
}

std::string criticalFormula(const ExceptionDefinition& definition) {
  std::string out;
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kCritical, kTimestamp)),
            BuildResult::kWritten);
  return formulaOf(out);
}

TEST(UpdateStatementsTest, GeneralFormWritesWholeUpdates) {
  ExceptionDefinition definition = lockWait();
  std::string out = "left over";
  ASSERT_EQ(into(out, buildUpdate(definition, Severity::kWarning, kTimestamp)),
            BuildResult::kWritten);
  EXPECT_EQ(out,
            "UPDATE VORDA.TSITDESC SET LSTDATE = \"1261207093000000\", PDT = \"*IF *VALUE "
            "DBLOCKS.WAITTIME *GE 50 *AND *VALUE DBLOCKS.WAITTIME *LT 200\" WHERE SITNAME = "
            "\"ZT5_LOCKWAIT_Warning\";\n");
  ASSERT_EQ(into(out, buildUpdate(definition, Severity::kCritical, kTimestamp)),
            BuildResult::kWritten);
  EXPECT_EQ(out,
            "UPDATE VORDA.TSITDESC SET LSTDATE = \"1261207093000000\", PDT = \"*IF *VALUE "
            "DBLOCKS.WAITTIME *GE 200\" WHERE SITNAME = \"ZT5_LOCKWAIT_Critical\";\n");
}

TEST(UpdateStatementsTest, GeneralFormUpperValueAndExtraPredicate) {
  ExceptionDefinition definition = lockWait();
  definition.setWarningCondition("*GE", std::nullopt, std::nullopt, "500");
  definition.setExtraPredicate("*AND *VALUE DBLOCKS.DBNAME *EQ PAYROLL");
  EXPECT_EQ(warningFormula(definition),
            "*IF *VALUE DBLOCKS.WAITTIME *GE 50 *AND *VALUE DBLOCKS.WAITTIME *LT 500 *AND "
            "*VALUE DBLOCKS.DBNAME *EQ PAYROLL");
  EXPECT_EQ(criticalFormula(definition),
            "*IF *VALUE DBLOCKS.WAITTIME *GE 200 *AND *VALUE DBLOCKS.DBNAME *EQ PAYROLL");
}

TEST(UpdateStatementsTest, Zr5FormPutsThePredicateFirst) {
  ExceptionDefinition definition = sysPage();
  EXPECT_EQ(warningFormula(definition),
            "*IF *VALUE SYSPAGE.SYSNAME *EQ PRODA *AND *VALUE SYSPAGE.RATE *GE 100 *AND *VALUE "
            "SYSPAGE.RATE *LT 300");
  EXPECT_EQ(criticalFormula(definition),
            "*IF *VALUE SYSPAGE.SYSNAME *EQ PRODA *AND *VALUE SYSPAGE.RATE *GE 300");

  // Without a critical value the band ends at the upper value.
  definition = sysPage(false);
  EXPECT_EQ(warningFormula(definition),
            "*IF *VALUE SYSPAGE.SYSNAME *EQ PRODA *AND *VALUE SYSPAGE.RATE *GE 100 *AND *VALUE "
            "SYSPAGE.RATE *LT 500");
  std::string out;
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kCritical, kTimestamp)),
            BuildResult::kDisabled);
}

TEST(UpdateStatementsTest, FormsPreferOppositeUpperBounds) {
  struct Case {
    const char* product;
    const char* upperValue;
    const char* criticalValue;
    const char* formula;
  };
  const Case cases[] = {
      {"ZTQ", "500", "300", "*IF *VALUE A.B *GE 100 *AND *VALUE A.B *LT 500"},
      {"ZR5", "500", "300", "*IF *VALUE A.B *GE 100 *AND *VALUE A.B *LT 300"},
      {"ZTQ", "", "300", "*IF *VALUE A.B *GE 100 *AND *VALUE A.B *LT 300"},
      {"ZR5", "500", "", "*IF *VALUE A.B *GE 100 *AND *VALUE A.B *LT 500"},
      {"ZTQ", "", "", "*IF *VALUE A.B *GE 100"},
      {"ZR5", "", "", "*IF *VALUE A.B *GE 100"},
  };
  for (const Case& c : cases) {
    ExceptionDefinition definition(inputs(c.product, "X", "A.B"));
    definition.setWarningCondition("*GE", std::nullopt, std::nullopt, c.upperValue);
    giveWarning(definition, "100");
    if (*c.criticalValue != '\0') giveCritical(definition, c.criticalValue);
    EXPECT_EQ(warningFormula(definition), c.formula) << c.product << " " << c.upperValue;
  }
}

TEST(UpdateStatementsTest, OnOffWarningIsOneComparison) {
  // Product ZR5 compares with the on-value, never with an upper bound.
  ExceptionDefinition stalled(typed(inputs("ZR5", "STALLED", "SYSJOB.STALLED"), "B"));
  stalled.setWarningCondition("*EQ", "Y", "*LT", "9");
  giveWarning(stalled, "ON");
  giveCritical(stalled, "ON");
  EXPECT_EQ(warningFormula(stalled), "*IF *VALUE SYSJOB.STALLED *EQ Y");

  // Any other product writes the stored warning value.
  ExceptionDefinition general(typed(inputs("ZWQ", "STALLED", "SYSJOB.STALLED"), "B"));
  general.setWarningCondition("*EQ", std::nullopt, std::nullopt, std::nullopt);
  giveWarning(general, "On");
  giveCritical(general, "ON");
  EXPECT_EQ(warningFormula(general), "*IF *VALUE SYSJOB.STALLED *EQ True");
  EXPECT_EQ(criticalFormula(general), "*IF *VALUE SYSJOB.STALLED *EQ True");

  // A ZR5 warning without an on-value falls back to the stored value.
  ExceptionDefinition noOnValue(typed(inputs("ZR5", "STALLED", "SYSJOB.STALLED"), "B"));
  noOnValue.setWarningCondition("*EQ", std::nullopt, std::nullopt, std::nullopt);
  giveWarning(noOnValue, "ON");
  EXPECT_EQ(warningFormula(noOnValue), "*IF *VALUE SYSJOB.STALLED *EQ True");
}

TEST(UpdateStatementsTest, EmptyFieldsAreWrittenAsEmptyPieces) {
  // A type without default operators leaves them empty.
  ExceptionDefinition definition(typed(inputs("ZTQ", "X", "A.B"), "S"));
  giveWarning(definition, "50");
  giveCritical(definition, "200");
  EXPECT_EQ(warningFormula(definition), "*IF *VALUE A.B  50 *AND *VALUE A.B  200");
}

TEST(UpdateStatementsTest, DisabledSituationBuildsNothing) {
  ExceptionDefinition definition = lockWait();
  giveWarning(definition, "OFF");
  std::string out = "left over";
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kWarning, kTimestamp)),
            BuildResult::kDisabled);
  EXPECT_EQ(out, "");
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kCritical, kTimestamp)),
            BuildResult::kWritten);
  EXPECT_NE(out.find("LSTDATE = \"1261207093000000\""), std::string::npos);

  giveCritical(definition, "OFF");
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kCritical, "1261207099000000")),
            BuildResult::kDisabled);
  EXPECT_EQ(out, "");
}

TEST(UpdateStatementsTest, MissingValueBuildsNothing) {
  ExceptionDefinition definition(inputs("ZR5", "X", "A.B"));
  std::string out = "left over";
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kWarning, kTimestamp)),
            BuildResult::kDisabled);
  EXPECT_EQ(out, "");
  out = "left over";
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kCritical, kTimestamp)),
            BuildResult::kDisabled);
  EXPECT_EQ(out, "");
}

// The build-mode INSERT made from the statement keeps 19 characters of the
// timestamp in LSTDATE.
TEST(UpdateStatementsTest, LastDateKeepsNineteenCharacters) {
  ExceptionDefinition definition = lockWait();
  const std::string_view timestamp = "12345678901234567890123";
  const std::string out =
      buildInsert(definition, Severity::kWarning, timestamp, "AFF", kBuildModeInsertHead);
  EXPECT_NE(out.find("\",\"1234567890123456789\",\"AFF\","), std::string::npos) << out;
}

TEST(UpdateStatementsTest, OnlyZr5ServiceClassesLeaveTheUpdatePath) {
  DefinitionInputs row = inputs("ZR5", "ROW", "");
  row.serviceClass = ServiceClassThresholds{"BATCHLOW", "1", {{{"1.50", "2.00"}}}, "OFF"};
  ExceptionDefinition serviceClass(row);
  std::string out;
  ASSERT_EQ(into(out, buildServiceClassStatement(serviceClass, Severity::kWarning, kTimestamp,
                                                 ResourceKind::kPerformanceIndex,
                                                 kServiceClassInsertHead)),
            BuildResult::kWritten);
  EXPECT_EQ(out.substr(0, kServiceClassInsertHead.size()), kServiceClassInsertHead);
  EXPECT_EQ(out.substr(kServiceClassInsertHead.size(), 19), "\"1261207093000000\",");
  // Its profile values, none, give it no UPDATE.
  EXPECT_EQ(into(out, buildUpdate(serviceClass, Severity::kWarning, kTimestamp)),
            BuildResult::kDisabled);

  // Named SVCL under another product, it is an ordinary definition.
  row.product = Product::kDatabase;
  row.recordedCode = "ZTQ";
  ExceptionDefinition ordinary(row);
  EXPECT_EQ(into(out, buildUpdate(ordinary, Severity::kWarning, kTimestamp)),
            BuildResult::kDisabled);
  giveWarning(ordinary, "7");
  ASSERT_EQ(into(out, buildUpdate(ordinary, Severity::kWarning, kTimestamp)),
            BuildResult::kWritten);
  EXPECT_EQ(out.substr(0, 7), "UPDATE ");
}

// The severity picks the situation, its flag, its value and its formula.
TEST(UpdateStatementsTest, SeverityPicksSituationFlagValueAndFormula) {
  ExceptionDefinition definition = lockWait();
  std::string out;
  ASSERT_EQ(into(out, buildUpdate(definition, Severity::kCritical, kTimestamp)),
            BuildResult::kWritten);
  EXPECT_EQ(formulaOf(out), "*IF *VALUE DBLOCKS.WAITTIME *GE 200");
  EXPECT_NE(out.find("SITNAME = \"ZT5_LOCKWAIT_Critical\""), std::string::npos);

  giveCritical(definition, "OFF");
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kCritical, kTimestamp)),
            BuildResult::kDisabled);
  EXPECT_EQ(into(out, buildUpdate(definition, Severity::kWarning, kTimestamp)),
            BuildResult::kWritten);
  EXPECT_NE(out.find("SITNAME = \"ZT5_LOCKWAIT_Warning\""), std::string::npos);
}

}  // namespace
}  // namespace tornvel
