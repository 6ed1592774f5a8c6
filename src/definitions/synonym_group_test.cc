#include "definitions/synonym_group.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "definitions/synonym_test_support.h"

namespace tornvel {
namespace {

std::unique_ptr<SynonymGroup> parsed(std::string text) {
  auto group = std::make_unique<SynonymGroup>();
  EXPECT_EQ(group->initFromText(text), SynonymParse::kParsed) << text;
  return group;
}

std::vector<std::string> memberNames(const SynonymGroup& group) {
  std::vector<std::string> names;
  for (int i = 0; i < group.count; ++i) names.push_back(group.members[i].name);
  return names;
}

std::string printed(const SynonymGroup& group) {
  std::ostringstream out;
  group.printGroup(out);
  return out.str();
}

// The (warning, critical) texts recorded for one member; a null pair records
// nothing.
struct Recorded {
  const char* warning;
  const char* critical;
};

TEST(SynonymGroupTest, ParseResultsAndTheTextLeftBehind) {
  struct Case {
    const char* text;
    int result;
    const char* left;
  };
  const Case cases[] = {
      {"", 1, ""},
      {"   ", 1, "   "},
      {" , ;\n", 1, " , ;\n"},
      {"X,A,B", 2, "X"},
      {" X A\n", 2, " X"},
      {"h,G,A", 2, "h"},
      {"low G A", 2, "low"},
      {"H", 3, "H"},
      {";H\n", 3, ";H"},
      {"H G", 5, "H"},
      {"H,G,\n", 5, "H"},
      {"H,G,A", 0, "H"},
      {" ,Low;G A\n", 0, " ,Low"},
  };
  for (const Case& c : cases) {
    SynonymGroup group;
    std::string text = c.text;
    EXPECT_EQ(static_cast<int>(group.initFromText(text)), c.result) << c.text;
    EXPECT_EQ(text, c.left) << c.text;
  }
}

TEST(SynonymGroupTest, KindComesFromTheFirstLetterOnly) {
  EXPECT_EQ(parsed("Low G A")->kind, 'L');
  EXPECT_EQ(parsed("L G A")->kind, 'L');
  EXPECT_EQ(parsed("HIGH G A")->kind, 'H');
  EXPECT_EQ(parsed("Hxyz G A")->kind, 'H');
  EXPECT_EQ(SynonymGroup().kind, 'H');
}

TEST(SynonymGroupTest, AtMostTwentyNames) {
  std::string twenty = "H GRP";
  for (int i = 1; i <= 19; ++i) twenty += " M" + std::to_string(i);
  auto group = parsed(twenty);
  EXPECT_EQ(group->count, 20);
  EXPECT_EQ(group->members[19].name, "M19");
  EXPECT_NE(memberNamed(*group, "M19"), nullptr);

  std::string twentyOne = twenty + " M20";
  SynonymGroup full;
  EXPECT_EQ(full.initFromText(twentyOne), SynonymParse::kTooManyNames);
  EXPECT_EQ(twentyOne, "H");
}

TEST(SynonymGroupTest, SeparatorsMayBeMixed) {
  auto commas = parsed("L,GRP,A,B,C");
  auto mixed = parsed(" L ;GRP,, A;B \n C\n");
  EXPECT_EQ(mixed->kind, commas->kind);
  EXPECT_EQ(mixed->name, commas->name);
  EXPECT_EQ(memberNames(*mixed), memberNames(*commas));
  EXPECT_EQ(memberNames(*commas), (std::vector<std::string>{"GRP", "A", "B", "C"}));
}

TEST(SynonymGroupTest, NamesAreKeptToEightCharacters) {
  auto group = parsed("H ABCDEFGH MEMBER1234 X\tY");
  EXPECT_EQ(group->name, "ABCDEFGH");
  EXPECT_EQ(memberNames(*group), (std::vector<std::string>{"ABCDEFGH", "MEMBER12", "X\tY"}));
  EXPECT_EQ(printed(*group), "ABCDEFGH <== MEMBER12 X\tY \n");

  auto longName = parsed("H ABCDEFGHIJ A");
  EXPECT_EQ(longName->name, "ABCDEFGH");
  EXPECT_EQ(longName->members[0].name, "ABCDEFGH");
}

TEST(SynonymGroupTest, FindMemberIsExactAndFindsTheFirst) {
  auto group = parsed("H GRP A B A");
  EXPECT_EQ(group->count, 4);
  EXPECT_EQ(memberNamed(*group, "GRP"), &group->members[0]);
  EXPECT_EQ(memberNamed(*group, "A"), &group->members[1]);
  EXPECT_EQ(memberNamed(*group, "B"), &group->members[2]);
  EXPECT_EQ(memberNamed(*group, "a"), nullptr);
  EXPECT_EQ(memberNamed(*group, "AB"), nullptr);
  EXPECT_EQ(memberNamed(*group, ""), nullptr);  // unused slots are not members
}

TEST(SynonymGroupTest, RecordValuesReadsIntegersAndOverwrites) {
  struct Case {
    const char* warning;
    const char* critical;
    int warningValue;
    int criticalValue;
  };
  const Case cases[] = {
      {"80", "90", 80, 90}, {"OFF", "ON", 0, 0},
      {"N/A", "", 0, 0},    {"12.5", " -7x", 12, -7},
      {"+3", "-0", 3, 0},   {"99999999999", "-99999999999", 2147483647, -2147483647 - 1},
  };
  for (const Case& c : cases) {
    SynonymMember member;
    member.recordValues("1", "2");
    member.recordValues(c.warning, c.critical);
    EXPECT_TRUE(member.hasValues);
    EXPECT_EQ(member.warning, c.warningValue) << c.warning;
    EXPECT_EQ(member.critical, c.criticalValue) << c.critical;
  }
}

TEST(SynonymGroupTest, CombineFoldsEachValueOnItsOwn) {
  struct Case {
    const char* text;
    std::vector<Recorded> values;
    int result;
    int warning;
    int critical;
  };
  const Case cases[] = {
      {"H G A B C",
       {{nullptr, nullptr}, {"80", "90"}, {"70", "95"}, {nullptr, nullptr}},
       0,
       70,
       90},
      {"L G A B C",
       {{nullptr, nullptr}, {"80", "90"}, {"70", "95"}, {nullptr, nullptr}},
       0,
       80,
       95},
      {"L G A B", {{"-5", "-7"}, {"-3", "-9"}, {nullptr, nullptr}}, 0, -3, -7},
      {"H G A B", {{"-5", "-7"}, {"-3", "-9"}, {nullptr, nullptr}}, 0, -5, -9},
      {"H G A", {{"50", "60"}, {"OFF", "ON"}}, 0, 0, 0},
      {"L G A", {{"50", "60"}, {"OFF", "ON"}}, 0, 50, 60},
      {"L G A B", {{nullptr, nullptr}, {nullptr, nullptr}, {"-4", "-6"}}, 0, -4, -6},
      {"H G A B", {{nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr}}, 1, 0, 0},
  };
  for (const Case& c : cases) {
    auto group = parsed(c.text);
    ASSERT_EQ(static_cast<std::size_t>(group->count), c.values.size()) << c.text;
    for (std::size_t i = 0; i < c.values.size(); ++i) {
      if (c.values[i].warning == nullptr) continue;
      group->members[i].recordValues(c.values[i].warning, c.values[i].critical);
    }
    EXPECT_EQ(group->combine(), c.result) << c.text;
    EXPECT_EQ(group->combinedWarning, c.warning) << c.text;
    EXPECT_EQ(group->combinedCritical, c.critical) << c.text;
  }
}

TEST(SynonymGroupTest, PrintGroupListsTheMembersAfterItsName) {
  EXPECT_EQ(printed(*parsed("H G A B")), "G <== A B \n");
  EXPECT_EQ(printed(*parsed("L,GRP1,M1")), "GRP1 <== M1 \n");
}

TEST(SynonymListTest, NewestGroupComesFirst) {
  SynonymList list;
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.findFirstMember("A"), nullptr);

  list.pushFront(parsed("H OLD A B"));
  SynonymMember* inOld = list.findFirstMember("A");
  ASSERT_NE(inOld, nullptr);
  EXPECT_EQ(inOld, memberNamed(*list.head(), "A"));

  // A newer group that also names A takes it over, even after a look-up.
  list.pushFront(parsed("L NEW C A"));
  ASSERT_EQ(list.head()->name, "NEW");
  ASSERT_NE(list.head()->next, nullptr);
  EXPECT_EQ(list.head()->next->name, "OLD");
  EXPECT_EQ(list.head()->next->next, nullptr);
  EXPECT_EQ(list.findFirstMember("A"), memberNamed(*list.head(), "A"));
  EXPECT_EQ(list.findFirstMember("B"), inOld + 1);
  EXPECT_EQ(list.findFirstMember("OLD"), &list.head()->next->members[0]);
  EXPECT_EQ(list.findFirstMember("NEW"), &list.head()->members[0]);
  EXPECT_EQ(list.findFirstMember("Z"), nullptr);

  // Values recorded through the list reach the newer group only.
  list.findFirstMember("A")->recordValues("10", "20");
  EXPECT_EQ(list.head()->combine(), 0);
  EXPECT_EQ(list.head()->combinedWarning, 10);
  EXPECT_EQ(list.head()->next->combine(), 1);
}

TEST(SynonymListTest, DuplicateInOneGroupFindsItsFirstMember) {
  SynonymList list;
  list.pushFront(parsed("H G A A"));
  EXPECT_EQ(list.findFirstMember("A"), &list.head()->members[1]);
}

}  // namespace
}  // namespace tornvel
