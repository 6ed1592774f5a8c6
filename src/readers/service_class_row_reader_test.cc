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

const ServiceClassThresholds& thresholdsOf(const ServiceClassRow& row) {
  return *row.definition->serviceClass();
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
  EXPECT_EQ(row.definition->recordedCode(), "ZR5");
  EXPECT_EQ(row.definition->release(), "V110");
  EXPECT_EQ(thresholdsOf(row).className, "BATCH");
  EXPECT_EQ(thresholdsOf(row).period, "1");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kPerformanceIndex].warning, "1.50");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kPerformanceIndex].critical, "2.00");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kIoRate].warning, "50.0");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kIoRate].critical, "90.0");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kStorage].warning, "120.0");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kStorage].critical, "150.0");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kCpu].warning, "80.0");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kCpu].critical, "95.0");
  EXPECT_EQ(thresholdsOf(row).busy, "ON");
  // Empty attribute, type and situation inputs, given rather than absent.
  EXPECT_EQ(row.definition->attribute(), "");
  EXPECT_EQ(row.definition->valueType(), ValueType::kOther);
  EXPECT_EQ(row.definition->typeLetter(), '\0');
  EXPECT_EQ(row.definition->condition(Severity::kWarning).situation, "");
  EXPECT_EQ(row.definition->condition(Severity::kCritical).situation, "");
  // The "End Row" line is consumed with the row.
  EXPECT_EQ(after, " Begin Row\n");
}

TEST(ServiceClassRowReaderTest, ValuesGetTheirImpliedDecimalsAndLengths) {
  struct Case {
    std::string line;
    std::string (*field)(const ServiceClassThresholds&);
    std::string expected;
  };
  const Case cases[] = {
      {" PRWLMCI(085)\n",
       [](const ServiceClassThresholds& t) { return t[ResourceKind::kPerformanceIndex].critical; },
       ".85"},
      {" PRWLMCI(5)\n",
       [](const ServiceClassThresholds& t) { return t[ResourceKind::kPerformanceIndex].critical; },
       "5"},
      {" PRWLMCC(1000)\n",
       [](const ServiceClassThresholds& t) { return t[ResourceKind::kCpu].critical; }, "100"},
      {" PRWLMWS(5)\n",
       [](const ServiceClassThresholds& t) { return t[ResourceKind::kStorage].warning; }, ".5"},
      {" PRWLMWO(OFF)\n",
       [](const ServiceClassThresholds& t) { return t[ResourceKind::kIoRate].warning; }, "OFF"},
      {" PRWLMWO(123456789)\n",
       [](const ServiceClassThresholds& t) { return t[ResourceKind::kIoRate].warning; }, "1234567"},
      {"\tPRWLMBS(OFF)\n", [](const ServiceClassThresholds& t) { return t.busy; }, "OFF"},
      {" PRWLMSC('ONLINE HIGH')\n", [](const ServiceClassThresholds& t) { return t.className; },
       "ONLINE"},
      {" PRWLMSC(ABCDEFGHIJKLMNOPQRSTUVWXYZ)\n",
       [](const ServiceClassThresholds& t) { return t.className; }, "ABCDEFGHIJKLMNOPQRS"},
      {"   PRWLMPD  (2)\n", [](const ServiceClassThresholds& t) { return t.period; }, "(2"},
  };
  for (const Case& c : cases) {
    auto row = readRow("", c.line + " End Row\n");
    EXPECT_EQ(c.field(thresholdsOf(row)), c.expected) << c.line;
  }
}

TEST(ServiceClassRowReaderTest, DefaultsAndIgnoredLines) {
  auto row = readRow("\n",
                     " PRWLMXX(5)\n PRWLMWC(800)\n PRWLMWC()\n prwlmcc(900)\n \n"
                     " PRWLMWC(700)\nEnd Row\n");
  EXPECT_EQ(thresholdsOf(row).busy, "OFF");
  EXPECT_EQ(thresholdsOf(row).className, "");
  EXPECT_EQ(thresholdsOf(row).period, "");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kCpu].warning,
            "70.0");  // the later line wins; the empty one changes nothing
  // Keywords are case-sensitive; an I/O, storage or CPU threshold left out is
  // off, the class, period and index thresholds stay empty.
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kCpu].critical, "OFF");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kIoRate].warning, "OFF");
  EXPECT_EQ(thresholdsOf(row)[ResourceKind::kPerformanceIndex].warning, "");
  EXPECT_EQ(row.missing,
            (std::vector<std::string_view>{"PRWLMSC", "PRWLMPD", "PRWLMWI", "PRWLMCI", "PRWLMWO",
                                           "PRWLMCO", "PRWLMWS", "PRWLMCS", "PRWLMCC"}));
}

// Each keyword of the batch row left out in turn, and written without a value:
// a resource threshold and the busy threshold are then off, the class, period
// and index thresholds empty; the others keep their values. Every keyword but
// the busy threshold's is named as missing.
TEST(ServiceClassRowReaderTest, EachKeywordLeftOutOrWithoutAValue) {
  using Text = std::string (*)(const ServiceClassThresholds&);
  struct Case {
    std::string_view keyword;
    std::string_view line;  // the batch row's line of the keyword
    Text field;
    std::string_view expected;
  };
  const Case cases[] = {
      {"PRWLMSC", " PRWLMSC('BATCH')\n", [](const auto& t) { return t.className; }, ""},
      {"PRWLMPD", " PRWLMPD(1)\n", [](const auto& t) { return t.period; }, ""},
      {"PRWLMWI", " PRWLMWI(150)\n",
       [](const auto& t) { return t[ResourceKind::kPerformanceIndex].warning; }, ""},
      {"PRWLMCI", " PRWLMCI(200)\n",
       [](const auto& t) { return t[ResourceKind::kPerformanceIndex].critical; }, ""},
      {"PRWLMWO", " PRWLMWO(500)\n", [](const auto& t) { return t[ResourceKind::kIoRate].warning; },
       "OFF"},
      {"PRWLMCO", " PRWLMCO(900)\n",
       [](const auto& t) { return t[ResourceKind::kIoRate].critical; }, "OFF"},
      {"PRWLMWS", " PRWLMWS(1200)\n",
       [](const auto& t) { return t[ResourceKind::kStorage].warning; }, "OFF"},
      {"PRWLMCS", " PRWLMCS(1500)\n",
       [](const auto& t) { return t[ResourceKind::kStorage].critical; }, "OFF"},
      {"PRWLMWC", " PRWLMWC(800)\n", [](const auto& t) { return t[ResourceKind::kCpu].warning; },
       "OFF"},
      {"PRWLMCC", " PRWLMCC(950)\n", [](const auto& t) { return t[ResourceKind::kCpu].critical; },
       "OFF"},
      {"PRWLMBS", " PRWLMBS(ON)\n", [](const auto& t) { return t.busy; }, "OFF"},
  };
  const std::string batch =
      " PRWLMSC('BATCH')\n PRWLMPD(1)\n PRWLMWI(150)\n PRWLMCI(200)\n PRWLMWO(500)\n"
      " PRWLMCO(900)\n PRWLMWS(1200)\n PRWLMCS(1500)\n PRWLMWC(800)\n PRWLMCC(950)\n"
      " PRWLMBS(ON)\n End Row\n";
  const auto complete = readRow("", batch);
  for (const Case& c : cases) {
    const std::string without = " " + std::string(c.keyword) + "\n";
    const std::string empty = " " + std::string(c.keyword) + "()\n";
    for (const std::string& bare : {std::string(), without, empty}) {
      std::string rest = batch;
      rest.replace(rest.find(c.line), c.line.size(), bare);
      const auto row = readRow("", rest);
      const std::string context = std::string(c.keyword) + " as '" + bare + "'";
      EXPECT_EQ(c.field(thresholdsOf(row)), c.expected) << context;
      EXPECT_EQ(row.missing, c.keyword == "PRWLMBS" ? std::vector<std::string_view>{}
                                                    : std::vector<std::string_view>{c.keyword})
          << context;
      // The rest of the row is as the complete row has it.
      for (const Case& other : cases) {
        if (other.keyword == c.keyword) continue;
        EXPECT_EQ(other.field(thresholdsOf(row)), other.field(thresholdsOf(complete)))
            << context << ", " << other.keyword;
      }
    }
  }
}

TEST(ServiceClassRowReaderTest, FirstLineAndProfileEnd) {
  // A keyword on the row's first line counts, and later lines may replace it.
  auto row = readRow(" PRWLMSC(BATCH)\n", " PRWLMPD(3)\n");
  EXPECT_EQ(thresholdsOf(row).className, "BATCH");
  EXPECT_EQ(thresholdsOf(row).period,
            "3");  // the profile ended inside the row: kept all the same
  row = readRow(" PRWLMSC(BATCH)\n", " PRWLMSC(ONLINE)\n End Row\n");
  EXPECT_EQ(thresholdsOf(row).className, "ONLINE");
  // A first line that ends the row reads nothing further.
  std::string after;
  row = readRow(" End Row\n", " PRWLMSC(LATE)\n", &after);
  EXPECT_EQ(thresholdsOf(row).className, "");
  EXPECT_EQ(after, " PRWLMSC(LATE)\n");
}

TEST(ServiceClassRowReaderTest, LongRowLinesContinueAsNextLine) {
  // 255 characters make one row line; the rest is a line of its own.
  std::string longLine = " PRWLMSC(A)" + std::string(244, ' ') + " PRWLMPD(7)\n";
  auto fromProfile = readRow("", longLine + " End Row\n");
  EXPECT_EQ(thresholdsOf(fromProfile).className, "A");
  EXPECT_EQ(thresholdsOf(fromProfile).period, "7");
  auto asFirstLine = readRow(longLine, " End Row\n");
  EXPECT_EQ(thresholdsOf(asFirstLine).period, "7");
}

}  // namespace
}  // namespace tornvel
