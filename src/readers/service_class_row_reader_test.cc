#include "readers/service_class_row_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace tornvel {
namespace {

// Reads one row whose first line is `firstLine` from the lines `rest`; `after`
// receives the next line left in the profile.
ServiceClassRow readRow(std::string_view firstLine, std::string rest,
                        std::string* after = nullptr) {
  LineReader profile;
  profile.openText(std::move(rest));
  ServiceClassRow row = ServiceClassRowReader::read(profile, firstLine, "V110");
  if (after != nullptr && !profile.readLine(*after)) after->clear();
  return row;
}

TEST(ServiceClassRowReaderTest, BatchRowGivesEveryThreshold) {
  std::string after;
  auto row = readRow("Begin Row\n",
                     " PRWLMSC('BATCH')\n PRWLMPD(1)\n PRWLMWI(150)\n PRWLMCI(200)\n"
                     " PRWLMWO(500)\n PRWLMCO(900)\n PRWLMWS(1200)\n PRWLMCS(1500)\n"
                     " PRWLMWC(800)\n PRWLMCC(950)\n PRWLMBS(ON)\n End Row\n Begin Row\n",
                     &after);
  ASSERT_NE(row.definition, nullptr);
  EXPECT_TRUE(row.missing.empty());
  EXPECT_EQ(row.definition->name(), "SVCL");
  EXPECT_EQ(row.definition->recordedCode, "ZR5");
  EXPECT_EQ(row.definition->release, "V110");
  EXPECT_EQ(row.definition->serviceClass()->className, "BATCH");
  EXPECT_EQ(row.definition->serviceClass()->period, "1");
  EXPECT_EQ(row.definition->serviceClass()->indexWarning, "1.50");
  EXPECT_EQ(row.definition->serviceClass()->indexCritical, "2.00");
  EXPECT_EQ(row.definition->serviceClass()->ioWarning, "50.0");
  EXPECT_EQ(row.definition->serviceClass()->ioCritical, "90.0");
  EXPECT_EQ(row.definition->serviceClass()->storageWarning, "120.0");
  EXPECT_EQ(row.definition->serviceClass()->storageCritical, "150.0");
  EXPECT_EQ(row.definition->serviceClass()->cpuWarning, "80.0");
  EXPECT_EQ(row.definition->serviceClass()->cpuCritical, "95.0");
  EXPECT_EQ(row.definition->serviceClass()->busy, "ON");
  // Empty attribute, type and situation inputs, given rather than absent.
  EXPECT_EQ(row.definition->attribute, "");
  EXPECT_EQ(row.definition->valueType, ValueType::kOther);
  EXPECT_EQ(row.definition->typeLetter, '\0');
  EXPECT_EQ(row.definition->condition(Severity::kWarning).situation, "");
  EXPECT_EQ(row.definition->condition(Severity::kCritical).situation, "");
  // The "End Row" line is consumed with the row.
  EXPECT_EQ(after, " Begin Row\n");
}

TEST(ServiceClassRowReaderTest, ValuesGetTheirImpliedDecimalsAndLengths) {
  struct Case {
    std::string line;
    std::string ServiceClassThresholds::*field;
    std::string expected;
  };
  const Case cases[] = {
      {" PRWLMCI(085)\n", &ServiceClassThresholds::indexCritical, ".85"},
      {" PRWLMCI(5)\n", &ServiceClassThresholds::indexCritical, "5"},
      {" PRWLMCC(1000)\n", &ServiceClassThresholds::cpuCritical, "100"},
      {" PRWLMWS(5)\n", &ServiceClassThresholds::storageWarning, ".5"},
      {" PRWLMWO(OFF)\n", &ServiceClassThresholds::ioWarning, "OFF"},
      {" PRWLMWO(123456789)\n", &ServiceClassThresholds::ioWarning, "1234567"},
      {"\tPRWLMBS(OFF)\n", &ServiceClassThresholds::busy, "OFF"},
      {" PRWLMSC('ONLINE HIGH')\n", &ServiceClassThresholds::className, "ONLINE"},
      {" PRWLMSC(ABCDEFGHIJKLMNOPQRSTUVWXYZ)\n", &ServiceClassThresholds::className,
       "ABCDEFGHIJKLMNOPQRS"},
      {"   PRWLMPD  (2)\n", &ServiceClassThresholds::period, "(2"},
  };
  for (const Case& c : cases) {
    auto row = readRow("", c.line + " End Row\n");
    EXPECT_EQ((*row.definition->serviceClass()).*c.field, c.expected) << c.line;
  }
}

TEST(ServiceClassRowReaderTest, DefaultsAndIgnoredLines) {
  auto row = readRow("\n",
                     " PRWLMXX(5)\n PRWLMWC(800)\n PRWLMWC()\n prwlmcc(900)\n \n"
                     " PRWLMWC(700)\nEnd Row\n");
  EXPECT_EQ(row.definition->serviceClass()->busy, "OFF");
  EXPECT_EQ(row.definition->serviceClass()->className, "");
  EXPECT_EQ(row.definition->serviceClass()->period, "");
  EXPECT_EQ(row.definition->serviceClass()->cpuWarning,
            "70.0");  // the later line wins; the empty one changes nothing
  // Keywords are case-sensitive; an I/O, storage or CPU threshold left out is
  // off, the class, period and index thresholds stay empty.
  EXPECT_EQ(row.definition->serviceClass()->cpuCritical, "OFF");
  EXPECT_EQ(row.definition->serviceClass()->ioWarning, "OFF");
  EXPECT_EQ(row.definition->serviceClass()->indexWarning, "");
  EXPECT_EQ(row.missing,
            (std::vector<std::string_view>{"PRWLMSC", "PRWLMPD", "PRWLMWI", "PRWLMCI", "PRWLMWO",
                                           "PRWLMCO", "PRWLMWS", "PRWLMCS", "PRWLMCC"}));
}

TEST(ServiceClassRowReaderTest, FirstLineAndProfileEnd) {
  // A keyword on the row's first line counts, and later lines may replace it.
  auto row = readRow(" PRWLMSC(BATCH)\n", " PRWLMPD(3)\n");
  EXPECT_EQ(row.definition->serviceClass()->className, "BATCH");
  EXPECT_EQ(row.definition->serviceClass()->period,
            "3");  // the profile ended inside the row: kept all the same
  row = readRow(" PRWLMSC(BATCH)\n", " PRWLMSC(ONLINE)\n End Row\n");
  EXPECT_EQ(row.definition->serviceClass()->className, "ONLINE");
  // A first line that ends the row reads nothing further.
  std::string after;
  row = readRow(" End Row\n", " PRWLMSC(LATE)\n", &after);
  EXPECT_EQ(row.definition->serviceClass()->className, "");
  EXPECT_EQ(after, " PRWLMSC(LATE)\n");
}

TEST(ServiceClassRowReaderTest, LongRowLinesContinueAsNextLine) {
  // 255 characters make one row line; the rest is a line of its own.
  std::string longLine = " PRWLMSC(A)" + std::string(244, ' ') + " PRWLMPD(7)\n";
  auto fromProfile = readRow("", longLine + " End Row\n");
  EXPECT_EQ(fromProfile.definition->serviceClass()->className, "A");
  EXPECT_EQ(fromProfile.definition->serviceClass()->period, "7");
  auto asFirstLine = readRow(longLine, " End Row\n");
  EXPECT_EQ(asFirstLine.definition->serviceClass()->period, "7");
}

}  // namespace
}  // namespace tornvel
