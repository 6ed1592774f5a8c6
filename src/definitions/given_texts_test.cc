#include "definitions/given_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "definitions/exception_definition.h"

namespace tornvel {
namespace {

std::pair<std::string, std::size_t> pair(const GivenTexts::Given& given) {
  return {given.text, given.line};
}

// Texts of every length come back byte for byte, those kept in place and
// those kept elsewhere alike; only a text that differs from the first counts,
// and only the first such one.
TEST(GivenTextsTest, KeepsTheFirstTextAndTheFirstThatDiffers) {
  struct Case {
    std::vector<std::pair<std::string, std::size_t>> notes;
    std::pair<std::string, std::size_t> first;
    std::pair<std::string, std::size_t> different;
  };
  const std::string nine = "123456789";
  const std::string longer = "a value of more than eight characters";
  const Case cases[] = {
      {{}, {"", 0}, {"", 0}},
      {{{"80", 4}}, {"80", 4}, {"", 0}},
      {{{"80", 4}, {"80", 9}}, {"80", 4}, {"", 0}},
      {{{"80", 4}, {"80", 6}, {"90", 9}, {"95", 12}}, {"80", 4}, {"90", 9}},
      {{{"80", 4}, {"90", 9}, {"80", 12}}, {"80", 4}, {"90", 9}},
      {{{"80", 0}, {"90", 0}}, {"", 0}, {"", 0}},  // values of no profile line
      {{{"", 3}, {"8", 4}}, {"", 3}, {"8", 4}},
      {{{"ABC", 1}, {"ACB", 2}}, {"ABC", 1}, {"ACB", 2}},
      {{{"ABCD", 1}, {"ABDC", 2}}, {"ABCD", 1}, {"ABDC", 2}},
      {{{"12345678", 1}, {"12345679", 2}}, {"12345678", 1}, {"12345679", 2}},
      {{{nine, 1}, {"12345678", 2}}, {nine, 1}, {"12345678", 2}},
      {{{longer, 1}, {longer, 2}, {longer + "!", 3}}, {longer, 1}, {longer + "!", 3}},
      {{{"1234567", 1}, {nine, 2}}, {"1234567", 1}, {nine, 2}},
  };
  for (const Case& c : cases) {
    GivenTexts given;
    for (const auto& [text, line] : c.notes) given.note(text, line);
    EXPECT_EQ(pair(given.first()), c.first) << c.first.first;
    EXPECT_EQ(pair(given.firstDifferent()), c.different) << c.first.first;
  }
}

// What a definition notes: the texts its setters take while the situation is
// enabled, on-words and ignored words too, but not a word that disables it.
TEST(GivenTextsTest, DefinitionNotesTheTextsOfAnEnabledSituation) {
  struct Case {
    const char* type;
    Severity severity;
    std::vector<const char*> texts;  // on lines 1, 2, ...
    std::pair<std::string, std::size_t> different;
  };
  const Case cases[] = {
      {"I", Severity::kWarning, {"80", "90"}, {"90", 2}},
      {"I2", Severity::kWarning, {"8000", "8000"}, {"", 0}},
      {"I2", Severity::kCritical, {"8000", "800"}, {"800", 2}},  // as given, not normalised
      {"I", Severity::kCritical, {"80", "ON"}, {"ON", 2}},
      {"I", Severity::kCritical, {"80", "OFF", "90"}, {"90", 3}},
      {"I", Severity::kWarning, {"80", "OFF", "90"}, {"", 0}},
      {"B", Severity::kWarning, {"ON", "XYZ"}, {"XYZ", 2}},
      {"B", Severity::kWarning, {"ON", "OFF", "On"}, {"", 0}},
      {"B", Severity::kCritical, {"ON", "On"}, {"On", 2}},
      {"B", Severity::kCritical, {"ON", "80"}, {"", 0}},
  };
  for (const Case& c : cases) {
    DefinitionInputs in;
    in.product = Product::kDatabase;
    in.recordedCode = "ZTQ";
    in.release = "V100";
    in.name = "X";
    in.attribute = "TAB.COL";
    in.typeText = c.type;
    ExceptionDefinition d(in);
    std::size_t line = 0;
    for (const char* text : c.texts) {
      if (c.severity == Severity::kWarning) {
        d.setWarningFromProfile(text, ++line);
      } else {
        d.setCriticalFromProfile(text, ++line);
      }
    }
    EXPECT_EQ(pair(d.condition(c.severity).given.firstDifferent()), c.different)
        << c.type << " " << c.texts.back();
  }
}

}  // namespace
}  // namespace tornvel
