#include "driver/reports.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tornvel {
namespace {

TEST(ReportsTest, MigratedHeader) {
  std::ostringstream out;
  Console console(out);
  printMigratedHeader(console);
  EXPECT_EQ(out.str(), "\n\nExceptions in profile migrated:\n\nName   \tType\tWarnVal\tCritVal\n");
}

}  // namespace
}  // namespace tornvel
