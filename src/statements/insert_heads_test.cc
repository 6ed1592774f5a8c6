#include "statements/insert_heads.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace tornvel {
namespace {

std::vector<std::string> split(std::string_view text, char at) {
  std::vector<std::string> parts;
  std::string_view::size_type start = 0;
  for (auto end = text.find(at); end != std::string_view::npos; end = text.find(at, start)) {
    parts.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

struct Head {
  std::vector<std::string> columns;
  std::vector<std::string> values;  // as written, quotes included
};

Head parse(std::string_view head) {
  constexpr std::string_view kStart = "INSERT INTO VORDA.TSITDESC (";
  constexpr std::string_view kValues = ") VALUES(";
  EXPECT_EQ(head.substr(0, kStart.size()), kStart);
  auto valuesAt = head.find(kValues);
  EXPECT_NE(valuesAt, std::string_view::npos);
  return {split(head.substr(kStart.size(), valuesAt - kStart.size()), ','),
          split(head.substr(valuesAt + kValues.size()), ',')};
}

// The build-mode head is checked whole by the worked INSERT of build mode.
TEST(InsertHeadsTest, BuildModeHeadEndsByOpeningTheText) {
  EXPECT_EQ(kBuildModeInsertHead.size(), 257u);
  EXPECT_EQ(parse(kBuildModeInsertHead).values.back(), "\"");
}

TEST(InsertHeadsTest, ServiceClassHeadFixesEverythingBeforeLastDate) {
  EXPECT_EQ(kServiceClassInsertHead.size(), 467u);
  EXPECT_EQ(kServiceClassInsertHead.back(), ',');
  const Head head = parse(kServiceClassInsertHead);
  EXPECT_EQ(head.columns,
            (std::vector<std::string>{
                "ADVISE",     "AFFINITIES", "ALERTLIST",  "AUTOSOPT",   "AUTOSTART",  "CMD",
                "DESTNODE",   "EVENTATTR",  "HUB",        "LOCFLAG",    "LSTCCSID",   "LSTRELEASE",
                "LSTUSRPRF",  "NOCOL",      "NOTIFYARGS", "NOTIFYOPTS", "OBJECTLOCK", "PRNAMES",
                "QIBCLASSID", "QIBSCOPE",   "REEV_DAYS",  "REEV_TIME",  "REFLEXOK",   "RESERVED",
                "SENDMSGQ",   "SITINFO",    "SOURCE",     "LSTDATE",    "TEXT",       "SITNAME",
                "PDT"}));
  const std::string affinities = "\"" + std::string(34, '#') + std::string(9, '0') + "\"";
  // Values of the first 27 columns, then nothing after the closing comma.
  EXPECT_EQ(head.values,
            (std::vector<std::string>{
                "\"\"",       affinities, "\"\"", "\"NNN\"",   "\"*NO\"",  "\"*NONE\"",    "\"\"",
                "\"\"",       "\"\"",     "\"\"", "\"\"",      "\"V100\"", "\"SYSADMIN\"", "\"\"",
                "\"\"",       "\"\"",     "\"\"", "\"\"",      "\"UUUU\"", "\"E\"",        "\"0\"",
                "\"001500\"", "\"\"",     "\"\"", "\"*NONE\"", "\"~\"",    "\"\"",         ""}));
}

}  // namespace
}  // namespace tornvel
