#include "statements/threshold_csv.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "statements/statement_test_support.h"

namespace tornvel {
namespace {

TEST(ThresholdCsvTest, Lines) {
  ThresholdCsv csv;
  csv.start("ZT5", "PROF1");
  ExceptionDefinition first = typedDefinition("ABC1", "I");
  std::string warning = "80", critical = "95";
  first.setWarningFromProfile(warning);
  first.setCriticalFromProfile(critical);
  ExceptionDefinition second = typedDefinition("ABC2", "I");
  std::string off = "OFF", ten = "10";
  second.setWarningFromProfile(off);
  second.setCriticalFromProfile(ten);
  csv.add(first);
  csv.add(second);
  EXPECT_EQ(csv.text(true), "ZT5,Threshold,ABC1,ABC2\nPROF1,Critical,95,10\nPROF1,Warning,80,\n");
  EXPECT_EQ(csv.text(false), "PROF1,Critical,95,10\nPROF1,Warning,80,\n");
}

// Fields with a comma, a quote or a line end character are quoted; the rest,
// empty ones included, stand as they are.
TEST(ThresholdCsvTest, QuotesFieldsThatWouldShiftColumns) {
  struct Case {
    std::string_view value;
    std::string_view field;
  };
  const Case cases[] = {
      {"1,5", "\"1,5\""}, {"a\"b", "\"a\"\"b\""}, {"x\ry", "\"x\ry\""}, {"x\ny", "\"x\ny\""},
      {"", ""},           {"1.5", "1.5"}};
  for (const Case& c : cases) {
    ThresholdCsv csv;
    csv.start("ZR5", "P,1.TXT");
    ExceptionDefinition definition = typedDefinition("ABC1", "I");
    if (!c.value.empty()) definition.setCriticalFromProfile(c.value);
    csv.add(definition);
    EXPECT_EQ(csv.text(false),
              "\"P,1.TXT\",Critical," + std::string(c.field) + "\n\"P,1.TXT\",Warning,\n")
        << c.value;
  }
}

}  // namespace
}  // namespace tornvel
