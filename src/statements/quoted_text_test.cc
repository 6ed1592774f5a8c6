#include "statements/quoted_text.h"

#include <gtest/gtest.h>

#include <string>

#include "statements/build_mode.h"
#include "statements/insert_heads.h"
#include "statements/service_class_statements.h"
#include "statements/update_statements.h"

namespace tornvel {
namespace {

constexpr std::string_view kTimestamp = "1261207093000000";

TEST(QuotedTextTest, QuotesAreDoubledAndFoundAgain) {
  struct Case {
    std::string_view text;
    std::string_view quoted;
  };
  const Case cases[] = {
      {"", ""}, {"plain", "plain"}, {"\"", "\"\""}, {"a\"b\"\"c\"", "a\"\"b\"\"\"\"c\"\""}};
  for (const Case& c : cases) {
    std::string out = "x";
    appendQuoted(out, c.text);
    EXPECT_EQ(out, "x" + std::string(c.quoted)) << c.text;
    out = "x" + std::string(c.text);
    quoteFrom(out, 1);
    EXPECT_EQ(out, "x" + std::string(c.quoted)) << c.text;
    // Read back, the quoted text ends where its closing quote stands.
    EXPECT_EQ(quotedLength(std::string(c.quoted) + "\" rest"), c.quoted.size()) << c.text;
  }
  EXPECT_EQ(quotedLength("no closing quote"), 16u);
}

// Every text between quotes doubles its quotes, the $PARMS argument excepted.
TEST(QuotedTextTest, EveryStatementDoublesTheQuotesOfItsTexts) {
  DefinitionInputs in;
  in.product = "ZTQ";
  in.release = "V100";
  in.name = "LOCKWAIT";
  in.attribute = "DBLOCKS.WAITTIME";
  in.typeText = "I";
  in.warningSituation = "ZT5_Q\"1_Warning";
  in.criticalSituation = "ZT5_Q\"1_Critical";
  ExceptionDefinition definition(in);
  definition.setExtraPredicate("*AND *VALUE A.B *EQ \"X\"");
  std::string warning = "50";
  definition.setWarningFromProfile(warning);
  std::string critical = "200";
  definition.setCriticalFromProfile(critical);
  definition.setSituationText("Say \"hi\"");
  definition.setParmsText("P \"1\"");

  const std::string formula =
      "*IF *VALUE DBLOCKS.WAITTIME *GE 50 *AND *VALUE DBLOCKS.WAITTIME *LT 200 *AND *VALUE A.B "
      "*EQ \"\"X\"\"";
  std::string statement;
  std::string scratch;
  ASSERT_EQ(buildWarningStatement(definition, statement, kTimestamp, 0, {}), BuildResult::kWritten);
  EXPECT_EQ(statement, "UPDATE VORDA.TSITDESC SET LSTDATE = \"1261207093000000\", PDT = \"" +
                           formula + "\" WHERE SITNAME = \"ZT5_Q\"\"1_Warning\";\n");
  buildWarningDelete(definition, scratch);
  EXPECT_EQ(scratch, "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"ZT5_Q\"\"1_Warning\";");
  buildParmsStatement(definition, scratch);
  EXPECT_EQ(scratch, "$PARMS(\"P \"1\"\");");
  buildWarningInsert(definition, statement, scratch, kTimestamp, "A\"B", kBuildModeInsertHead);
  EXPECT_EQ(statement,
            std::string(kBuildModeInsertHead) +
                "Say \"\"hi\"\"\",\"1261207093000000\",\"A\"\"B\",\"ZT5_Q\"\"1_Warning\",\"" +
                formula + "\");");

  DefinitionInputs row;
  row.productId = Product::kSystem;
  row.product = "ZR5";
  row.release = "V100";
  row.name = "WLMROW";
  row.attribute = "";
  row.serviceClass = "B\"L";
  row.period = "1";
  row.indexWarning = "1.50";
  row.indexCritical = "2.00";
  row.busyThreshold = "OFF";
  ExceptionDefinition serviceClass(row);
  ASSERT_EQ(buildWarningStatement(serviceClass, statement, kTimestamp, 0, kServiceClassInsertHead),
            BuildResult::kWritten);
  EXPECT_EQ(statement.substr(kServiceClassInsertHead.size()),
            "\"1261207093000000\",\"Service Class B\"\"L Period 1 Warning situation\","
            "\"ZR5_B\"\"LP1_Warning\",\"*IF *VALUE MWLMPR.CLSNAME *EQ B\"\"L *AND *VALUE "
            "MWLMPR.PERIODNUM *EQ 1 *AND *VALUE MWLMPR.PERHINDX *GE 1.50 *AND *VALUE "
            "MWLMPR.PERHINDX *LT 2.00\");\n");
  ASSERT_EQ(buildWarningTemplateRow(serviceClass, statement, 0), BuildResult::kWritten);
  EXPECT_EQ(statement,
            "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_B\"\"LP1_Warning\", "
            "\"Warning\", \"WLM_Service_Class_Resources\", 0 );\n");
}

}  // namespace
}  // namespace tornvel
