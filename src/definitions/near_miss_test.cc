#include "definitions/near_miss.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace tornvel {
namespace {

std::string answer(const NearMissIndex& index, std::string_view name) {
  const auto candidate = index.nearMiss(name);
  return candidate ? std::string(*candidate) : "-";
}

TEST(NearMissIndexTest, OnlyCaseAndOneNeighbourSwapAreNearMisses) {
  DefinitionTable table;
  for (const char* name : {"LOCKWAIT", "BPHIT1", "DLSTATS", "LONGNAME9X"}) {
    DefinitionInputs in;
    in.name = name;
    table.append(std::make_unique<ExceptionDefinition>(in));
  }
  SynonymList synonyms;
  auto group = std::make_unique<SynonymGroup>();
  std::string directive = "H,DLSTATS,DLCOUNT,DLRATE";
  ASSERT_EQ(group->initFromText(directive), SynonymParse::kParsed);
  synonyms.pushFront(std::move(group));
  NearMissIndex index;
  index.addDefinitions(table);
  index.addSynonymMembers(synonyms);
  // Case, a swap at the start, of the second and third, within, at the end;
  // a synonym member; a definition name cut at 8 characters.
  const std::pair<const char*, const char*> nearMisses[] = {
      {"lockwait", "LOCKWAIT"}, {"LockWait", "LOCKWAIT"}, {"OLCKWAIT", "LOCKWAIT"},
      {"LCOKWAIT", "LOCKWAIT"}, {"LOCKWIAT", "LOCKWAIT"}, {"LOCKWATI", "LOCKWAIT"},
      {"bphit1", "BPHIT1"},     {"DLRAET", "DLRATE"},     {"LONGNAEM", "LONGNAME"},
  };
  for (const auto& [name, expected] : nearMisses) EXPECT_EQ(answer(index, name), expected);
  // Names that reached (a definition, a synonym member); another digit, with
  // and without a swap; a letter more or less; the 9th character the
  // definition lost; two swaps, apart and side by side; a swap of no
  // neighbours; case and a swap together.
  for (const char* name : {"LOCKWAIT", "DLRATE", "BPHIT3", "BPHTI3", "LOCKWAITS", "LOCKWAT",
                           "LONGNAME9X", "OLCKWATI", "LOCWKIAT", "LACKWOIT", "lockwiat", ""}) {
    EXPECT_EQ(answer(index, name), "-") << name;
  }
}

// Where a name is nearly several candidates, the first added is named,
// whichever mistake leads to it.
TEST(NearMissIndexTest, FirstCandidateAddedWins) {
  NearMissIndex swapFirst;
  for (const char* name : {"BACD", "abcd", "ABDC"}) swapFirst.addCandidate(name);
  EXPECT_EQ(answer(swapFirst, "ABCD"), "BACD");
  NearMissIndex caseFirst;
  for (const char* name : {"abcd", "BACD", "ABBA"}) caseFirst.addCandidate(name);
  EXPECT_EQ(answer(caseFirst, "ABCD"), "abcd");
  EXPECT_EQ(answer(caseFirst, "BABA"), "ABBA");
  caseFirst.addCandidate("ABCD");
  EXPECT_EQ(answer(caseFirst, "ABCD"), "-");  // exact beside a near miss
  EXPECT_EQ(answer(NearMissIndex(), "ABCD"), "-");
}

}  // namespace
}  // namespace tornvel
