#include "definitions/exception_definition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "definitions/definition_table.h"

namespace tornvel {
namespace {

DefinitionInputs basicInputs(OptionalText typeText = std::nullopt) {
  DefinitionInputs in;
  in.product = Product::kSystem;
  in.recordedCode = "ZR5";
  in.release = "V100";
  in.name = "X";
  in.attribute = "TAB.COL";
  in.typeText = typeText;
  return in;
}

// A record of the given type text, configured with an append-zeros count.
ExceptionDefinition makeDefinition(OptionalText typeText, std::string_view zeros = "0") {
  ExceptionDefinition d(basicInputs(typeText));
  d.setAppendZeros(zeros);
  return d;
}

TEST(InsertImpliedDecimalsTest, WorkedValues) {
  struct Case {
    const char* text;
    int decimals;
    const char* result;
  };
  const Case cases[] = {
      {"1234", 2, "12.34"},
      {"25", 2, ".25"},
      {"5", 1, ".5"},
      {"05", 1, ".5"},
      {"10", 1, "1.0"},
      {"100", 1, "10.0"},
      {"0050", 2, "0.50"},
      {"0", 1, ".0"},
      {"5", 2, "5"},
      {"1000", 1, "100"},
      {"1000", 2, "10.00"},
      {"-5", 1, "-5"},
      {"-5", 2, "-5"},
      {"1000", 3, "1.000"},
      {"10000", 1, "1000.0"},
      {"1234", 0, "1234"},
      {"N/A", 1, "N/A"},
      {"", 2, ""},
      {"12AB", 2, "12.AB"},
      {"05", 2, ".05"},
      // No point fits, yet one leading zero is still dropped.
      {"007", 5, "07"},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    insertImpliedDecimals(text, c.decimals);
    EXPECT_EQ(text, c.result) << c.text << " / " << c.decimals;
  }
}

TEST(InsertImpliedDecimalsTest, LongTextsKeepEveryCharacter) {
  std::string digits = "123456789012345678901234567890";
  std::string text = digits;
  insertImpliedDecimals(text, 3);
  EXPECT_EQ(text, digits.substr(0, 27) + "." + digits.substr(27));

  text = "0" + digits;
  insertImpliedDecimals(text, 2);
  EXPECT_EQ(text, digits.substr(0, 28) + "." + digits.substr(28));

  // Fewer characters than decimals: nothing to place the point before.
  text = std::string(40, '9');
  insertImpliedDecimals(text, 45);
  EXPECT_EQ(text, std::string(40, '9'));
}

TEST(ExceptionDefinitionTest, TypeTextDecidesTypeScalingAndOperators) {
  using enum ValueType;
  struct Case {
    OptionalText typeText;
    ValueType valueType;
    char letter;  // as the table of migrated exceptions prints it
    int decimals;
    const char* criticalOp;
    const char* warningOp;
    const char* upperOp;
  };
  const Case cases[] = {
      {std::nullopt, kInteger, 'I', 0, "*GE", "*GE", "*LT"},
      {"I", kInteger, 'I', 0, "*GE", "*GE", "*LT"},
      {"I2", kInteger, 'I', 2, "*GE", "*GE", "*LT"},
      {"B", kBoolean, 'B', 0, "*EQ", "", ""},
      {"B2", kBoolean, 'B', 2, "*EQ", "", ""},
      {"F", kFloat, 'I', 0, "*GE", "*GE", "*LT"},
      {"F1", kFloat, 'I', 1, "*GE", "*GE", "*LT"},
      {"b", kOther, 'b', 0, "*EQ", "", ""},
      {"i", kOther, 'i', 0, "*EQ", "", ""},
      {"S", kOther, 'S', 0, "*EQ", "", ""},
      {"", kOther, '\0', 0, "*EQ", "", ""},
      {"I23", kInteger, 'I', 0, "*GE", "*GE", "*LT"},
      {"X7", kOther, 'X', 7, "*EQ", "", ""},
      {"I/", kInteger, 'I', -1, "*GE", "*GE", "*LT"},  // the character is not checked
  };
  for (const Case& c : cases) {
    ExceptionDefinition d(basicInputs(c.typeText));
    std::string label = c.typeText ? std::string(*c.typeText) : "(absent)";
    EXPECT_EQ(d.valueType(), c.valueType) << label;
    EXPECT_EQ(d.typeLetter(), c.letter) << label;
    EXPECT_EQ(d.impliedDecimals(), c.decimals) << label;
    EXPECT_EQ(d.appendZeros(), 0) << label;
    EXPECT_EQ(d.condition(Severity::kCritical).comparison, c.criticalOp) << label;
    EXPECT_EQ(d.condition(Severity::kWarning).comparison, c.warningOp) << label;
    EXPECT_EQ(d.warningUpper().comparison, c.upperOp) << label;
  }
}

TEST(ExceptionDefinitionTest, ConstructorStartsWithEmptyValuesAndBothEnabled) {
  ExceptionDefinition d(basicInputs("I2"));
  EXPECT_EQ(d.name(), "X");
  EXPECT_EQ(d.attribute(), "TAB.COL");
  EXPECT_EQ(d.recordedCode(), "ZR5");
  EXPECT_EQ(d.release(), "V100");
  EXPECT_EQ(d.condition(Severity::kWarning).situation, "ZR5_X_Warning");
  EXPECT_EQ(d.condition(Severity::kCritical).situation, "ZR5_X_Critical");
  EXPECT_TRUE(d.condition(Severity::kWarning).enabled);
  EXPECT_TRUE(d.condition(Severity::kCritical).enabled);
  for (const std::string* text :
       {&d.condition(Severity::kWarning).value, &d.condition(Severity::kCritical).value,
        &d.condition(Severity::kWarning).onValue, &d.warningUpper().value,
        &d.condition(Severity::kCritical).onValue, &d.extraPredicate()}) {
    EXPECT_TRUE(text->empty());
  }
  EXPECT_FALSE(d.serviceClass().has_value());
  EXPECT_FALSE(d.buildModeExtras().has_value());
}

TEST(ExceptionDefinitionTest, AbsentSituationIsDefaultedButEmptyOneIsKept) {
  DefinitionInputs in = basicInputs();
  in.warningSituation = "";
  in.criticalSituation = std::nullopt;
  ExceptionDefinition d(in);
  EXPECT_EQ(d.condition(Severity::kWarning).situation, "");
  EXPECT_EQ(d.condition(Severity::kCritical).situation, "ZR5_X_Critical");
}

TEST(ExceptionDefinitionTest, DefaultSituationNamesUseTheCutFields) {
  DefinitionInputs in = basicInputs();
  in.recordedCode = "ZR5LONG";
  in.name = "ABCDEFGHIJK";
  in.release = "V1001";
  ExceptionDefinition d(in);
  EXPECT_EQ(d.recordedCode(), "ZR5");
  EXPECT_EQ(d.name(), "ABCDEFGH");
  EXPECT_EQ(d.release(), "V100");
  EXPECT_EQ(d.condition(Severity::kWarning).situation, "ZR5_ABCDEFGH_Warning");
  EXPECT_EQ(d.condition(Severity::kCritical).situation, "ZR5_ABCDEFGH_Critical");
}

TEST(ExceptionDefinitionTest, TextsAreCutAtTheirCapacities) {
  DefinitionInputs in = basicInputs();
  std::string attribute(200, 'a');
  in.attribute = attribute;
  std::string situation(100, 's');
  in.warningSituation = situation;
  in.criticalSituation = situation;
  ExceptionDefinition d(in);
  EXPECT_EQ(d.attribute(), std::string(128, 'a'));
  EXPECT_EQ(d.condition(Severity::kWarning).situation, std::string(64, 's'));
  EXPECT_EQ(d.condition(Severity::kCritical).situation, std::string(64, 's'));

  std::string longText(300, 'v');
  d.setCriticalCondition("*GEX", longText);
  d.setWarningCondition("*LTX", longText, "*NEX", longText);
  d.setExtraPredicate(longText);
  EXPECT_EQ(d.condition(Severity::kCritical).comparison, "*GE");
  EXPECT_EQ(d.condition(Severity::kCritical).onValue, std::string(23, 'v'));
  EXPECT_EQ(d.condition(Severity::kWarning).comparison, "*LT");
  EXPECT_EQ(d.condition(Severity::kWarning).onValue, std::string(23, 'v'));
  EXPECT_EQ(d.warningUpper().comparison, "*NE");
  EXPECT_EQ(d.warningUpper().value, std::string(23, 'v'));
  EXPECT_EQ(d.extraPredicate(), std::string(127, 'v'));
}

TEST(ExceptionDefinitionTest, ServiceClassInputsFillTheirOwnFields) {
  DefinitionInputs in = basicInputs();
  in.name = "WLM1";
  std::string serviceClass = "CLASSNAMEISVERYLONGINDEED";
  in.serviceClass =
      ServiceClassThresholds{serviceClass,
                             "1234",
                             {{{"1.1", "1.2"}, {"10", "20"}, {"300", "400"}, {"50", "60123456"}}},
                             "123456789"};
  ExceptionDefinition d(in);
  EXPECT_EQ(d.name(), "SVCL");
  EXPECT_EQ(d.condition(Severity::kWarning).situation, "ZR5_WLM1_Warning");
  EXPECT_EQ(d.condition(Severity::kCritical).situation, "ZR5_WLM1_Critical");
  EXPECT_EQ(d.serviceClass()->className, serviceClass.substr(0, 19));
  EXPECT_EQ(d.serviceClass()->period, "123");
  const ServiceClassThresholds& t = *d.serviceClass();
  EXPECT_EQ(t[ResourceKind::kPerformanceIndex].warning, "1.1");
  EXPECT_EQ(t[ResourceKind::kPerformanceIndex].critical, "1.2");
  EXPECT_EQ(t[ResourceKind::kIoRate].warning, "10");
  EXPECT_EQ(t[ResourceKind::kIoRate].critical, "20");
  EXPECT_EQ(t[ResourceKind::kStorage].warning, "300");
  EXPECT_EQ(t[ResourceKind::kStorage].critical, "400");
  EXPECT_EQ(t[ResourceKind::kCpu].warning, "50");
  EXPECT_EQ(t[ResourceKind::kCpu].critical, "6012345");  // cut at 7 characters
  EXPECT_EQ(t.busy, "1234567");
}

// The table finds a definition by its whole name, case-sensitively: the
// service class's by "SVCL", not by the name it was read under.
TEST(ExceptionDefinitionTest, TableFindsNamesWholeAndExactly) {
  DefinitionTable table;
  table.append(std::make_unique<ExceptionDefinition>(basicInputs()));
  DefinitionInputs row = basicInputs();
  row.name = "WLM1";
  row.serviceClass = ServiceClassThresholds{};
  table.append(std::make_unique<ExceptionDefinition>(row));
  EXPECT_EQ(table.findFirst("X"), &table.at(0));
  EXPECT_EQ(table.findFirst("SVCL"), &table.at(1));
  for (const char* other : {"x", "XY", "", "WLM1"}) EXPECT_EQ(table.findFirst(other), nullptr);
}

TEST(ExceptionDefinitionTest, ConditionSetters) {
  ExceptionDefinition d(basicInputs());
  d.setCriticalCondition("*LT", std::nullopt);
  EXPECT_EQ(d.condition(Severity::kCritical).comparison, "*LT");
  EXPECT_TRUE(d.condition(Severity::kCritical).onValue.empty());
  d.setWarningCondition("*LE", std::nullopt, std::nullopt, "75");
  EXPECT_EQ(d.condition(Severity::kWarning).comparison, "*LE");
  EXPECT_EQ(d.warningUpper().comparison, "*LT");  // absent: the default stays
  EXPECT_EQ(d.warningUpper().value, "75");
  EXPECT_TRUE(d.condition(Severity::kWarning).enabled);

  // Only "None" exactly switches the warning off, and nothing else changes.
  ExceptionDefinition none(basicInputs());
  none.setWarningCondition("None", "ON1", "*GT", "9");
  EXPECT_FALSE(none.condition(Severity::kWarning).enabled);
  EXPECT_EQ(none.condition(Severity::kWarning).comparison, "*GE");
  EXPECT_EQ(none.warningUpper().comparison, "*LT");
  EXPECT_TRUE(none.condition(Severity::kWarning).onValue.empty());
  EXPECT_TRUE(none.warningUpper().value.empty());
  std::string value = "80";
  none.setWarningFromProfile(value);
  EXPECT_TRUE(none.condition(Severity::kWarning).value.empty());
  EXPECT_FALSE(none.condition(Severity::kWarning).enabled);

  ExceptionDefinition lower(basicInputs());
  lower.setWarningCondition("none", std::nullopt, std::nullopt, std::nullopt);
  EXPECT_TRUE(lower.condition(Severity::kWarning).enabled);
  EXPECT_EQ(lower.condition(Severity::kWarning).comparison, "non");
}

// Each severity's setters reach its own condition and no other.
TEST(ExceptionDefinitionTest, EachSeverityHasAConditionOfItsOwn) {
  ExceptionDefinition d(basicInputs());
  d.setCriticalCondition("*GT", "CON");
  d.setWarningFromProfile(std::string_view("5"));
  d.setCriticalFromProfile(std::string_view("OFF"));
  const ExceptionDefinition& read = d;
  const Condition& warning = read.condition(Severity::kWarning);
  const Condition& critical = read.condition(Severity::kCritical);
  EXPECT_EQ(
      warning.situation + "/" + warning.value + "/" + warning.onValue + "/" + warning.comparison,
      "ZR5_X_Warning/5//*GE");
  EXPECT_TRUE(warning.enabled);
  EXPECT_EQ(critical.situation + "/" + critical.value + "/" + critical.onValue + "/" +
                critical.comparison,
            "ZR5_X_Critical//CON/*GT");
  EXPECT_FALSE(critical.enabled);
}

// Only the system product's SVCL definitions have service-class thresholds,
// whether a workload row or the control file made them.
TEST(ExceptionDefinitionTest, ServiceClassThresholdsBelongToSystemSvclOnly) {
  struct Case {
    Product product;
    const char* name;
    bool fromRow;
    bool hasThresholds;
  };
  const Case cases[] = {
      {Product::kSystem, "SVCL", false, true},  {Product::kSystem, "ROW", true, true},
      {Product::kSystem, "X", false, false},    {Product::kDatabase, "SVCL", false, false},
      {Product::kDatabase, "ROW", true, false},
  };
  for (const Case& c : cases) {
    DefinitionInputs in = basicInputs();
    in.product = c.product;
    in.name = c.name;
    if (c.fromRow) in.serviceClass = ServiceClassThresholds{"BATCH", "1", {}, "OFF"};
    ExceptionDefinition d(in);
    EXPECT_EQ(d.serviceClass().has_value(), c.hasThresholds) << c.name;
    EXPECT_EQ(isServiceClass(d), c.hasThresholds) << c.name;
  }
}

TEST(ExceptionDefinitionTest, AppendZerosCountReadsLikeAnInteger) {
  struct Case {
    const char* text;
    int zeros;
  };
  const Case cases[] = {
      {"3", 3},       {"  2", 2},     {"+7abc", 7},          {"x", 0},   {"", 0}, {"-2", 0},
      {"1023", 1023}, {"1024", 1023}, {"99999999999", 1023}, {"4.5", 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(makeDefinition(std::nullopt, c.text).appendZeros(), c.zeros) << c.text;
  }
}

// One profile value through the warning setter and the critical setter of a
// fresh record each; `shown` is the text the setter returns, which a verbose
// run shows.
struct ProfileCase {
  OptionalText typeText;
  const char* zeros;
  const char* text;
  const char* stored;
  const char* shown;
};

TEST(ExceptionDefinitionTest, NumbersAreNormalisedInRuleOrder) {
  const ProfileCase cases[] = {
      {"I2", "0", "1234", "12.34", "12.34"},
      {"F1", "0", "25", "2.5", "2.5"},        // decimals first: no ".0"
      {"I2", "3", "1234", "12.34", "12.34"},  // decimals before zeros
      {std::nullopt, "2", "5", "500", "500"},
      {"F", "2", "5", "5.00", "5.00"},
      {"F", "1", "50", "50.0", "50.0"},  // by the zeros rule
      {"F", "0", "50", "50.0", "50.0"},
      {"F", "0", "N/A", "N/A.0", "N/A.0"},  // whatever the text holds
      {"F", "0", "ON", "ON.0", "ON.0"},
      {std::nullopt, "2", "N/A", "N/A", "N/A"},  // zeros need a leading digit
      {std::nullopt, "2", "-5", "-5", "-5"},
      {"F", "-3", "7", "7.0", "7.0"},  // a negative count appends nothing
      {"I1", "0", "1000", "100", "100"},
      {"I/", "0", "0750", "750", "750"},  // a non-digit decimals character
      {std::nullopt, "0", "80", "80", "80"},
      {std::nullopt, "0", "ON", "ON", "ON"},
      {std::nullopt, "0", "12345678901234567890123456", "12345678901234567890123",
       "12345678901234567890123456"},
      {std::nullopt, "3", "12345678901234567890", "12345678901234567890000",
       "12345678901234567890000"},
      {std::nullopt, "5", "12345678901234567890", "12345678901234567890000",
       "1234567890123456789000000"},
  };
  for (const ProfileCase& c : cases) {
    ExceptionDefinition warning = makeDefinition(c.typeText, c.zeros);
    EXPECT_EQ(warning.setWarningFromProfile(c.text), c.shown) << "warning " << c.text;
    EXPECT_EQ(warning.condition(Severity::kWarning).value, c.stored) << "warning " << c.text;

    ExceptionDefinition critical = makeDefinition(c.typeText, c.zeros);
    if (std::string_view(c.text).substr(0, 2) == "ON") continue;  // an on-word to the critical
    EXPECT_EQ(critical.setCriticalFromProfile(c.text), c.shown) << "critical " << c.text;
    EXPECT_EQ(critical.condition(Severity::kCritical).value, c.stored) << "critical " << c.text;
  }
}

TEST(ExceptionDefinitionTest, LongAppendZerosCountStaysBounded) {
  ExceptionDefinition d = makeDefinition(std::nullopt, "5000");
  EXPECT_EQ(d.setWarningFromProfile("7"), "7" + std::string(1023, '0'));
  EXPECT_EQ(d.condition(Severity::kWarning).value, "7" + std::string(22, '0'));
}

struct WordCase {
  const char* typeText;
  const char* onValue;  // given to both conditions; "" leaves them empty
  const char* text;
  const char* value;
  bool enabled;
};

// A number as a profile writes one: a sign, digits, at most one point.
TEST(ExceptionDefinitionTest, NumberTexts) {
  for (const char* number : {"5", "-5", "+12.5", "5.", ".5", "0050"}) {
    EXPECT_TRUE(isNumberText(number)) << number;
  }
  for (const char* other : {"", "-", ".", "5O", "ON", "1.2.3", "5-", "1e3", " 5", "N/A"}) {
    EXPECT_FALSE(isNumberText(other)) << other;
  }
}

// The profile text a definition of numbers compares with though it is none:
// as given, also where the definition normalises it; only the last value
// counts, and only for a situation that is written.
TEST(ExceptionDefinitionTest, NonNumberValuesAreToldAsGiven) {
  struct Case {
    const char* type;
    std::vector<const char*> warnings;
    const char* told;
  };
  const Case cases[] = {
      {"I", {"5O"}, "5O"},      {"I1", {"5O"}, "5O"},    {"F", {"N/A"}, "N/A"},
      {"F", {"1.2"}, ""},       {"I", {"5O", "50"}, ""}, {"I", {"50", "5O"}, "5O"},
      {"I", {"5O", "OFF"}, ""}, {"B", {"5O"}, ""},       {"S", {"5O"}, ""},
  };
  for (const Case& c : cases) {
    ExceptionDefinition d(basicInputs(c.type));
    std::size_t line = 0;
    for (const char* text : c.warnings) d.setWarningFromProfile(std::string_view(text), ++line);
    EXPECT_EQ(d.nonNumberValue(Severity::kWarning), c.told) << c.type << " " << c.warnings[0];
  }
  // A critical "ON" takes the on-value, which is no profile text.
  ExceptionDefinition on(basicInputs("I"));
  std::string text = "ON";
  on.setCriticalFromProfile(text, 3);
  EXPECT_EQ(on.nonNumberValue(Severity::kCritical), "");
}

TEST(ExceptionDefinitionTest, WarningWordsByType) {
  const WordCase cases[] = {
      {"B", "", "ON", "True", 1},   {"B", "", "On", "True", 1}, {"B", "", "once", "True", 1},
      {"B", "YES", "ON", "YES", 1}, {"B", "", "oN", "", 1},     {"B", "", "OFF", "0", 0},
      {"B", "", "Off", "0", 0},     {"B", "", "off", "0", 0},   {"B", "", "oFF", "", 1},
      {"B", "", "OFFX", "", 1},     {"B", "", "5", "", 1},      {"I", "", "OFF", "", 0},
      {"I", "YES", "ON", "ON", 1},  {"b", "", "ON", "ON", 1},
  };
  for (const WordCase& c : cases) {
    ExceptionDefinition d(basicInputs(c.typeText));
    if (*c.onValue != '\0') d.setWarningCondition("*EQ", c.onValue, std::nullopt, std::nullopt);
    std::string text = c.text;
    d.setWarningFromProfile(text);
    EXPECT_EQ(d.condition(Severity::kWarning).value, c.value) << c.typeText << " " << c.text;
    EXPECT_EQ(d.condition(Severity::kWarning).enabled, c.enabled) << c.typeText << " " << c.text;
    EXPECT_TRUE(d.condition(Severity::kCritical).enabled);
  }
}

TEST(ExceptionDefinitionTest, CriticalWordsByType) {
  const WordCase cases[] = {
      {"B", "", "ON", "True", 1}, {"B", "", "on", "True", 1},  {"B", "HI", "On", "HI", 1},
      {"B", "", "OFF", "", 0},    {"B", "", "5", "", 0},       {"B", "", "oN", "", 0},
      {"I", "", "On", "0", 1},    {"I", "", "ONLINE", "0", 1}, {"I", "HI", "ON", "HI", 1},
      {"I", "", "OFF", "", 0},    {"I", "", "off", "", 0},     {"I", "", "OFFX", "OFFX", 1},
      {"b", "", "OFF", "", 0},    {"b", "", "on", "0", 1},
  };
  for (const WordCase& c : cases) {
    ExceptionDefinition d(basicInputs(c.typeText));
    if (*c.onValue != '\0') d.setCriticalCondition("*EQ", c.onValue);
    std::string text = c.text;
    d.setCriticalFromProfile(text);
    EXPECT_EQ(d.condition(Severity::kCritical).value, c.value) << c.typeText << " " << c.text;
    EXPECT_EQ(d.condition(Severity::kCritical).enabled, c.enabled) << c.typeText << " " << c.text;
    EXPECT_TRUE(d.condition(Severity::kWarning).enabled);
  }
}

TEST(ExceptionDefinitionTest, OnlyTheWarningSetterHonoursItsFlag) {
  ExceptionDefinition d(basicInputs());
  std::string off = "OFF";
  d.setWarningFromProfile(off);
  d.setCriticalFromProfile(off);
  EXPECT_FALSE(d.condition(Severity::kWarning).enabled);
  EXPECT_FALSE(d.condition(Severity::kCritical).enabled);

  std::string later = "90";
  d.setWarningFromProfile(later);
  d.setCriticalFromProfile(later);
  EXPECT_TRUE(d.condition(Severity::kWarning).value.empty());
  EXPECT_EQ(d.condition(Severity::kCritical).value, "90");
  EXPECT_FALSE(d.condition(Severity::kCritical).enabled);  // stored, but the flag stays off

  // A later value overwrites an earlier one; an off-word keeps the value.
  ExceptionDefinition kept(basicInputs());
  std::string first = "70";
  std::string second = "75";
  kept.setWarningFromProfile(first);
  kept.setWarningFromProfile(second);
  EXPECT_EQ(kept.condition(Severity::kWarning).value, "75");
  kept.setWarningFromProfile(off);
  EXPECT_EQ(kept.condition(Severity::kWarning).value, "75");
  EXPECT_FALSE(kept.condition(Severity::kWarning).enabled);
}

TEST(ExceptionDefinitionTest, AdviceTextsAreAttached) {
  ExceptionDefinition d(basicInputs());
  d.setBuildModeExtras({"", "Text of the situation"});
  ASSERT_TRUE(d.buildModeExtras().has_value());
  EXPECT_EQ(d.buildModeExtras()->parmsText, "");
  EXPECT_EQ(d.buildModeExtras()->situationText, "Text of the situation");
  // A later advice line replaces both texts.
  d.setBuildModeExtras({"P2", "Later text"});
  EXPECT_EQ(d.buildModeExtras()->parmsText, "P2");
  EXPECT_EQ(d.buildModeExtras()->situationText, "Later text");
}

// What a setter returns, for every kind of definition and every kind of
// profile text, in sequences that switch situations off and on again: the text
// as given, not copied, unless a number was normalised; a normalised text is
// the value as stored before its field cut it. Each severity's returned text
// stays as it was while the other severity takes its value.
TEST(ExceptionDefinitionTest, SettersReturnTheTextAsTheyLeaveIt) {
  struct Kind {
    OptionalText type;
    std::string_view zeros;
  };
  const Kind kinds[] = {{std::nullopt, "0"}, {"I", "0"},  {"I2", "0"}, {"I1", "0"},
                        {"F", "0"},          {"F1", "0"}, {"I", "2"},  {"F", "3"},
                        {"B", "0"},          {"B2", "0"}, {"X", "0"},  {"b", "0"}};
  const std::string_view texts[] = {"80",
                                    "0050",
                                    "1000",
                                    "5",
                                    "ON",
                                    "On",
                                    "on",
                                    "onx",
                                    "OFF",
                                    "Off",
                                    "off",
                                    "",
                                    "OFFX",
                                    "N/A",
                                    "-5",
                                    "12.5",
                                    "123456789012345678901234567890"};
  for (const Kind& kind : kinds) {
    for (std::string_view first : texts) {
      for (std::string_view second : texts) {
        ExceptionDefinition d = makeDefinition(kind.type, kind.zeros);
        d.setWarningCondition(d.condition(Severity::kWarning).comparison, "Y", std::nullopt,
                              std::nullopt);
        SCOPED_TRACE(std::string(kind.type.value_or("(none)")) + " zeros " +
                     std::string(kind.zeros) + ": " + std::string(first) + ", " +
                     std::string(second));
        for (std::string_view text : {first, second}) {
          const std::string given(text);
          const std::string_view warning = d.setWarningFromProfile(given);
          const std::string warningShown(warning);
          const std::string_view critical = d.setCriticalFromProfile(given);
          EXPECT_EQ(warning, warningShown);
          for (const auto& [severity, shown] :
               {std::pair{Severity::kWarning, warning}, std::pair{Severity::kCritical, critical}}) {
            if (shown.data() == given.data()) {
              EXPECT_EQ(shown, given);
            } else {
              EXPECT_FALSE(d.keepsValuesAsGiven());
              EXPECT_EQ(d.condition(severity).value, shown.substr(0, field::kValue - 1));
            }
          }
        }
      }
    }
  }
}

// The caller's text is stored as given by a definition that normalises
// nothing, and normalised on a copy by one that does.
TEST(ExceptionDefinitionTest, GivenTextsAreNormalisedOnACopy) {
  ExceptionDefinition plain = makeDefinition("I");
  EXPECT_TRUE(plain.keepsValuesAsGiven());
  const std::string_view given = "0050";
  EXPECT_EQ(plain.setWarningFromProfile(given).data(), given.data());
  EXPECT_EQ(plain.condition(Severity::kWarning).value, "0050");
  ExceptionDefinition decimals = makeDefinition("I2");
  EXPECT_FALSE(decimals.keepsValuesAsGiven());
  decimals.setWarningFromProfile(given);
  decimals.setCriticalFromProfile(std::string_view("1234"));
  EXPECT_EQ(given, "0050");
  EXPECT_EQ(decimals.condition(Severity::kWarning).value, "0.50");
  EXPECT_EQ(decimals.condition(Severity::kCritical).value, "12.34");
  EXPECT_FALSE(makeDefinition("F").keepsValuesAsGiven());
  EXPECT_FALSE(makeDefinition("I", "1").keepsValuesAsGiven());
}

// The setters note, on lines 1, 2, ..., the texts of an enabled situation as
// given, of every length, on-words and ignored words too, but not a word
// that disables it; the first text that differs from the first counts.
TEST(ExceptionDefinitionTest, NotesTheFirstTextThatDiffersFromTheFirst) {
  struct Case {
    const char* type;
    Severity severity;
    std::vector<std::string> texts;
    std::string different;  // "TEXT@LINE", or "@0" for none
  };
  const std::string longer(30, '7');
  const Case cases[] = {
      {"I", Severity::kWarning, {"80", "80", "90", "95", "80"}, "90@3"},
      {"I2", Severity::kCritical, {"8000", "800"}, "800@2"},  // as given, not normalised
      {"I", Severity::kWarning, {"12345678", "12345678", "12345679"}, "12345679@3"},
      {"I", Severity::kWarning, {"123456789", longer, longer}, longer + "@2"},
      {"I", Severity::kCritical, {"80", "OFF", "ON"}, "ON@3"},
      {"I", Severity::kWarning, {"80", "OFF", "90"}, "@0"},
      {"B", Severity::kWarning, {"ON", "XYZ"}, "XYZ@2"},
  };
  for (const Case& c : cases) {
    ExceptionDefinition d = makeDefinition(c.type);
    std::size_t line = 0;
    for (const std::string& text : c.texts) {
      if (c.severity == Severity::kWarning) d.setWarningFromProfile(text, ++line);
      if (c.severity == Severity::kCritical) d.setCriticalFromProfile(text, ++line);
    }
    const GivenTexts::Given different = d.condition(c.severity).given.firstDifferent();
    EXPECT_EQ(different.text + "@" + std::to_string(different.line), c.different) << c.texts[1];
  }
}

}  // namespace
}  // namespace tornvel
