// Small text helpers that reproduce the observable behaviour of fixed-width text
// fields and of a delimiter tokeniser, without any fixed buffer.
#ifndef TORNVEL_PLATFORM_TEXT_H_
#define TORNVEL_PLATFORM_TEXT_H_

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace tornvel {

// What a text field of `capacity` bytes keeps of `text`: at most capacity - 1
// characters (the last byte of such a field holds the terminator).
inline std::string_view cutToCapacity(std::string_view text, std::size_t capacity) {
  if (capacity == 0) return {};
  return text.substr(0, capacity - 1);
}

// Copies `text` into `field`, cut at the field's capacity in bytes.
inline void assignField(std::string& field, std::string_view text, std::size_t capacity) {
  field.assign(cutToCapacity(text, capacity));
}

// A set of delimiter characters, built once and tested in constant time.
class Delimiters {
 public:
  constexpr explicit Delimiters(std::string_view chars) : table_{} {
    unsigned highest = 0;
    for (char c : chars) {
      const auto byte = static_cast<unsigned char>(c);
      table_[byte] = true;
      if (byte > highest) highest = byte;
    }
    // Word tests need every delimiter below 128; other sets go byte by byte.
    bound_ = highest < 128 ? highest + 1 : 0;
  }
  constexpr bool contains(char c) const { return table_[static_cast<unsigned char>(c)]; }

  // Every delimiter is below this byte value; 0 when no such bound of at most
  // 128 exists.
  constexpr unsigned bound() const { return bound_; }

 private:
  std::array<bool, 256> table_;
  unsigned bound_ = 0;
};

// A mask with the top bit set in the lowest byte of `word` (in memory order)
// whose value is below `bound` (at most 128), and possibly in bytes after it;
// 0 when no byte is below the bound. Lets a scan pass over eight bytes of
// letters and digits at once.
inline std::uint64_t bytesBelow(std::uint64_t word, unsigned bound) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  return (word - kOnes * bound) & ~word & (kOnes * 0x80);
}

// The position of the first byte of `text` at or after `from` that is below
// `bound` (at most 128, not 0), or the last stretch of fewer than eight bytes
// where the word test no longer reaches. Every byte passed over is at or above
// the bound.
inline std::size_t skipBytesAtOrAbove(std::string_view text, std::size_t from, unsigned bound) {
  if constexpr (std::endian::native != std::endian::little) return from;
  while (from + 8 <= text.size()) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + from, sizeof word);
    const std::uint64_t below = bytesBelow(word, bound);
    if (below != 0) return from + static_cast<std::size_t>(std::countr_zero(below)) / 8;
    from += 8;
  }
  return from;
}

// Splits a text into tokens the way the input formats are defined: a run of
// delimiters counts as one, delimiters before a token are passed over, and the
// one delimiter that ends a token is consumed with it. Each call may use its own
// delimiter set. Once the text is used up, every further call finds nothing.
class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : text_(text) {}

  // Defined here: every profile line takes two to four tokens, and the call
  // would cost as much as the scan of a short token.
  std::optional<std::string_view> next(const Delimiters& delimiters) {
    std::size_t start = position_;
    while (start < text_.size() && delimiters.contains(text_[start])) ++start;
    if (start >= text_.size()) {
      position_ = text_.size();
      return std::nullopt;
    }
    std::size_t end = start;
    // Bytes at or above the bound cannot end the token: pass over them a word
    // at a time, then look at each byte from the first one that might.
    if (delimiters.bound() != 0) end = skipBytesAtOrAbove(text_, end, delimiters.bound());
    while (end < text_.size() && !delimiters.contains(text_[end])) ++end;
    // The delimiter that ended the token is consumed with it.
    position_ = end < text_.size() ? end + 1 : end;
    return text_.substr(start, end - start);
  }

  // The text that has not been looked at yet.
  std::string_view rest() const { return text_.substr(position_); }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

// Decimal value of a text read the way a C program reads an integer: leading
// white space and one sign allowed, reading stops at the first non-digit, a text
// without leading digits gives 0. Values outside the signed 32-bit range
// saturate at its ends instead of wrapping around.
std::int32_t toInt32Saturating(std::string_view text);

// Letters a to z become A to Z; nothing else changes.
void upperCaseInPlace(std::string& text);

inline bool startsWith(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (text[i] != prefix[i]) return false;
  }
  return true;
}

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_TEXT_H_
