#include "statements/migrated_row.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "statements/statement_test_support.h"

namespace tornvel {
namespace {

TEST(MigratedRowTest, ShowsStoredTypeLetter) {
  ExceptionDefinition floating = typedDefinition("ABC1", "F");
  std::string value = "50";
  floating.setWarningFromProfile(value);
  EXPECT_EQ(migratedRow(floating), "ABC1\tI\t50.0\t\n");
  // An empty type prints NUL.
  EXPECT_EQ(migratedRow(typedDefinition("SVCL", "")), std::string("SVCL\t\0\t\t\n", 9));
}

}  // namespace
}  // namespace tornvel
