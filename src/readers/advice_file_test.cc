#include "readers/advice_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace tornvel {
namespace {

ExceptionDefinition* add(DefinitionTable& table, std::string_view name) {
  DefinitionInputs in;
  in.recordedCode = "ZTQ";
  in.release = "V100";
  in.name = name;
  in.attribute = "A.B";
  return table.append(std::make_unique<ExceptionDefinition>(in));
}

void apply(DefinitionTable& table, std::string text) {
  LineReader advice;
  advice.openText(std::move(text));
  applyAdviceFile(advice, table);
}

// The texts the advice file attached, absent without a line for the name.
std::optional<std::string> situationText(const ExceptionDefinition& definition) {
  if (!definition.buildModeExtras()) return std::nullopt;
  return definition.buildModeExtras()->situationText;
}

std::optional<std::string> parmsText(const ExceptionDefinition& definition) {
  if (!definition.buildModeExtras()) return std::nullopt;
  return definition.buildModeExtras()->parmsText;
}

TEST(AdviceFileTest, FieldsOfALine) {
  struct Case {
    const char* line;
    std::optional<std::string> situationText;  // none: the line is passed over
    std::optional<std::string> parms;
  };
  const Case cases[] = {
      {"LOCKWAIT~Lock wait time too long~P1\n", "Lock wait time too long", "P1"},
      {"LOCKWAIT~Text~P1", "Text", "P1"},                    // last line without line end
      {"~~LOCKWAIT~~Text~~~P1~~\n", "Text", "P1"},           // runs of "~" count as one
      {"LOCKWAIT~Text~P1~ignored~too\n", "Text", "P1"},      // text after a fourth "~"
      {"LOCKWAIT~ a\ttext ~ -x 1\n", " a\ttext ", " -x 1"},  // blanks and tabs kept
      {"LOCKWAIT~Text\r\n", std::nullopt, std::nullopt},     // no parameter text
      {"LOCKWAIT~Text~\n", std::nullopt, std::nullopt},
      {"LOCKWAIT~~P1\n", std::nullopt, std::nullopt},  // an empty field cannot be given
      {"LOCKWAIT\n", std::nullopt, std::nullopt},
      {"lockwait~Text~P1\n", std::nullopt, std::nullopt},  // names are case-sensitive
      {"LOCKWAITX~Text~P1\n", std::nullopt, std::nullopt},
      {"\n", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    DefinitionTable table;
    ExceptionDefinition* definition = add(table, "LOCKWAIT");
    apply(table, c.line);
    EXPECT_EQ(situationText(*definition), c.situationText) << c.line;
    EXPECT_EQ(parmsText(*definition), c.parms) << c.line;
  }
}

TEST(AdviceFileTest, EveryDefinitionOfTheNameGetsTheLaterLine) {
  DefinitionTable table;
  ExceptionDefinition* first = add(table, "LOCKWAIT");
  ExceptionDefinition* other = add(table, "DEADLOCK");
  ExceptionDefinition* second = add(table, "LOCKWAIT");
  apply(table,
        "LOCKWAIT~Old text~P0\n"
        "NOSUCH~Text~P9\n"
        "LOCKWAIT~New text~P1\n"
        "DEADLOCK~Deadlock~\n");
  for (ExceptionDefinition* definition : {first, second}) {
    EXPECT_EQ(situationText(*definition), "New text");
    EXPECT_EQ(parmsText(*definition), "P1");
  }
  // Each has copies of its own.
  first->setBuildModeExtras({"P1", "New text changed"});
  EXPECT_EQ(situationText(*second), "New text");
  EXPECT_FALSE(situationText(*other));
  EXPECT_FALSE(parmsText(*other));
}

TEST(AdviceFileTest, LongLineContinuesAsTheNextLine) {
  DefinitionTable table;
  ExceptionDefinition* definition = add(table, "LOCKWAIT");
  // 1024 characters before the line end: the first 1023 end inside the
  // parameter text, and the rest is a line of its own with a single field.
  const std::string text(1012, 't');
  apply(table, "LOCKWAIT~" + text + "~P1\n");
  EXPECT_EQ(situationText(*definition), text);
  EXPECT_EQ(parmsText(*definition), "P");
}

}  // namespace
}  // namespace tornvel
