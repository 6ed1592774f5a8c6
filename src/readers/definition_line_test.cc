#include "readers/definition_line.h"

#include <gtest/gtest.h>

#include <string>

namespace tornvel {
namespace {

// The thirteen fields joined by "|", an absent one shown as "-".
std::string fieldsOf(const DefinitionLine& line) {
  std::string text = std::string(line.name) + "|" + std::string(line.attribute);
  for (const OptionalText& field :
       {line.typeText, line.warningSituation, line.criticalSituation, line.criticalOperator,
        line.criticalOnValue, line.warningOperator, line.warningOnValue, line.upperOperator,
        line.upperValue, line.extraPredicate, line.appendZeros}) {
    text += "|" + (field ? std::string(*field) : std::string("-"));
  }
  return text;
}

TEST(DefinitionLineTest, FieldsByName) {
  struct Case {
    const char* line;
    const char* fields;
  };
  const Case cases[] = {
      {"ABC1,TAB.COL,I2,WSIT,CSIT,*GT,CON,*LE,WON,*LT,WUP,TAB.X = 1,3\n",
       "ABC1|TAB.COL|I2|WSIT|CSIT|*GT|CON|*LE|WON|*LT|WUP|TAB.X = 1|3"},
      {" ,,ABC1 ,, T.C,B,,\n", "ABC1|T.C|B|-|-|-|-|-|-|-|-|-|-"},
      // The usual shape: both situations and the on-values left to "~".
      {"ABC1,T.C,I,~,~,*GE,~,*GE,~,*LT\n", "ABC1|T.C|I|-|-|*GE|-|*GE|-|*LT|-|-|-"},
      // "~" as a type text is a type letter; elsewhere only a leading "~" is absent.
      {"ABC1,T.C,~,W~1,~x\n", "ABC1|T.C|~|W~1|-|-|-|-|-|-|-|-|-"},
      {"ABC1,T.C,B,~,~,~,~,*NE,~,~,~,~,2\n", "ABC1|T.C|B|-|-|-|-|*NE|-|-|-|-|2"},
      // The predicate and the count end only at a comma: blanks stay in them,
      // also before a "~", and tokens after the thirteenth are ignored.
      {"A,T.C,I,~,~,*GE,~,*GE,~,*LT,~, ~X = 1,2\n", "A|T.C|I|-|-|*GE|-|*GE|-|*LT|-| ~X = 1|2"},
      {"A T.C I ~ ~ *GE ~ *GE ~ *LT 5 T.X > 0 AND T.Y < 9, 3,IGNORED,MORE\n",
       "A|T.C|I|-|-|*GE|-|*GE|-|*LT|5|T.X > 0 AND T.Y < 9| 3"},
      {"A,T.C,I,~,~,*GE,~,*GE,~,*LT,~,T.X = 'A B'\n",
       "A|T.C|I|-|-|*GE|-|*GE|-|*LT|-|T.X = 'A B'|-"},
      {"A,T.C,I,~,~,*GE,~,*GE,~,*LT,UV,   \n", "A|T.C|I|-|-|*GE|-|*GE|-|*LT|UV|   |-"},
      // Blanks after the upper operator end the line: no predicate of blanks.
      {"A T.C I ~ ~ *GE ~ *GE ~ *LT   \n", "A|T.C|I|-|-|*GE|-|*GE|-|*LT|-|-|-"},
      {"LONELY ,\n", "(none)"},
  };
  for (const Case& c : cases) {
    const std::optional<DefinitionLine> line = parseDefinitionLine(c.line);
    EXPECT_EQ(line ? fieldsOf(*line) : "(none)", c.fields) << c.line;
  }
}

}  // namespace
}  // namespace tornvel
