#include "platform/clock.h"

#include <gtest/gtest.h>

namespace tornvel {
namespace {

TEST(ClockTest, TimestampHasCenturyDigitAndTwoDigitFields) {
  std::tm time{};
  time.tm_year = 126;  // 2026
  time.tm_mon = 11;    // December
  time.tm_mday = 7;
  time.tm_hour = 8;
  time.tm_min = 45;
  time.tm_sec = 22;
  EXPECT_EQ(formatRunTimestamp(time), "1261207084522000");
  time.tm_year = 99;  // 1999
  time.tm_mon = 0;
  EXPECT_EQ(formatRunTimestamp(time), "0990107084522000");
}

}  // namespace
}  // namespace tornvel
