#include "platform/text.h"

#include <limits>

namespace tornvel {

std::string_view cutToCapacity(std::string_view text, std::size_t capacity) {
  if (capacity == 0) return {};
  return text.substr(0, capacity - 1);
}

void assignField(std::string& field, std::string_view text, std::size_t capacity) {
  field.assign(cutToCapacity(text, capacity));
}

std::optional<std::string_view> Tokenizer::next(const Delimiters& delimiters) {
  std::size_t start = position_;
  while (start < text_.size() && delimiters.contains(text_[start])) ++start;
  if (start >= text_.size()) {
    position_ = text_.size();
    return std::nullopt;
  }
  std::size_t end = start;
  while (end < text_.size() && !delimiters.contains(text_[end])) ++end;
  // The delimiter that ended the token is consumed with it.
  position_ = end < text_.size() ? end + 1 : end;
  return text_.substr(start, end - start);
}

std::int32_t toInt32Saturating(std::string_view text) {
  std::size_t i = 0;
  auto isSpace = [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
  };
  while (i < text.size() && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate as a negative number so that the lowest value fits exactly.
  constexpr std::int64_t kLowest = std::numeric_limits<std::int32_t>::min();
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 - (text[i] - '0');
    if (value < kLowest) {
      value = kLowest - 1;  // saturated; keep consuming digits
    }
  }
  if (negative)
    return value < kLowest ? std::numeric_limits<std::int32_t>::min()
                           : static_cast<std::int32_t>(value);
  if (-value > std::numeric_limits<std::int32_t>::max()) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(-value);
}

void upperCaseInPlace(std::string& text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace tornvel
