#include "statements/migrated_row.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tornvel {
namespace {

ExceptionDefinition makeDefinition(std::string_view name, std::string_view type) {
  DefinitionInputs inputs;
  inputs.recordedCode = "ZT5";
  inputs.release = "V100";
  inputs.name = name;
  inputs.attribute = "TABLE.COLUMN";
  inputs.typeText = type;
  return ExceptionDefinition(inputs);
}

TEST(MigratedRowTest, ShowsStoredTypeLetter) {
  ExceptionDefinition floating = makeDefinition("ABC1", "F");
  std::string value = "50";
  floating.setWarningFromProfile(value);
  EXPECT_EQ(migratedRow(floating), "ABC1\tI\t50.0\t\n");
  // An empty type prints NUL.
  EXPECT_EQ(migratedRow(makeDefinition("SVCL", "")), std::string("SVCL\t\0\t\t\n", 9));
}

}  // namespace
}  // namespace tornvel
