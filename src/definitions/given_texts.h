// The texts a profile gave one situation, as given, for telling a situation
// given two different values: the later one wins, which the profile's author
// may not have meant. Every profile value passes through here, so what is
// kept is what a warning needs and no more: the first text, and the first
// one that differs from it. Once both are known, a value costs one test.
#ifndef TORNVEL_DEFINITIONS_GIVEN_TEXTS_H_
#define TORNVEL_DEFINITIONS_GIVEN_TEXTS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace tornvel {

class GivenTexts {
 public:
  // A text with the profile line it stood on; line 0 for none.
  struct Given {
    std::string text;
    std::size_t line = 0;
  };

  // The text of profile line `line`; a text of no profile line (line 0) is
  // passed over.
  void note(std::string_view text, std::size_t line) {
    if (line != 0 && !differs_) compare(text, line);
  }

  Given first() const { return given(0); }
  // The first text that differs from the first; line 0 while none did.
  Given firstDifferent() const { return given(1); }

 private:
  // A text of up to 8 characters, as values are, is kept as one word: it
  // compares and copies in a few instructions, without allocating.
  static constexpr std::size_t kInPlace = 8;
  static constexpr std::uint16_t kElsewhere = 0xFFFF;  // the text stands in longTexts_

  // Out of line: the call above is the one every value makes.
  void compare(std::string_view text, std::size_t line);
  void keep(unsigned which, std::string_view text, std::size_t line) {
    lines_[which] = line;
    if (text.size() > kInPlace) {
      sizes_[which] = kElsewhere;
      if (!longTexts_) longTexts_ = std::make_unique<std::array<std::string, 2>>();
      (*longTexts_)[which].assign(text);
      return;
    }
    sizes_[which] = static_cast<std::uint16_t>(text.size());
    packed_[which] = pack(text);
  }
  bool holds(unsigned which, std::string_view text) const {
    if (sizes_[which] == kElsewhere) return (*longTexts_)[which] == text;
    return text.size() == sizes_[which] && pack(text) == packed_[which];
  }
  Given given(unsigned which) const {
    if (sizes_[which] == kElsewhere) return {(*longTexts_)[which], lines_[which]};
    return {unpack(packed_[which], sizes_[which]), lines_[which]};
  }

  // The bytes of a text of at most 8 characters in one word: for 4 and more,
  // its first and its last four (overlapping), else its first, middle and
  // last; with the size, every byte is there.
  static std::uint64_t pack(std::string_view text) {
    const std::size_t n = text.size();
    const char* p = text.data();
    if (n >= 4) return std::uint64_t{load32(p)} | std::uint64_t{load32(p + n - 4)} << 32;
    if (n == 0) return 0;
    return std::uint64_t{byteAt(p, 0)} | std::uint64_t{byteAt(p, n / 2)} << 8 |
           std::uint64_t{byteAt(p, n - 1)} << 16;
  }
  static std::string unpack(std::uint64_t packed, std::size_t n) {
    std::string text(n, '\0');
    if (n >= 4) {
      const auto low = static_cast<std::uint32_t>(packed);
      const auto high = static_cast<std::uint32_t>(packed >> 32);
      std::memcpy(text.data(), &low, 4);
      std::memcpy(text.data() + n - 4, &high, 4);
    } else if (n > 0) {
      text[0] = static_cast<char>(packed & 0xFF);
      text[n / 2] = static_cast<char>(packed >> 8 & 0xFF);
      text[n - 1] = static_cast<char>(packed >> 16 & 0xFF);
    }
    return text;
  }
  static std::uint32_t load32(const char* at) {
    std::uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
  }
  static std::uint32_t byteAt(const char* p, std::size_t at) {
    return static_cast<unsigned char>(p[at]);
  }

  bool differs_ = false;  // both texts are known: nothing more is kept
  std::array<std::uint16_t, 2> sizes_{};
  std::array<std::size_t, 2> lines_{};
  std::array<std::uint64_t, 2> packed_{};
  // The texts longer than kInPlace, made when the first one comes.
  std::unique_ptr<std::array<std::string, 2>> longTexts_;
};

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_GIVEN_TEXTS_H_
