#include "statements/formula.h"

#include <gtest/gtest.h>

#include <string>

#include "statements/quoted_text.h"
#include "statements/update_statements.h"

namespace tornvel {
namespace {

// The formula is the text itself: quotes stay single until a statement writes
// it, and what the definition cut at its field capacities stays cut. Either
// severity, either form.
TEST(FormulaTest, FormulaOfEachSeverityAndForm) {
  struct Case {
    const char* product;
    std::string attribute;
    const char* warning;
    const char* critical;
    const char* extraPredicate;
    std::string warningFormula;
    std::string criticalFormula;
  };
  const std::string longAttribute(200, 'a');  // the record keeps 128 characters
  const Case cases[] = {
      {"ZTQ", "T.C", "5", "9", "", "*IF *VALUE T.C *GE 5 *AND *VALUE T.C *LT 9",
       "*IF *VALUE T.C *GE 9"},
      {"ZTQ", "T.C", "\"5\"", "9", "*AND *VALUE T.N *EQ \"X\"",
       "*IF *VALUE T.C *GE \"5\" *AND *VALUE T.C *LT 9 *AND *VALUE T.N *EQ \"X\"",
       "*IF *VALUE T.C *GE 9 *AND *VALUE T.N *EQ \"X\""},
      {"ZR5", "T.C", "5", "9", "*VALUE T.S *EQ A",
       "*IF *VALUE T.S *EQ A *AND *VALUE T.C *GE 5 *AND *VALUE T.C *LT 9",
       "*IF *VALUE T.S *EQ A *AND *VALUE T.C *GE 9"},
      {"ZTQ", longAttribute, "123456789012345678901234567", "9", "",
       "*IF *VALUE " + longAttribute.substr(0, 128) + " *GE 12345678901234567890123 *AND *VALUE " +
           longAttribute.substr(0, 128) + " *LT 9",
       "*IF *VALUE " + longAttribute.substr(0, 128) + " *GE 9"},
  };
  for (const Case& c : cases) {
    DefinitionInputs in;
    in.product = productCodesFor(c.product).product;
    in.recordedCode = c.product;
    in.release = "V100";
    in.name = "X";
    in.attribute = c.attribute;
    ExceptionDefinition definition(in);
    definition.setExtraPredicate(c.extraPredicate);
    definition.setWarningFromProfile(std::string_view(c.warning));
    definition.setCriticalFromProfile(std::string_view(c.critical));
    EXPECT_EQ(buildFormula(definition, Severity::kWarning), c.warningFormula) << c.warning;
    EXPECT_EQ(buildFormula(definition, Severity::kCritical), c.criticalFormula) << c.warning;

    // The update statement carries the formula with its quotes doubled.
    std::string quoted;
    appendQuoted(quoted, c.warningFormula);
    const Built built = buildUpdate(definition, Severity::kWarning, "D");
    ASSERT_TRUE(built.written());
    const std::string& update = built.text;
    EXPECT_NE(update.find("PDT = \"" + quoted + "\" WHERE"), std::string::npos) << update;
  }
}

}  // namespace
}  // namespace tornvel
