#include "readers/control_loader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "definitions/synonym_test_support.h"

namespace tornvel {
namespace {

constexpr const char* kStartAffinities = "##################################000000000";
constexpr const char* kLimitWarning =
    "\nWarning:\tYou have exceeded the number of supported exceptions.\n"
    "        \tThe current limit is 512\n";
constexpr const char* kSupportedHeader =
    "\nSupported exceptions for product:\n\nException\tAttribute\n";

// One load of a control file held in memory, with the run's state as the run
// sequence sets it up before loading.
struct Load {
  explicit Load(std::string text, bool verbose = false, bool noWarnings = false,
                std::string productCode = "ZT5") {
    reader.openText(std::move(text));
    ControlSettings settings{productCodesFor(productCode).product, productCode, verbose,
                             noWarnings};
    LoadedControl loaded = loadControlFile(reader, settings, console);
    table = std::move(loaded.table);
    synonyms = std::move(loaded.synonyms);
    release = loaded.release;
    affinities = loaded.affinities;
    cutFields = std::move(loaded.cutFields);
  }

  ExceptionDefinition& at(std::size_t index) { return table.at(index); }
  std::string output() const { return out.str(); }
  std::vector<std::string> groupNames() const {
    std::vector<std::string> names;
    for (SynonymGroup* group = synonyms.head(); group != nullptr; group = group->next) {
      names.push_back(group->name);
    }
    return names;
  }

  LineReader reader;
  std::ostringstream out;
  Console console{out};
  std::string release;
  std::string affinities;
  DefinitionTable table;
  SynonymList synonyms;
  std::vector<CutField> cutFields;
};

std::string definitionLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "EX" + std::to_string(i) + ",TAB.COL" + "\n";
  return text;
}

TEST(ControlLoaderTest, FullLineFillsEveryField) {
  Load load("ABC1,TAB.COL,I2,WSIT,CSIT,*GT,CON,*LE,WON,*LT,WUP,TAB.X = 1,3\n");
  ASSERT_EQ(load.table.size(), 1u);
  const ExceptionDefinition& d = load.at(0);
  EXPECT_EQ(d.name(), "ABC1");
  EXPECT_EQ(d.attribute(), "TAB.COL");
  EXPECT_EQ(d.recordedCode(), "ZT5");
  EXPECT_EQ(d.release(), "V100");
  EXPECT_EQ(d.valueType(), ValueType::kInteger);
  EXPECT_EQ(d.impliedDecimals(), 2);
  EXPECT_EQ(d.condition(Severity::kWarning).situation, "WSIT");
  EXPECT_EQ(d.condition(Severity::kCritical).situation, "CSIT");
  EXPECT_EQ(d.condition(Severity::kCritical).comparison, "*GT");
  EXPECT_EQ(d.condition(Severity::kCritical).onValue, "CON");
  EXPECT_EQ(d.condition(Severity::kWarning).comparison, "*LE");
  EXPECT_EQ(d.condition(Severity::kWarning).onValue, "WON");
  EXPECT_EQ(d.warningUpper().comparison, "*LT");
  EXPECT_EQ(d.warningUpper().value, "WUP");
  EXPECT_EQ(d.extraPredicate(), "TAB.X = 1");
  EXPECT_EQ(d.appendZeros(), 3);
  EXPECT_TRUE(d.condition(Severity::kWarning).enabled);
  EXPECT_FALSE(d.serviceClass().has_value());
  EXPECT_TRUE(load.output().empty());
}

// Fields longer than the definition keeps them are noted with their line;
// "None" is a word, not an operator, and the warning fields after it are not
// used; a release or affinity string is cut where the run keeps it.
TEST(ControlLoaderTest, NotesFieldsCutAtTheirCapacity) {
  Load load("* comment\nLOCKWAITTIME,T.C,I,~,~,*GEX,~,None," + std::string(30, 'V') +
            "\n:RELEASE V1100\n:AFFINITY " + std::string(60, 'A') + "\nSHORT,T.C,I," +
            std::string(65, 'W') + "\n");
  ASSERT_EQ(load.cutFields.size(), 5u);
  const std::pair<std::size_t, std::string_view> expected[] = {{2, "exception name"},
                                                               {2, "critical operator"},
                                                               {3, "release"},
                                                               {4, "affinity string"},
                                                               {5, "warning situation name"}};
  for (std::size_t i = 0; i < load.cutFields.size(); ++i) {
    EXPECT_EQ(load.cutFields[i].line, expected[i].first);
    EXPECT_EQ(load.cutFields[i].what, expected[i].second);
  }
  EXPECT_EQ(load.cutFields[0].given.substr(0, load.cutFields[0].kept), "LOCKWAIT");
  EXPECT_EQ(load.cutFields[3].kept, 59u);
}

TEST(ControlLoaderTest, SeparatorRunsDoNotMakeEmptyFields) {
  const char* lines[] = {
      "ABC1,T.C,B\n",   "ABC1,,T.C,,B\n",     "ABC1, T.C , B\n",
      "ABC1 T.C B\n",   " ,ABC1,T.C,B,\n",    "ABC1,T.C,B",
      "ABC1,T.C,B\r\n", "ABC1,T.C,B,~,~,~\n", "ABC1 ,, T.C ,,B ,, ,\n",
  };
  for (const char* line : lines) {
    Load load(line);
    ASSERT_EQ(load.table.size(), 1u) << line;
    EXPECT_EQ(load.at(0).name(), "ABC1") << line;
    EXPECT_EQ(load.at(0).attribute(), "T.C") << line;
    EXPECT_EQ(load.at(0).valueType(), ValueType::kBoolean) << line;
    EXPECT_EQ(load.at(0).condition(Severity::kCritical).comparison, "*EQ") << line;
  }
}

TEST(ControlLoaderTest, NameAndAttributeOnlyGiveTheDefaults) {
  Load load("ABC1,T.C\n");
  ASSERT_EQ(load.table.size(), 1u);
  const ExceptionDefinition& d = load.at(0);
  EXPECT_EQ(d.valueType(), ValueType::kInteger);
  EXPECT_EQ(d.impliedDecimals(), 0);
  EXPECT_EQ(d.condition(Severity::kWarning).situation, "ZT5_ABC1_Warning");
  EXPECT_EQ(d.condition(Severity::kCritical).situation, "ZT5_ABC1_Critical");
  EXPECT_EQ(d.condition(Severity::kCritical).comparison, "*GE");
  EXPECT_EQ(d.condition(Severity::kWarning).comparison, "*GE");
  EXPECT_EQ(d.warningUpper().comparison, "*LT");
  EXPECT_TRUE(d.extraPredicate().empty());
  EXPECT_EQ(d.appendZeros(), 0);
  EXPECT_TRUE(d.condition(Severity::kWarning).enabled);
}

TEST(ControlLoaderTest, TildeMarksAbsentFieldsAndLaterFieldsAreStillRead) {
  // The usual shape: both situations defaulted, on-values absent, no upper value.
  Load usual("ABC1,T.C,I,~,~,*GE,~,*GE,~,*LT\n");
  ASSERT_EQ(usual.table.size(), 1u);
  const ExceptionDefinition& d = usual.at(0);
  EXPECT_EQ(d.condition(Severity::kWarning).situation, "ZT5_ABC1_Warning");
  EXPECT_EQ(d.condition(Severity::kCritical).situation, "ZT5_ABC1_Critical");
  EXPECT_EQ(d.condition(Severity::kCritical).comparison, "*GE");
  EXPECT_EQ(d.condition(Severity::kWarning).comparison, "*GE");
  EXPECT_EQ(d.warningUpper().comparison, "*LT");
  EXPECT_TRUE(d.condition(Severity::kCritical).onValue.empty());
  EXPECT_TRUE(d.condition(Severity::kWarning).onValue.empty());
  EXPECT_TRUE(d.warningUpper().value.empty());
  EXPECT_TRUE(d.extraPredicate().empty());
  EXPECT_EQ(d.appendZeros(), 0);

  // Only the first character counts: "~x" is absent too.
  Load marked("ABC1,T.C,B,~x,CSIT,~,~,*NE,~,~,~,~,2\n");
  ASSERT_EQ(marked.table.size(), 1u);
  const ExceptionDefinition& m = marked.at(0);
  EXPECT_EQ(m.condition(Severity::kWarning).situation, "ZT5_ABC1_Warning");
  EXPECT_EQ(m.condition(Severity::kCritical).situation, "CSIT");
  EXPECT_EQ(m.condition(Severity::kCritical).comparison,
            "*EQ");  // field 6 absent: the type's default stays
  EXPECT_EQ(m.condition(Severity::kWarning).comparison, "*NE");
  EXPECT_TRUE(m.warningUpper().comparison.empty());
  EXPECT_TRUE(m.extraPredicate().empty());
  EXPECT_EQ(m.appendZeros(), 2);

  // A "~" that is not the first character is part of the value.
  Load inner("ABC1,T.C,I,W~1\n");
  ASSERT_EQ(inner.table.size(), 1u);
  EXPECT_EQ(inner.at(0).condition(Severity::kWarning).situation, "W~1");
}

TEST(ControlLoaderTest, TildeIsAnOrdinaryTypeText) {
  Load load("ABC1,T.C,~,W,C\n");
  ASSERT_EQ(load.table.size(), 1u);
  EXPECT_EQ(load.at(0).valueType(), ValueType::kOther);
  EXPECT_EQ(load.at(0).typeLetter(), '~');
  EXPECT_EQ(load.at(0).condition(Severity::kCritical).comparison, "*EQ");
  EXPECT_EQ(load.at(0).condition(Severity::kWarning).situation, "W");
  EXPECT_EQ(load.at(0).condition(Severity::kCritical).situation, "C");
}

TEST(ControlLoaderTest, PredicateAndZerosFieldsKeepBlanks) {
  // After field 11 ends at a comma, the blank before "~" belongs to field 12.
  Load blankTilde("A,T.C,I,~,~,*GE,~,*GE,~,*LT,~, ~X = 1,2\n");
  ASSERT_EQ(blankTilde.table.size(), 1u);
  EXPECT_EQ(blankTilde.at(0).extraPredicate(), " ~X = 1");
  EXPECT_EQ(blankTilde.at(0).appendZeros(), 2);

  // A blank ends field 11; the predicate runs to the comma, the count to the
  // line end, and tokens after the thirteenth are ignored.
  Load spaced("A T.C I ~ ~ *GE ~ *GE ~ *LT 5 T.X > 0 AND T.Y < 9, 3,IGNORED,MORE\n");
  ASSERT_EQ(spaced.table.size(), 1u);
  EXPECT_EQ(spaced.at(0).warningUpper().value, "5");
  EXPECT_EQ(spaced.at(0).extraPredicate(), "T.X > 0 AND T.Y < 9");
  EXPECT_EQ(spaced.at(0).appendZeros(), 3);

  // The predicate ends at the line end, which is not part of it.
  Load ending("A,T.C,I,~,~,*GE,~,*GE,~,*LT,~,T.X = 'A B'\n");
  ASSERT_EQ(ending.table.size(), 1u);
  EXPECT_EQ(ending.at(0).extraPredicate(), "T.X = 'A B'");
  EXPECT_EQ(ending.at(0).appendZeros(), 0);

  // "~" as the predicate: absent, and the count after it is still read.
  Load skipped("A,T.C,I,~,~,*GE,~,*GE,~,*LT,~,~,4\n");
  ASSERT_EQ(skipped.table.size(), 1u);
  EXPECT_TRUE(skipped.at(0).extraPredicate().empty());
  EXPECT_EQ(skipped.at(0).appendZeros(), 4);
}

TEST(ControlLoaderTest, MissingFieldsLeaveTheirDefaults) {
  // A critical operator alone: no on-value, and the warning side is untouched.
  Load critical("ABC1,T.C,I,~,~,*LT\n");
  ASSERT_EQ(critical.table.size(), 1u);
  EXPECT_EQ(critical.at(0).condition(Severity::kCritical).comparison, "*LT");
  EXPECT_TRUE(critical.at(0).condition(Severity::kCritical).onValue.empty());
  EXPECT_EQ(critical.at(0).condition(Severity::kWarning).comparison, "*GE");
  EXPECT_EQ(critical.at(0).warningUpper().comparison, "*LT");

  // A warning operator without the rest keeps the default upper operator.
  Load warning("ABC1,T.C,I,~,~,~,~,*GT\n");
  ASSERT_EQ(warning.table.size(), 1u);
  EXPECT_EQ(warning.at(0).condition(Severity::kCritical).comparison, "*GE");
  EXPECT_EQ(warning.at(0).condition(Severity::kWarning).comparison, "*GT");
  EXPECT_EQ(warning.at(0).warningUpper().comparison, "*LT");
  EXPECT_TRUE(warning.at(0).condition(Severity::kWarning).onValue.empty());

  // "None" as warning operator switches the warning off.
  Load none("ABC1,T.C,I,~,~,*GE,~,None,~,*LT\n");
  ASSERT_EQ(none.table.size(), 1u);
  EXPECT_FALSE(none.at(0).condition(Severity::kWarning).enabled);
  EXPECT_EQ(none.at(0).condition(Severity::kWarning).comparison, "*GE");
}

TEST(ControlLoaderTest, LinesWithoutADefinitionAreIgnored) {
  const char* text =
      "*comment,with fields\n"
      "   *indented comment\n"
      ",,* after commas\n"
      " , *X,Y\n"
      "\n"
      "     \n"
      " , ,, \n"
      "LONELY\n"
      "  LONELY2 ,\n"
      "\t\n";  // a tab is no separator: one token
  Load load(text, /*verbose=*/true);
  EXPECT_EQ(load.table.size(), 0u);
  EXPECT_TRUE(load.output().empty());
}

TEST(ControlLoaderTest, StarInsideALineIsData) {
  Load load("A*,*B\n");
  ASSERT_EQ(load.table.size(), 1u);
  EXPECT_EQ(load.at(0).name(), "A*");
  EXPECT_EQ(load.at(0).attribute(), "*B");
}

TEST(ControlLoaderTest, SameNameTwiceGivesTwoDefinitionsInFileOrder) {
  Load load("ABC1,FIRST\nABC1,SECOND\n");
  ASSERT_EQ(load.table.size(), 2u);
  EXPECT_EQ(load.at(0).attribute(), "FIRST");
  EXPECT_EQ(load.at(1).attribute(), "SECOND");
}

TEST(ControlLoaderTest, ReleaseAffectsLaterDefinitionsOnly) {
  Load load(
      "A,T.C\n"
      ":RELEASE V200\n"
      "B,T.C\n"
      "  :RELEASE,V3001\n"
      "C,T.C\n");
  ASSERT_EQ(load.table.size(), 3u);
  EXPECT_EQ(load.at(0).release(), "V100");
  EXPECT_EQ(load.at(1).release(), "V200");
  EXPECT_EQ(load.at(2).release(), "V300");  // cut at four characters
  EXPECT_EQ(load.release, "V300");
  EXPECT_TRUE(load.output().empty());
}

TEST(ControlLoaderTest, LastAffinityWinsAndMayHoldCommas) {
  Load load(
      ":AFFINITY AB,CD first\n"
      "A,T.C\n"
      ":AFFINITY %QM.X,Y\n");
  EXPECT_EQ(load.affinities, "%QM.X,Y");
  Load longValue(":AFFINITY " + std::string(100, 'a') + "\n");
  EXPECT_EQ(longValue.affinities, std::string(79, 'a'));
}

TEST(ControlLoaderTest, DirectiveWithoutValueChangesNothing) {
  Load load(":RELEASE\n:RELEASE   \n:AFFINITY\n:AFFINITY   \n:RELEASE");
  EXPECT_EQ(load.release, "V100");
  EXPECT_EQ(load.affinities, kStartAffinities);
  EXPECT_EQ(load.table.size(), 0u);
  EXPECT_TRUE(load.output().empty());
}

TEST(ControlLoaderTest, NonDirectiveWordsMakeDefinitionLines) {
  Load load(
      ":release V200\n"
      ":RELEASEX V300\n"
      ":synonym H,G,A\n"
      ":Affinity X\n"
      ":SYNONYM;H G,A\n");  // a semicolon does not end the directive word
  ASSERT_EQ(load.table.size(), 5u);
  EXPECT_EQ(load.at(0).name(), ":release");
  EXPECT_EQ(load.at(0).attribute(), "V200");
  EXPECT_EQ(load.at(1).name(), ":RELEASE");  // cut at eight characters
  EXPECT_EQ(load.at(2).name(), ":synonym");
  EXPECT_EQ(load.at(2).attribute(), "H");
  EXPECT_EQ(load.at(2).valueType(), ValueType::kOther);
  EXPECT_EQ(load.at(2).typeLetter(), 'G');
  EXPECT_EQ(load.at(3).name(), ":Affinit");
  EXPECT_EQ(load.at(4).attribute(), "G");
  EXPECT_EQ(load.release, "V100");
  EXPECT_EQ(load.affinities, kStartAffinities);
  EXPECT_TRUE(load.synonyms.empty());
}

TEST(ControlLoaderTest, SynonymDirectiveParseResults) {
  struct Case {
    std::string line;
    std::string output;  // empty: the group was kept
  };
  const std::string twentyOneNames = ":SYNONYM L G A B C D E F H I J K M N O P Q R S T U V\n";
  const Case cases[] = {
      {":SYNONYM H,GRP,A,B\n", ""},
      {":SYNONYM,L;G;A", ""},
      {":SYNONYM X,A,B\n", "Error 2 From Init for  X\n"},
      {" :SYNONYM H,A,B\n", "Error 2 From Init for M\n"},
      {",:SYNONYM H,A,B\n", "Error 2 From Init for M\n"},
      {":SYNONYM h,G,A\n", "Error 2 From Init for  h\n"},
      {":SYNONYM\n", "Error 1 From Init for \n\n"},
      {":SYNONYM", "Error 1 From Init for \n"},
      {":SYNONYM , ;\n", "Error 1 From Init for  , ;\n\n"},
      {":SYNONYM H\n", "Error 3 From Init for  H\n"},
      {":SYNONYM ,,HIGH;G\n", "Error 5 From Init for  ,,HIGH\n"},
      {twentyOneNames, "Error 4 From Init for  L\n"},
  };
  for (const Case& c : cases) {
    for (bool verbose : {false, true}) {
      Load load(c.line, verbose);
      EXPECT_EQ(load.output(), c.output) << c.line;
      EXPECT_EQ(load.synonyms.empty(), !c.output.empty()) << c.line;
      EXPECT_EQ(load.table.size(), 0u) << c.line;
    }
  }
}

TEST(ControlLoaderTest, SynonymGroupKeepsItsNamesAndKind) {
  Load load(":SYNONYM LOW GRP,A;B C\n");
  ASSERT_FALSE(load.synonyms.empty());
  SynonymGroup* group = load.synonyms.head();
  EXPECT_EQ(group->name, "GRP");
  EXPECT_EQ(group->kind, 'L');
  EXPECT_EQ(group->count, 4);
  EXPECT_NE(memberNamed(*group, "C"), nullptr);
  EXPECT_EQ(load.synonyms.findFirstMember("B"), memberNamed(*group, "B"));
}

TEST(ControlLoaderTest, SynonymListRunsNewestFirst) {
  Load load(
      ":SYNONYM H,G1,A\n"
      "X,T.C\n"
      ":SYNONYM X,BAD,A\n"
      ":SYNONYM H,G2,A\n"
      ":SYNONYM L,G3,B\n");
  EXPECT_EQ(load.groupNames(), (std::vector<std::string>{"G3", "G2", "G1"}));
  EXPECT_EQ(load.output(), "Error 2 From Init for  X\n");
  // A member named in two groups is recorded in the newer one.
  EXPECT_EQ(load.synonyms.findFirstMember("A"), memberNamed(*load.synonyms.head()->next, "A"));
}

TEST(ControlLoaderTest, NoWarningsSwitchDisablesEveryWarning) {
  Load load(
      "A,T.C,I,~,~,*GE,~,*LE,WON,*LT,WUP\n"
      "B,T.C\n"
      "C,T.C,B,~,~,*EQ,~,None\n",
      /*verbose=*/false, /*noWarnings=*/true);
  ASSERT_EQ(load.table.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_FALSE(load.at(i).condition(Severity::kWarning).enabled) << i;
  // The line's warning condition is not applied.
  EXPECT_EQ(load.at(0).condition(Severity::kWarning).comparison, "*GE");
  EXPECT_TRUE(load.at(0).condition(Severity::kWarning).onValue.empty());
  EXPECT_TRUE(load.at(0).warningUpper().value.empty());
  // The critical side is configured as usual.
  EXPECT_EQ(load.at(0).condition(Severity::kCritical).comparison, "*GE");
  EXPECT_TRUE(load.at(0).condition(Severity::kCritical).enabled);
}

TEST(ControlLoaderTest, StopsAtTheDefinitionLimit) {
  for (bool verbose : {false, true}) {
    Load load(definitionLines(512) +
                  "LONE\n"  // a single token defines nothing and does not stop loading
                  "* comment\n"
                  ":RELEASE V200\n"
                  "EX512,TAB.COL\n"
                  ":RELEASE V300\n"
                  ":AFFINITY ZZZ\n"
                  ":SYNONYM H,G,A\n"
                  ":SYNONYM X,A,B\n"
                  "EX513,TAB.COL\n",
              verbose);
    ASSERT_EQ(load.table.size(), 512u);
    EXPECT_EQ(load.at(511).name(), "EX511");
    EXPECT_EQ(load.release, "V200");
    EXPECT_EQ(load.affinities, kStartAffinities);
    EXPECT_TRUE(load.synonyms.empty());
    std::string out = load.output();
    if (!verbose) {
      EXPECT_EQ(out, kLimitWarning);
      continue;
    }
    // Every loaded definition has its row; the refused one has none.
    std::string rows = kSupportedHeader;
    for (int i = 0; i < 512; ++i) rows += "EX" + std::to_string(i) + "      \tTAB.COL\n";
    EXPECT_EQ(out, rows + kLimitWarning);
  }
}

TEST(ControlLoaderTest, ExactlyTheLimitLoadsWithoutWarning) {
  Load load(definitionLines(512) + "LONE\n:AFFINITY ZZZ\n");
  EXPECT_EQ(load.table.size(), 512u);
  EXPECT_EQ(load.affinities, "ZZZ");
  EXPECT_TRUE(load.output().empty());
}

TEST(ControlLoaderTest, VerboseListsEachDefinitionAsRead) {
  Load load(
      ":RELEASE V200\n"
      "* comment\n"
      "LONGNAME99,TABLE.COLUMN,I\n"
      "LONE\n"
      "ABC1 T.C\n",
      /*verbose=*/true);
  ASSERT_EQ(load.table.size(), 2u);
  EXPECT_EQ(load.at(0).name(), "LONGNAME");
  EXPECT_EQ(load.output(), std::string(kSupportedHeader) +
                               "LONGNAME99      \tTABLE.COLUMN\n"
                               "ABC1      \tT.C\n");
}

TEST(ControlLoaderTest, QuietOrEmptyLoadsPrintNoTable) {
  Load quiet("ABC1,T.C\n");
  EXPECT_TRUE(quiet.output().empty());
  Load empty(":RELEASE V200\n* only a comment\n", /*verbose=*/true);
  EXPECT_TRUE(empty.output().empty());
}

TEST(ControlLoaderTest, ImsProductNamesDefaultSituations) {
  Load load("DLIRATE,T.C\nPOOLX,T.C,I,WSIT\n", false, false, "IMS");
  ASSERT_EQ(load.table.size(), 2u);
  EXPECT_EQ(load.at(0).recordedCode(), "IMS");
  EXPECT_EQ(load.at(0).condition(Severity::kWarning).situation, "IMS_DLIRATE_Warning");
  EXPECT_EQ(load.at(0).condition(Severity::kCritical).situation, "IMS_DLIRATE_Critical");
  EXPECT_EQ(load.at(1).condition(Severity::kWarning).situation, "WSIT");
  EXPECT_EQ(load.at(1).condition(Severity::kCritical).situation, "IMS_POOLX_Critical");
}

TEST(ControlLoaderTest, OverlongLineIsReadAsTwoLines) {
  // 1100 characters: the first 1023 end in the type text QRS, the remaining 77
  // begin a definition of their own.
  std::string line = "P1,T1";
  line += std::string(1020 - line.size(), ' ');
  line += "QRS";
  line += "TUV,T3";
  line += std::string(1100 - line.size(), ' ');
  ASSERT_EQ(line.size(), 1100u);
  Load load(line + "\nNEXT,T4\n");
  ASSERT_EQ(load.table.size(), 3u);
  EXPECT_EQ(load.at(0).name(), "P1");
  EXPECT_EQ(load.at(0).valueType(), ValueType::kOther);
  EXPECT_EQ(load.at(0).typeLetter(), 'Q');
  EXPECT_EQ(load.at(0).condition(Severity::kWarning).situation, "ZT5_P1_Warning");
  EXPECT_EQ(load.at(1).name(), "TUV");
  EXPECT_EQ(load.at(1).attribute(), "T3");
  EXPECT_EQ(load.at(2).name(), "NEXT");
}

}  // namespace
}  // namespace tornvel
