#include "statements/build_mode.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "definitions/definition_table.h"
#include "platform/line_reader.h"
#include "statements/advice_file.h"
#include "statements/insert_heads.h"
#include "statements/statement_writer.h"
#include "statements/update_statements.h"
#include "support/line_ends.h"

namespace tornvel {
namespace {

constexpr std::string_view kTimestamp = "1261207093000000";
const std::string kDefaultAffinities = std::string(34, '#') + std::string(9, '0');

std::unique_ptr<ExceptionDefinition> lockWait() {
  DefinitionInputs in;
  in.product = "ZTQ";
  in.release = "V100";
  in.name = "LOCKWAIT";
  in.attribute = "DBLOCKS.WAITTIME";
  in.warningSituation = "ZT5_LOCKWAIT_Warning";
  in.criticalSituation = "ZT5_LOCKWAIT_Critical";
  auto definition = std::make_unique<ExceptionDefinition>(in);
  std::string warning = "50";
  std::string critical = "200";
  definition->setWarningFromProfile(warning);
  definition->setCriticalFromProfile(critical);
  return definition;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(BuildModeTest, AdvisedWarningBecomesDeleteParmsAndInsert) {
  DefinitionTable table;
  ExceptionDefinition& definition = *table.append(lockWait());
  LineReader advice;
  advice.openText("LOCKWAIT~Lock wait time too long~P1\n");
  applyAdviceFile(advice, table);

  std::string statement;
  std::string scratch;
  ASSERT_EQ(buildWarningStatement(definition, statement, kTimestamp, 0, ""), BuildResult::kWritten);
  buildWarningDelete(definition, scratch);
  EXPECT_EQ(scratch, "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"ZT5_LOCKWAIT_Warning\";");
  buildParmsStatement(definition, scratch);
  EXPECT_EQ(scratch, "$PARMS(\"P1\");");
  const std::string update = statement;
  buildWarningInsert(definition, statement, scratch, kTimestamp, kDefaultAffinities,
                     kBuildModeInsertHead);
  EXPECT_EQ(scratch, update);
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
  const std::string path = ::testing::TempDir() + "build_mode_insert.sql";
  OutputFile file;
  ASSERT_TRUE(file.open(path, OutputFile::Mode::kReplace));
  StatementWriter(file).write(statement);
  ASSERT_TRUE(file.close());
  std::string lines;
  for (int i = 0; i < 6; ++i) lines += expected.substr(72 * i, 72) + "\n";
  EXPECT_EQ(expected.substr(432).size(), 13u);
  EXPECT_EQ(readFile(path), testing::withNativeLineEnds(lines + expected.substr(432) + "\n\n"));
}

TEST(BuildModeTest, WithoutAdviceTheSituationNamesAreTheTexts) {
  auto definition = lockWait();
  std::string statement;
  std::string scratch;
  buildParmsStatement(*definition, scratch);
  EXPECT_EQ(scratch, "$PARMS(\"\");");
  buildCriticalDelete(*definition, scratch);
  EXPECT_EQ(scratch, "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"ZT5_LOCKWAIT_Critical\";");

  ASSERT_EQ(buildCriticalStatement(*definition, statement, kTimestamp, 0, ""),
            BuildResult::kWritten);
  buildCriticalInsert(*definition, statement, scratch, kTimestamp, "AFF", kBuildModeInsertHead);
  EXPECT_EQ(statement, std::string(kBuildModeInsertHead) +
                           "ZT5_LOCKWAIT_Critical\",\"1261207093000000\",\"AFF\","
                           "\"ZT5_LOCKWAIT_Critical\",\"*IF *VALUE DBLOCKS.WAITTIME *GE 200\");");

  // Advice gives both situations the same text.
  definition->setSituationText("Waits");
  definition->setParmsText("");
  buildParmsStatement(*definition, scratch);
  EXPECT_EQ(scratch, "$PARMS(\"\");");
  ASSERT_EQ(buildWarningStatement(*definition, statement, kTimestamp, 0, ""),
            BuildResult::kWritten);
  buildWarningInsert(*definition, statement, scratch, kTimestamp, "AFF", kBuildModeInsertHead);
  EXPECT_EQ(statement.substr(kBuildModeInsertHead.size(), 8), "Waits\",\"");
  ASSERT_EQ(buildCriticalStatement(*definition, statement, kTimestamp, 0, ""),
            BuildResult::kWritten);
  buildCriticalInsert(*definition, statement, scratch, kTimestamp, "AFF", kBuildModeInsertHead);
  EXPECT_EQ(statement.substr(kBuildModeInsertHead.size(), 8), "Waits\",\"");
}

TEST(BuildModeTest, InsertTakesTheFormulaOfAnyText) {
  auto definition = lockWait();
  const std::string before = std::string(kBuildModeInsertHead) +
                             "ZT5_LOCKWAIT_Warning\",\"D\",\"A\",\"ZT5_LOCKWAIT_Warning\",\"";
  struct Case {
    const char* text;
    const char* formula;
  };
  const Case cases[] = {
      {"", ""},
      {"PDT = \"*IF", "*IF"},
      {"no formula here", ""},
      {"*IF *VALUE A *GE 1 PDT = ", ""},
      {"*IF x PDT = \"*IF *VALUE A *GE 1\" WHERE SITNAME = \"S\";\n", "*IF *VALUE A *GE 1"},
      {"PDT = \"*IF *VALUE A *GE 1;\n\n", "*IF *VALUE A *GE 1;"},
      {"PDT = \"*IF a\" WHERE SITNAME = \" WHERE SITNAME =\n", "*IF a"},
      // A doubled quote belongs to the formula; the first single one ends it.
      {"PDT = \"*IF *VALUE A *EQ \"\"X\"\" WHERE SITNAME = Y\" WHERE SITNAME = \"S\";\n",
       "*IF *VALUE A *EQ \"\"X\"\" WHERE SITNAME = Y"},
      {"PDT = \"*IF \"\"\"\"\"", "*IF \"\"\"\""},
  };
  for (const Case& c : cases) {
    std::string statement = c.text;
    std::string scratch;
    buildWarningInsert(*definition, statement, scratch, "D", "A", kBuildModeInsertHead);
    EXPECT_EQ(statement, before + c.formula + "\");") << c.text;
    EXPECT_EQ(scratch, c.text);
  }
}

TEST(BuildModeTest, SituationTextCannotCutTheInsertShort) {
  auto definition = lockWait();
  definition->setSituationText("say \" WHERE SITNAME = here");
  std::string statement;
  std::string scratch;
  ASSERT_EQ(buildWarningStatement(*definition, statement, kTimestamp, 0, ""),
            BuildResult::kWritten);
  buildWarningInsert(*definition, statement, scratch, kTimestamp, kDefaultAffinities,
                     kBuildModeInsertHead);
  const std::string end =
      "\"*IF *VALUE DBLOCKS.WAITTIME *GE 50 *AND *VALUE DBLOCKS.WAITTIME *LT 200\");";
  ASSERT_GE(statement.size(), end.size());
  EXPECT_EQ(statement.substr(statement.size() - end.size()), end);
  EXPECT_NE(statement.find("\"say \"\" WHERE SITNAME = here\""), std::string::npos);
}

// The AFFINITIES value keeps the first 59 characters of the run's affinity
// string.
TEST(BuildModeTest, InsertKeepsFiftyNineCharactersOfTheAffinities) {
  auto definition = lockWait();
  std::string statement;
  std::string scratch;
  ASSERT_EQ(buildWarningStatement(*definition, statement, kTimestamp, 0, ""),
            BuildResult::kWritten);
  buildWarningInsert(*definition, statement, scratch, kTimestamp, std::string(300, 'v'),
                     kBuildModeInsertHead);
  EXPECT_NE(statement.find("\"1261207093000000\",\"" + std::string(59, 'v') + "\",\"ZT5_"),
            std::string::npos)
      << statement;
}

TEST(BuildModeTest, SeverityPicksTheSituation) {
  auto definition = lockWait();
  std::string out;
  buildDelete(*definition, Severity::kWarning, out);
  EXPECT_EQ(out, "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"ZT5_LOCKWAIT_Warning\";");
  buildDelete(*definition, Severity::kCritical, out);
  EXPECT_EQ(out, "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"ZT5_LOCKWAIT_Critical\";");

  std::string statement;
  std::string scratch;
  ASSERT_EQ(buildCriticalStatement(*definition, statement, kTimestamp, 0, ""),
            BuildResult::kWritten);
  std::string named = statement;
  buildCriticalInsert(*definition, named, scratch, kTimestamp, "AFF", kBuildModeInsertHead);
  buildInsert(*definition, Severity::kCritical, statement, scratch, kTimestamp, "AFF",
              kBuildModeInsertHead);
  EXPECT_EQ(statement, named);
}

}  // namespace
}  // namespace tornvel
