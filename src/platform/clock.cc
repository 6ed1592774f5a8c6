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

}  // namespace

std::tm localRunTime() {
  std::time_t now = std::time(nullptr);
  std::time_t fixed = 0;
  if (parseEpoch(std::getenv("SOURCE_DATE_EPOCH"), fixed)) now = fixed;
  std::tm broken{};
  if (localtime_r(&now, &broken) == nullptr) {
    std::time_t zero = 0;
    localtime_r(&zero, &broken);
  }
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
