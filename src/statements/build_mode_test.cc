#include "statements/build_mode.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "definitions/definition_table.h"
#include "statements/insert_heads.h"
#include "statements/statement_test_support.h"
#include "statements/statement_writer.h"
#include "statements/update_statements.h"

namespace tornvel {
namespace {

constexpr std::string_view kTimestamp = "1261207093000000";
const std::string kDefaultAffinities = std::string(34, '#') + std::string(9, '0');

TEST(BuildModeTest, AdvisedWarningBecomesDeleteParmsAndInsert) {
  DefinitionTable table;
  ExceptionDefinition& definition = *table.append(lockWait("50", "200"));
  // What the advice line LOCKWAIT~Lock wait time too long~P1 attaches.
  definition.setBuildModeExtras({"P1", "Lock wait time too long"});

  ASSERT_TRUE(buildUpdate(definition, Severity::kWarning, kTimestamp).written());
  EXPECT_EQ(buildDelete(definition, Severity::kWarning),
            "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"ZT5_LOCKWAIT_Warning\";");
  EXPECT_EQ(buildParmsStatement(definition), "$PARMS(\"P1\");");
  const std::string statement = buildInsert(definition, Severity::kWarning, kTimestamp,
                                            kDefaultAffinities, kBuildModeInsertHead);
  const std::string expected =
      "INSERT INTO VORDA.TSITDESC (ADVISE,AUTOSOPT,AUTOSTART,CMD,LSTRELEASE,LSTUSRPRF,"
      "QIBCLASSID,QIBSCOPE,REEV_DAYS,REEV_TIME,SENDMSGQ,SITINFO,TEXT,LSTDATE,AFFINITIES,SITNAME,"
      "PDT) VALUES(?,\"NNN\",\"*NO\",\"*NONE\",\"V100\",\"SYSADMIN\",\"UUUU\",\"E\",\"0\","
      "\"001500\",\"*NONE\",\"~\",\"Lock wait time too long\",\"1261207093000000\","
      "\"##################################000000000\",\"ZT5_LOCKWAIT_Warning\",\"*IF *VALUE "
      "DBLOCKS.WAITTIME *GE 50 *AND *VALUE DBLOCKS.WAITTIME *LT 200\");";
  ASSERT_EQ(expected.size(), 445u);
  EXPECT_EQ(statement, expected);

  // Written as six lines of 72, one of 13 and an empty line.
  std::string written;
  appendStatement(written, statement);
  std::string lines;
  for (int i = 0; i < 6; ++i) lines += expected.substr(72 * i, 72) + "\n";
  EXPECT_EQ(expected.substr(432).size(), 13u);
  EXPECT_EQ(written, lines + expected.substr(432) + "\n\n");
}

TEST(BuildModeTest, WithoutAdviceTheSituationNamesAreTheTexts) {
  auto definition = lockWait("50", "200");
  EXPECT_EQ(buildParmsStatement(*definition), "$PARMS(\"\");");
  EXPECT_EQ(buildDelete(*definition, Severity::kCritical),
            "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"ZT5_LOCKWAIT_Critical\";");
  EXPECT_EQ(buildInsert(*definition, Severity::kCritical, kTimestamp, "AFF", kBuildModeInsertHead),
            std::string(kBuildModeInsertHead) +
                "ZT5_LOCKWAIT_Critical\",\"1261207093000000\",\"AFF\","
                "\"ZT5_LOCKWAIT_Critical\",\"*IF *VALUE DBLOCKS.WAITTIME *GE 200\");");

  // Advice gives both situations the same text.
  definition->setBuildModeExtras({"", "Waits"});
  EXPECT_EQ(buildParmsStatement(*definition), "$PARMS(\"\");");
  for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
    const std::string statement =
        buildInsert(*definition, severity, kTimestamp, "AFF", kBuildModeInsertHead);
    EXPECT_EQ(statement.substr(kBuildModeInsertHead.size(), 8), "Waits\",\"");
  }
}

// The INSERT carries the formula exactly as the update statement of the same
// situation does, whatever the definition's texts hold: quotes doubled, and
// nothing inside the formula (statement words, quotes, line ends) cuts it
// short or changes it.
TEST(BuildModeTest, InsertCarriesTheFormulaOfTheUpdate) {
  struct Case {
    const char* attribute;
    const char* warning;
    const char* extraPredicate;
    const char* formula;  // as written between the quotes
  };
  const Case cases[] = {
      {"A", "1", "", "*IF *VALUE A *GE 1 *AND *VALUE A *LT 200"},
      {"A", "1", "PDT = \"*IF", "*IF *VALUE A *GE 1 *AND *VALUE A *LT 200 PDT = \"\"*IF"},
      {"A", "\"X\" WHERE SITNAME = Y", "",
       "*IF *VALUE A *GE \"\"X\"\" WHERE SITNAME = Y *AND *VALUE A *LT 200"},
      {"A\n", "1;", "\n\n", "*IF *VALUE A\n *GE 1; *AND *VALUE A\n *LT 200 \n\n"},
      {"\"\"", "1", "\"", "*IF *VALUE \"\"\"\" *GE 1 *AND *VALUE \"\"\"\" *LT 200 \"\""},
  };
  for (const Case& c : cases) {
    DefinitionInputs in;
    in.recordedCode = "ZTQ";
    in.release = "V100";
    in.name = "LOCKWAIT";
    in.attribute = c.attribute;
    ExceptionDefinition definition(in);
    definition.setExtraPredicate(c.extraPredicate);
    definition.setWarningFromProfile(std::string_view(c.warning));
    definition.setCriticalFromProfile(std::string_view("200"));
    const Built built = buildUpdate(definition, Severity::kWarning, "D");
    ASSERT_TRUE(built.written());
    const std::string& update = built.text;
    EXPECT_EQ(update, "UPDATE VORDA.TSITDESC SET LSTDATE = \"D\", PDT = \"" +
                          std::string(c.formula) + "\" WHERE SITNAME = \"ZTQ_LOCKWAIT_Warning\";\n")
        << c.formula;
    EXPECT_EQ(buildInsert(definition, Severity::kWarning, "D", "A", kBuildModeInsertHead),
              std::string(kBuildModeInsertHead) +
                  "ZTQ_LOCKWAIT_Warning\",\"D\",\"A\",\"ZTQ_LOCKWAIT_Warning\",\"" + c.formula +
                  "\");")
        << c.formula;
  }
}

TEST(BuildModeTest, SituationTextCannotCutTheInsertShort) {
  auto definition = lockWait("50", "200");
  definition->setBuildModeExtras({"", "say \" WHERE SITNAME = here"});
  const std::string statement = buildInsert(*definition, Severity::kWarning, kTimestamp,
                                            kDefaultAffinities, kBuildModeInsertHead);
  const std::string end =
      "\"*IF *VALUE DBLOCKS.WAITTIME *GE 50 *AND *VALUE DBLOCKS.WAITTIME *LT 200\");";
  ASSERT_GE(statement.size(), end.size());
  EXPECT_EQ(statement.substr(statement.size() - end.size()), end);
  EXPECT_NE(statement.find("\"say \"\" WHERE SITNAME = here\""), std::string::npos);
}

// The AFFINITIES value keeps the first 59 characters of the run's affinity
// string.
TEST(BuildModeTest, InsertKeepsFiftyNineCharactersOfTheAffinities) {
  auto definition = lockWait("50", "200");
  const std::string statement = buildInsert(*definition, Severity::kWarning, kTimestamp,
                                            std::string(300, 'v'), kBuildModeInsertHead);
  EXPECT_NE(statement.find("\"1261207093000000\",\"" + std::string(59, 'v') + "\",\"ZT5_"),
            std::string::npos)
      << statement;
}

TEST(BuildModeTest, SeverityPicksTheSituation) {
  auto definition = lockWait("50", "200");
  EXPECT_EQ(buildDelete(*definition, Severity::kWarning),
            "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"ZT5_LOCKWAIT_Warning\";");
  EXPECT_EQ(buildDelete(*definition, Severity::kCritical),
            "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"ZT5_LOCKWAIT_Critical\";");
  const std::string end =
      "\"AFF\",\"ZT5_LOCKWAIT_Critical\",\"*IF *VALUE DBLOCKS.WAITTIME *GE 200\");";
  const std::string statement =
      buildInsert(*definition, Severity::kCritical, kTimestamp, "AFF", kBuildModeInsertHead);
  ASSERT_GE(statement.size(), end.size());
  EXPECT_EQ(statement.substr(statement.size() - end.size()), end);
}

}  // namespace
}  // namespace tornvel
