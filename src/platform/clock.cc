#include "platform/clock.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tornvel {

namespace {

// A whole, non-negative number of seconds, or nothing.
bool parseEpoch(const char* text, std::time_t& seconds) {
  if (text == nullptr || *text == '\0') return false;
  std::string_view digits(text);
  if (digits.size() > 18) return false;
  long long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  seconds = static_cast<std::time_t>(value);
  return true;
}

// `seconds` broken down in local time; false when it has no calendar date.
bool breakDownLocally(std::time_t seconds, std::tm& broken) {
#ifdef _WIN32
  return localtime_s(&broken, &seconds) == 0;
#else
  return localtime_r(&seconds, &broken) != nullptr;
#endif
}

}  // namespace

std::tm localRunTime() {
  std::time_t now = std::time(nullptr);
  std::time_t fixed = 0;
  if (parseEpoch(std::getenv("SOURCE_DATE_EPOCH"), fixed)) now = fixed;
  std::tm broken{};
  if (!breakDownLocally(now, broken)) breakDownLocally(0, broken);
  return broken;
}

std::string formatRunTimestamp(const std::tm& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%1.1i%2.2i%2.2i%2.2i%2.2i%2.2i%2.2i000", time.tm_year / 100,
                time.tm_year % 100, time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min,
                time.tm_sec);
  return text;
}

}  // namespace tornvel
