#include "readers/numbered_record_reader.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "readers/reader_test_support.h"

namespace tornvel {
namespace {

struct NumberedRun : ReaderRun {
  NumberedRun() : ReaderRun("ZWQ", readNumberedRecords) {}
  void read(std::initializer_list<std::string_view> records, bool verbose) {
    std::string text;
    for (std::string_view record : records) text.append(record).append("\n");
    ReaderRun::read(std::move(text), verbose);
  }
};

TEST(NumberedRecordReaderTest, AppliesEachPairOfValuesToTheNameReadLast) {
  struct Case {
    std::initializer_list<std::string_view> records;
    // Warning and critical of ABC1, then of ABC2.
    const char* values[4];
  };
  const Case cases[] = {
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "580.", "4THR_CRIT", "595."}, {"80", "95", "", ""}},
      {{"4THR_NAME", "5NM ABC1", "4THR_CRIT", "595.", "4THR_WARN", "580.00"}, {"80", "95", "", ""}},
      // A second pair without a new name goes to the same exception.
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "580.", "4THR_CRIT", "595.", "4THR_WARN", "570.",
        "4THR_CRIT", "512.5"},
       {"70", "12", "", ""}},
      // A name record does not clear a held value.
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "580.", "4THR_NAME", "5NM ABC2", "4THR_CRIT", "590."},
       {"", "", "80", "90"}},
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "580."}, {"", "", "", ""}},
      // The name is expected first, so it takes the first value.
      {{"4THR_NAME", "4THR_WARN", "5NM ABC1", "580.", "4THR_CRIT", "595."}, {"80", "95", "", ""}},
      // An empty keyword record forgets the held warning; the critical is
      // still expected.
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "580.", "4THR_CRIT", "4", "595."}, {"", "", "", ""}},
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "580.", "4THR_CRIT", "4   ", "595.", "4THR_WARN",
        "570."},
       {"70", "95", "", ""}},
      // An empty value record forgets what is held and expected, not the name.
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "580.", "4THR_CRIT", "5", "595."}, {"", "", "", ""}},
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "580.", "4THR_CRIT", "5.", "595.", "4THR_WARN",
        "570.", "4THR_CRIT", "590."},
       {"70", "90", "", ""}},
      // Records of other types, or with a blank or a letter first, count for
      // nothing, whatever follows.
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "580.", "3THR_CRIT", "6THR_CRIT", " 4THR_CRIT",
        "xTHR_CRIT", "4THR_CRITX", "511.", "4THR_CRIT", "322.", " 533.", "Q544.", "655.", "590."},
       {"80", "90", "", ""}},
      // Values are handed over without a change of case ("On" is an on-word).
      {{"4THR_NAME", "5NM ABC1", "4THR_WARN", "5abc.", "4THR_CRIT", "5On."}, {"abc", "0", "", ""}},
  };
  for (const Case& c : cases) {
    NumberedRun run;
    ExceptionDefinition& abc1 = run.define("ABC1");
    ExceptionDefinition& abc2 = run.define("ABC2");
    run.read(c.records, false);
    std::string records;
    for (std::string_view record : c.records) records.append(record).append("|");
    EXPECT_EQ(abc1.condition(Severity::kWarning).value, c.values[0]) << records;
    EXPECT_EQ(abc1.condition(Severity::kCritical).value, c.values[1]) << records;
    EXPECT_EQ(abc2.condition(Severity::kWarning).value, c.values[2]) << records;
    EXPECT_EQ(abc2.condition(Severity::kCritical).value, c.values[3]) << records;
  }
}

TEST(NumberedRecordReaderTest, VerboseRunListsPairsWhoseNameMatchesNoDefinition) {
  const std::string longValue(45, '7');
  for (bool verbose : {true, false}) {
    NumberedRun run;
    ExceptionDefinition& abc1 = run.define("ABC1");
    // A name value of fewer than four characters leaves an empty name.
    run.read({"4THR_NAME", "5AB", "4THR_WARN", "580.", "4THR_CRIT", "595.",  //
              "4THR_NAME", "5NM abc1", "4THR_WARN", "5off.", "4THR_CRIT", "5" + longValue,
              "4THR_NAME", "5NM ABC1", "4THR_WARN", "570.", "4THR_CRIT", "590."},
             verbose);
    EXPECT_EQ(abc1.condition(Severity::kWarning).value, "70");
    EXPECT_EQ(abc1.condition(Severity::kCritical).value, "90");
    // Values are held to 39 characters.
    EXPECT_EQ(run.out.str(), !verbose ? ""
                                      : "\n\nExceptions in profile not handled:\n\n"
                                        "Name    \tWarning\tCritical\n"
                                        "    \t80\t95\n"
                                        "abc1    \toff\t" +
                                            longValue.substr(0, 39) + "\n");
    // The same pairs are kept, at their names' lines, in either run.
    EXPECT_EQ(unhandledOf(run.findings), (std::vector<std::string>{"@2", "abc1@8"}));
    EXPECT_EQ(nearMissesOf(run.findings), std::vector<std::string>{"abc1>ABC1@8"});
  }
}

}  // namespace
}  // namespace tornvel
