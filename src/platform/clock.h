// The run timestamp: the moment of the run, broken down in local time.
#ifndef TORNVEL_PLATFORM_CLOCK_H_
#define TORNVEL_PLATFORM_CLOCK_H_

#include <ctime>
#include <string>

namespace tornvel {

// The current instant, or the one in SOURCE_DATE_EPOCH when that variable holds
// a whole number of seconds (for reproducible output), broken down in local time.
std::tm localRunTime();

// The 16-character run timestamp of a broken-down time: a century digit, two
// digits each for year, month, day, hour, minute and second, then "000".
std::string formatRunTimestamp(const std::tm& time);

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_CLOCK_H_
