#include "readers/threshold_statement_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "readers/reader_test_support.h"

namespace tornvel {
namespace {

struct StatementRun : ReaderRun {
  StatementRun() : ReaderRun("IMS", readThresholdStatements) {}
  // The group declared last comes first in the list.
  void declareGroup(std::string directive) {
    auto group = std::make_unique<SynonymGroup>();
    ASSERT_EQ(group->initFromText(directive), SynonymParse::kParsed);
    synonyms.pushFront(std::move(group));
  }
};

TEST(ThresholdStatementReaderTest, TakesTheCriticalBeforeTheWarning) {
  for (const char* text :
       {"THRABC1 5 90 80\n", "THRABC1 5,90,80\n", "THRABC1 5, 90 ,,80 70\n", "  THRABC1 5 90 80"}) {
    StatementRun run;
    ExceptionDefinition& abc1 = run.define("ABC1");
    run.read(text, false);
    EXPECT_EQ(abc1.condition(Severity::kWarning).value, "80") << text;
    EXPECT_EQ(abc1.condition(Severity::kCritical).value, "90") << text;
  }
}

TEST(ThresholdStatementReaderTest, NotApplicableSwitchesTheWarningOffAndTheCriticalOn) {
  StatementRun run;
  ExceptionDefinition& abc1 = run.define("ABC1");
  run.read("THRABC1 5 N/A N/A\n", true);
  EXPECT_FALSE(abc1.condition(Severity::kWarning).enabled);
  EXPECT_EQ(abc1.condition(Severity::kCritical).value, "0");  // the on-value of a numeric critical
  EXPECT_EQ(run.out.str(), std::string(kProfileHeader) + "ABC1        \tOFF       \tON\n");
}

TEST(ThresholdStatementReaderTest, IgnoresLinesThatAreNoThresholdStatement) {
  StatementRun run;
  ExceptionDefinition& abc1 = run.define("ABC1");
  run.read(
      "thr1 5 90 80\nTHRABC1,5,90,80\nTHRABC1 5 90\n*THRABC1 5 90 80\n  *THRABC1 5 90 80\n\n"
      "XTHRABC1 5 90 80\nTHR 5 90 80\n",
      true);
  EXPECT_EQ(abc1.condition(Severity::kWarning).value, "");
  EXPECT_EQ(abc1.condition(Severity::kCritical).value, "");
  // Only the statement without a name is a threshold, for no definition.
  EXPECT_EQ(run.out.str(), std::string(kUnhandledHeader) + "    \t80\t90\n");
}

TEST(ThresholdStatementReaderTest, GroupKindDecidesWhetherLowestOrHighestValuesWin) {
  for (const auto& [kind, warning, critical] :
       {std::tuple{"H", "70", "90"}, std::tuple{"L", "80", "95"}}) {
    StatementRun run;
    ExceptionDefinition& abc1 = run.define("ABC1");
    ExceptionDefinition& abc2 = run.define("ABC2");
    ExceptionDefinition& grp = run.define("GRP");
    run.declareGroup(std::string(kind) + " GRP ABC1 ABC2");
    run.read("THRABC1 0 90 80\nTHRABC2 0 95 70\n", false);
    EXPECT_EQ(grp.condition(Severity::kWarning).value, warning) << kind;
    EXPECT_EQ(grp.condition(Severity::kCritical).value, critical) << kind;
    EXPECT_EQ(abc1.condition(Severity::kWarning).value + abc1.condition(Severity::kCritical).value +
                  abc2.condition(Severity::kWarning).value +
                  abc2.condition(Severity::kCritical).value,
              "");
  }
}

TEST(ThresholdStatementReaderTest, MemberOfTwoGroupsRecordsOnlyInTheFirstGroupOfTheList) {
  StatementRun run;
  ExceptionDefinition& g1 = run.define("G1");
  ExceptionDefinition& g2 = run.define("G2");
  run.declareGroup("H G1 ABC1 X1");
  run.declareGroup("H G2 ABC1 X2");  // comes first in the list
  run.read("THRABC1 0 90 80\n", true);
  EXPECT_EQ(g2.condition(Severity::kWarning).value, "80");
  EXPECT_EQ(g2.condition(Severity::kCritical).value, "90");
  // G1 recorded nothing: it applies nothing and is not listed.
  EXPECT_EQ(g1.condition(Severity::kWarning).value + g1.condition(Severity::kCritical).value, "");
  EXPECT_EQ(run.out.str(), std::string(kProfileHeader) + "G2        \t80       \t90\n");
}

TEST(ThresholdStatementReaderTest, OnlyTheFirstDefinitionOfANameTakesItsValues) {
  StatementRun run;
  ExceptionDefinition& first = run.define("ABC1");
  ExceptionDefinition& second = run.define("ABC1");
  ExceptionDefinition& member = run.define("ABC2");  // also a synonym member
  run.declareGroup("H GRP ABC2");
  run.read("THRABC1 0 90 80\nTHRABC2 0 95 85\nTHRABC3 0 20 10\n", true);
  EXPECT_EQ(
      first.condition(Severity::kWarning).value + "/" + first.condition(Severity::kCritical).value,
      "80/90");
  EXPECT_EQ(
      second.condition(Severity::kWarning).value + second.condition(Severity::kCritical).value, "");
  EXPECT_EQ(
      member.condition(Severity::kWarning).value + member.condition(Severity::kCritical).value, "");
  EXPECT_EQ(run.out.str(), std::string(kProfileHeader) + "ABC1        \t80       \t90\n" +
                               std::string(kUnhandledHeader) + "ABC3    \t10\t20\n" +
                               "GRP    \t85\t95\n");
}

TEST(ThresholdStatementReaderTest, GroupsReachTheirDefinitionsAfterTheProfile) {
  for (bool verbose : {true, false}) {
    StatementRun run;
    ExceptionDefinition& grp = run.define("GRP", "F");
    ExceptionDefinition& abc9 = run.define("ABC9");
    run.declareGroup("H GRP ABC1");
    run.declareGroup("L NODEF ABC5");
    // The line for GRP only records its values in the group, like any member.
    run.read("THRGRP 0 95 85\nTHRABC1 0 90 80\nTHRABC9 0 20 10\nTHRABC5 0 -3 -7\nTHRZZZ 0 2 1\n",
             verbose);
    EXPECT_EQ(grp.condition(Severity::kWarning).value, "80.0");
    EXPECT_EQ(grp.condition(Severity::kCritical).value, "90.0");
    EXPECT_EQ(abc9.condition(Severity::kWarning).value, "10");
    EXPECT_EQ(abc9.condition(Severity::kCritical).value, "20");
    EXPECT_EQ(run.out.str(), !verbose ? ""
                                      : std::string(kProfileHeader) +
                                            "ABC9        \t10       \t20\n"
                                            "GRP        \t80.0       \t90.0\n" +
                                            std::string(kUnhandledHeader) +
                                            "ZZZ    \t1\t2\n"
                                            "NODEF    \t-7\t-3\n");
    // A group's combined values stand on no profile line.
    EXPECT_EQ(unhandledOf(run.findings), (std::vector<std::string>{"ZZZ@5", "NODEF@0"}));
  }
}

}  // namespace
}  // namespace tornvel
