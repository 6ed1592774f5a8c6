#include "driver/reports.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tornvel {
namespace {

ExceptionDefinition makeDefinition(std::string_view name, std::string_view type) {
  DefinitionInputs inputs;
  inputs.product = "ZT5";
  inputs.release = "V100";
  inputs.name = name;
  inputs.attribute = "TABLE.COLUMN";
  inputs.typeText = type;
  return ExceptionDefinition(inputs);
}

TEST(ReportsTest, ProfileInformationHeaderOnceBeforeFirstRow) {
  std::ostringstream out;
  Console console(out);
  printProfileInformationRow(console, "ABC1", "80", "95");
  printProfileInformationRow(console, "ABC2", "1.5", "ON");
  EXPECT_EQ(out.str(), std::string("Profile information\nException\tWarning   \tCritical\n") +
                           "ABC1" + std::string(8, ' ') + "\t80" + std::string(7, ' ') + "\t95\n" +
                           "ABC2" + std::string(8, ' ') + "\t1.5" + std::string(7, ' ') + "\tON\n");
}

TEST(ReportsTest, UnhandledListCutsAndPrints) {
  std::ostringstream out;
  Console console(out);
  UnhandledList list;
  list.print(console);
  EXPECT_EQ(out.str(), "");  // an empty list prints nothing
  list.add(std::string(25, 'N'), std::string(45, 'w'), "95");
  list.add("abc1", "80", "");
  list.print(console);
  EXPECT_EQ(out.str(), "\n\nExceptions in profile not handled:\n\nName    \tWarning\tCritical\n" +
                           std::string(20, 'N') + "    \t" + std::string(40, 'w') + "\t95\n" +
                           "abc1    \t80\t\n");
}

TEST(ReportsTest, UnhandledColumnTallyCountsPerColumnAndTable) {
  std::ostringstream out;
  Console console(out);
  UnhandledColumnTally tally;
  tally.count("ABC", "DEVICE");
  tally.count("ABC", "DEVICE");
  tally.count("ABC", "DISK");
  tally.count("AVERYLONGCOLUMNNAME", "DEVICE");
  tally.count("ABC", "DEVICE");
  tally.print(console);
  EXPECT_EQ(out.str(), std::string("\n\nExceptions in profile not handled:\n\n"
                                   "Name            \tTable           \tCount\n") +
                           "ABC" + std::string(13, ' ') + "    \tDEVICE" + std::string(10, ' ') +
                           "    \t3\n" + "ABC" + std::string(13, ' ') + "    \tDISK" +
                           std::string(12, ' ') + "    \t1\n" + "AVERYLONGCOLUMNNAME    \tDEVICE" +
                           std::string(10, ' ') +
                           "    \t1\n"
                           "\n");
}

TEST(ReportsTest, MigratedRowShowsStoredTypeLetter) {
  std::ostringstream out;
  Console console(out);
  printMigratedHeader(console);
  ExceptionDefinition floating = makeDefinition("ABC1", "F");
  std::string value = "50";
  floating.setWarningFromProfile(value);
  writeReportLine(console, floating);
  writeReportLine(console, makeDefinition("SVCL", ""));  // an empty type prints NUL
  EXPECT_EQ(out.str(), std::string("\n\nExceptions in profile migrated:\n\n"
                                   "Name   \tType\tWarnVal\tCritVal\n"
                                   "ABC1\tI\t50.0\t\n"
                                   "SVCL\t\0\t\t\n",
                                   86));
}

TEST(ReportsTest, ThresholdCsvLines) {
  ThresholdCsv csv;
  csv.start("ZT5", "PROF1");
  ExceptionDefinition first = makeDefinition("ABC1", "I");
  std::string warning = "80", critical = "95";
  first.setWarningFromProfile(warning);
  first.setCriticalFromProfile(critical);
  ExceptionDefinition second = makeDefinition("ABC2", "I");
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
TEST(ReportsTest, ThresholdCsvQuotesFieldsThatWouldShiftColumns) {
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
    ExceptionDefinition definition = makeDefinition("ABC1", "I");
    definition.criticalValue = c.value;
    csv.add(definition);
    EXPECT_EQ(csv.text(false),
              "\"P,1.TXT\",Critical," + std::string(c.field) + "\n\"P,1.TXT\",Warning,\n")
        << c.value;
  }
}

}  // namespace
}  // namespace tornvel
