#include "readers/service_class_row_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace tornvel {
namespace {

// Reads one row whose first line is `firstLine` from the lines `rest`; `after`
// receives the next line left in the profile.
std::unique_ptr<ExceptionDefinition> readRow(std::string_view firstLine, std::string rest,
                                             std::string* after = nullptr) {
  LineReader profile;
  profile.openText(std::move(rest));
  auto definition = ServiceClassRowReader::read(profile, firstLine, "V110");
  if (after != nullptr && !profile.readLine(*after)) after->clear();
  return definition;
}

TEST(ServiceClassRowReaderTest, BatchRowGivesEveryThreshold) {
  std::string after;
  auto row = readRow("Begin Row\n",
                     " PRWLMSC('BATCH')\n PRWLMPD(1)\n PRWLMWI(150)\n PRWLMCI(200)\n"
                     " PRWLMWO(500)\n PRWLMCO(900)\n PRWLMWS(1200)\n PRWLMCS(1500)\n"
                     " PRWLMWC(800)\n PRWLMCC(950)\n PRWLMBS(ON)\n End Row\n Begin Row\n",
                     &after);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->name, "SVCL");
  EXPECT_EQ(row->product, "ZR5");
  EXPECT_EQ(row->release, "V110");
  EXPECT_EQ(row->serviceClass, "BATCH");
  EXPECT_EQ(row->period, "1");
  EXPECT_EQ(row->indexWarning, "1.50");
  EXPECT_EQ(row->indexCritical, "2.00");
  EXPECT_EQ(row->ioWarning, "50.0");
  EXPECT_EQ(row->ioCritical, "90.0");
  EXPECT_EQ(row->storageWarning, "120.0");
  EXPECT_EQ(row->storageCritical, "150.0");
  EXPECT_EQ(row->cpuWarning, "80.0");
  EXPECT_EQ(row->cpuCritical, "95.0");
  EXPECT_EQ(row->busyThreshold, "ON");
  // Empty attribute, type and situation inputs, given rather than absent.
  EXPECT_EQ(row->attribute, "");
  EXPECT_EQ(row->valueType, '\0');
  EXPECT_EQ(row->warningSituation, "");
  EXPECT_EQ(row->criticalSituation, "");
  // The "End Row" line is consumed with the row.
  EXPECT_EQ(after, " Begin Row\n");
}

TEST(ServiceClassRowReaderTest, ValuesGetTheirImpliedDecimalsAndLengths) {
  struct Case {
    std::string line;
    std::string ExceptionDefinition::*field;
    std::string expected;
  };
  const Case cases[] = {
      {" PRWLMCI(085)\n", &ExceptionDefinition::indexCritical, ".85"},
      {" PRWLMCI(5)\n", &ExceptionDefinition::indexCritical, "5"},
      {" PRWLMCC(1000)\n", &ExceptionDefinition::cpuCritical, "100"},
      {" PRWLMWS(5)\n", &ExceptionDefinition::storageWarning, ".5"},
      {" PRWLMWO(OFF)\n", &ExceptionDefinition::ioWarning, "OFF"},
      {" PRWLMWO(123456789)\n", &ExceptionDefinition::ioWarning, "1234567"},
      {"\tPRWLMBS(OFF)\n", &ExceptionDefinition::busyThreshold, "OFF"},
      {" PRWLMSC('ONLINE HIGH')\n", &ExceptionDefinition::serviceClass, "ONLINE"},
      {" PRWLMSC(ABCDEFGHIJKLMNOPQRSTUVWXYZ)\n", &ExceptionDefinition::serviceClass,
       "ABCDEFGHIJKLMNOPQRS"},
      {"   PRWLMPD  (2)\n", &ExceptionDefinition::period, "(2"},
  };
  for (const Case& c : cases) {
    auto row = readRow("", c.line + " End Row\n");
    EXPECT_EQ((*row).*c.field, c.expected) << c.line;
  }
}

TEST(ServiceClassRowReaderTest, DefaultsAndIgnoredLines) {
  auto row = readRow("\n",
                     " PRWLMXX(5)\n PRWLMWC(800)\n PRWLMWC()\n prwlmcc(900)\n \n"
                     " PRWLMWC(700)\nEnd Row\n");
  EXPECT_EQ(row->busyThreshold, "OFF");
  EXPECT_EQ(row->serviceClass, "");
  EXPECT_EQ(row->period, "");
  EXPECT_EQ(row->cpuWarning, "70.0");  // the later line wins; the empty one changes nothing
  EXPECT_EQ(row->cpuCritical, "");     // keywords are case-sensitive
  EXPECT_EQ(row->indexWarning, "");
}

TEST(ServiceClassRowReaderTest, FirstLineAndProfileEnd) {
  // A keyword on the row's first line counts, and later lines may replace it.
  auto row = readRow(" PRWLMSC(BATCH)\n", " PRWLMPD(3)\n");
  EXPECT_EQ(row->serviceClass, "BATCH");
  EXPECT_EQ(row->period, "3");  // the profile ended inside the row: kept all the same
  row = readRow(" PRWLMSC(BATCH)\n", " PRWLMSC(ONLINE)\n End Row\n");
  EXPECT_EQ(row->serviceClass, "ONLINE");
  // A first line that ends the row reads nothing further.
  std::string after;
  row = readRow(" End Row\n", " PRWLMSC(LATE)\n", &after);
  EXPECT_EQ(row->serviceClass, "");
  EXPECT_EQ(after, " PRWLMSC(LATE)\n");
}

TEST(ServiceClassRowReaderTest, LongRowLinesContinueAsNextLine) {
  // 255 characters make one row line; the rest is a line of its own.
  std::string longLine = " PRWLMSC(A)" + std::string(244, ' ') + " PRWLMPD(7)\n";
  auto fromProfile = readRow("", longLine + " End Row\n");
  EXPECT_EQ(fromProfile->serviceClass, "A");
  EXPECT_EQ(fromProfile->period, "7");
  auto asFirstLine = readRow(longLine, " End Row\n");
  EXPECT_EQ(asFirstLine->period, "7");
}

}  // namespace
}  // namespace tornvel
