#include "readers/profile_reports.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tornvel {
namespace {

TEST(ProfileReportsTest, ProfileInformationHeaderOnceBeforeFirstRow) {
  std::ostringstream out;
  Console console(out);
  ProfileInformationTable table;
  table.printRow(console, "ABC1", "80", "95");
  table.printRow(console, "ABC2", "1.5", "ON");
  EXPECT_EQ(out.str(), std::string("Profile information\nException\tWarning   \tCritical\n") +
                           "ABC1" + std::string(8, ' ') + "\t80" + std::string(7, ' ') + "\t95\n" +
                           "ABC2" + std::string(8, ' ') + "\t1.5" + std::string(7, ' ') + "\tON\n");
}

TEST(ProfileReportsTest, UnhandledListCutsAndPrints) {
  std::ostringstream out;
  Console console(out);
  UnhandledList list;
  list.print(console);
  EXPECT_EQ(out.str(), "");  // an empty list prints nothing
  list.add(std::string(25, 'N'), std::string(45, 'w'), "95");
  list.add("abc1", "80", "");
  list.print(console);
  EXPECT_EQ(out.str(), "\n\nExceptions in profile not handled:\n\nName    \tWarning\tCritical\n" +
                           std::string(20, 'N') + "    \t" + std::string(40, 'w') + "\t95\n" +
                           "abc1    \t80\t\n");
}

TEST(ProfileReportsTest, UnhandledColumnTallyCountsPerColumnAndTable) {
  std::ostringstream out;
  Console console(out);
  UnhandledColumnTally tally;
  tally.count("ABC", "DEVICE");
  tally.count("ABC", "DEVICE");
  tally.count("ABC", "DISK");
  tally.count("AVERYLONGCOLUMNNAME", "DEVICE");
  tally.count("ABC", "DEVICE");
  tally.print(console);
  EXPECT_EQ(out.str(), std::string("\n\nExceptions in profile not handled:\n\n"
                                   "Name            \tTable           \tCount\n") +
                           "ABC" + std::string(13, ' ') + "    \tDEVICE" + std::string(10, ' ') +
                           "    \t3\n" + "ABC" + std::string(13, ' ') + "    \tDISK" +
                           std::string(12, ' ') + "    \t1\n" + "AVERYLONGCOLUMNNAME    \tDEVICE" +
                           std::string(10, ' ') +
                           "    \t1\n"
                           "\n");
}

}  // namespace
}  // namespace tornvel
