#include "statements/emission.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "statements/insert_heads.h"
#include "statements/statement_test_support.h"
#include "statements/statement_writer.h"

namespace tornvel {
namespace {

const std::string kAffinities = std::string(34, '#') + std::string(9, '0');
const std::string kWarningFormula =
    "*IF *VALUE DBLOCKS.WAITTIME *GE 50 *AND *VALUE DBLOCKS.WAITTIME *LT 200";
const std::string kCriticalFormula = "*IF *VALUE DBLOCKS.WAITTIME *GE 200";

// LOCKWAIT; OFF switches a situation off; advised as by the line
// LOCKWAIT~Lock wait time too long~P1.
std::unique_ptr<ExceptionDefinition> advisedLockWait(std::string_view warning,
                                                     std::string_view critical) {
  auto definition = lockWait(warning, critical);
  definition->setBuildModeExtras(BuildModeExtras{"P1", "Lock wait time too long"});
  return definition;
}

// Service class BATCHLOW, period 1, index 1.50 and 2.00, the other kinds off.
std::unique_ptr<ExceptionDefinition> batchLow() {
  const ThresholdPair off{"OFF", "off"};
  const ServiceClassThresholds row{"BATCHLOW", "1", {{{"1.50", "2.00"}, off, off, off}}, "OFF"};
  DefinitionInputs in{Product::kSystem, "ZR5", "V100", "WLMROW", "", {}, {}, {}, row};
  return std::make_unique<ExceptionDefinition>(in);
}

std::string laidOut(const std::vector<std::string>& statements) {
  std::string text;
  for (const std::string& statement : statements) appendStatement(text, statement);
  return text;
}

std::string update(const std::string& formula, const std::string& situation) {
  return "UPDATE VORDA.TSITDESC SET LSTDATE = \"1261207093000000\", PDT = \"" + formula +
         "\" WHERE SITNAME = \"" + situation + "\";\n";
}

// DELETE, $PARMS and INSERT of one advised situation.
std::string group(const std::string& situation, const std::string& formula) {
  return laidOut({"DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"" + situation + "\";",
                  "$PARMS(\"P1\");",
                  std::string(kBuildModeInsertHead) + "Lock wait time too long\",\"" +
                      "1261207093000000\",\"" + kAffinities + "\",\"" + situation + "\",\"" +
                      formula + "\");"});
}

std::string serviceClass(const std::string& severity, const std::string& formulaEnd) {
  return std::string(kServiceClassInsertHead) + "\"1261207093000000\",\"Service Class BATCHLOW " +
         "Period 1 " + severity + " situation\",\"ZR5_BATCHLOWP1_" + severity +
         "\",\"*IF *VALUE MWLMPR.CLSNAME *EQ BATCHLOW *AND *VALUE MWLMPR.PERIODNUM *EQ 1 *AND " +
         "*VALUE MWLMPR.PERHINDX *GE " + formulaEnd + "\");\n";
}

// Per definition in table order the warning, then the critical situation; in
// build mode a DELETE, $PARMS and INSERT each; service classes unchanged.
TEST(EmissionTest, StatementsInTableOrder) {
  const std::string updates = laidOut({update(kWarningFormula, "ZT5_LOCKWAIT_Warning"),
                                       update(kCriticalFormula, "ZT5_LOCKWAIT_Critical")});
  const std::string groups = group("ZT5_LOCKWAIT_Warning", kWarningFormula) +
                             group("ZT5_LOCKWAIT_Critical", kCriticalFormula);
  const std::string serviceClasses =
      laidOut({serviceClass("Warning", "1.50 *AND *VALUE MWLMPR.PERHINDX *LT 2.00"),
               serviceClass("Critical", "2.00")});
  const std::string rows =
      "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_BATCHLOWP1_Warning\", "
      "\"Warning\", \"WLM_Service_Class_Resources\", 0 );\n"
      "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_BATCHLOWP1_Critical\", "
      "\"Critical\", \"WLM_Service_Class_Resources\", 0 );\n";
  struct Case {
    std::unique_ptr<ExceptionDefinition> definition;
    bool withServiceClass, buildMode;
    std::string statements;
    std::size_t count;
  };
  Case cases[] = {
      {lockWait("50", "200"), false, false, updates, 2},
      {lockWait("OFF", "200"), false, false,
       laidOut({update(kCriticalFormula, "ZT5_LOCKWAIT_Critical")}), 1},
      {advisedLockWait("50", "200"), false, true, groups, 6},
      {advisedLockWait("50", ""), false, true,
       group("ZT5_LOCKWAIT_Warning", "*IF *VALUE DBLOCKS.WAITTIME *GE 50"), 3},
      {lockWait("50", "200"), true, false, updates + serviceClasses, 4},
      {advisedLockWait("50", "200"), true, true, groups + serviceClasses, 8},
  };
  for (Case& c : cases) {
    DefinitionTable table;
    table.append(std::move(c.definition));
    if (c.withServiceClass) table.append(batchLow());
    const Emission emission =
        emit(table, {c.buildMode, "1261207093000000", kAffinities, false, false, "", ""});
    EXPECT_EQ(emission.statements, c.statements) << c.count;
    EXPECT_EQ(emission.counts.statements, c.count);
    EXPECT_EQ(emission.templateRows, c.withServiceClass ? rows : "") << c.count;
    EXPECT_EQ(emission.counts.templateRows, c.withServiceClass ? 2u : 0u);
    EXPECT_EQ(emission.firstServiceClass,
              c.withServiceClass ? std::optional<std::size_t>(1) : std::nullopt);
  }
}

// Every definition has its migrated row and its fields in the threshold
// lines, whether or not anything is written for it.
TEST(EmissionTest, ThresholdLinesAndMigratedRows) {
  DefinitionTable table;
  table.append(lockWait("80", "95"));
  table.append(lockWait("OFF", "10"));
  table.append(lockWait("", ""));
  for (bool header : {true, false}) {
    const Emission emission = emit(table, {false, "1", "", true, header, "ZT5", "PROF1"});
    EXPECT_EQ(emission.thresholdLines,
              std::string(header ? "ZT5,Threshold,LOCKWAIT,LOCKWAIT,LOCKWAIT\n" : "") +
                  "PROF1,Critical,95,10,\nPROF1,Warning,80,,\n");
    EXPECT_EQ(emission.counts.thresholdLines, header ? 3u : 2u);
    EXPECT_EQ(emission.migratedRows,
              (std::vector<std::string>{"LOCKWAIT\tI\t80\t95\n", "LOCKWAIT\tI\t\t10\n",
                                        "LOCKWAIT\tI\t\t\n"}));
    EXPECT_EQ(emission.counts.definitionsGivenThreshold, 2u);
  }
  EXPECT_EQ(emit(table, {}).thresholdLines, "");
}

}  // namespace
}  // namespace tornvel
