// A small hash index from names to values, made for the look-up that every
// profile line does: exception names are short (at most 8 characters), the
// index holds at most a few hundred of them, and half the names looked up are
// not there. Open addressing over a power-of-two table with a hash that reads
// a short name in one or two loads keeps a look-up to a few nanoseconds.
#ifndef TORNVEL_PLATFORM_NAME_INDEX_H_
#define TORNVEL_PLATFORM_NAME_INDEX_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tornvel {

// A 64-bit hash of a name; every byte and the length take part.
inline std::uint64_t hashName(std::string_view name) {
  const char* p = name.data();
  const std::size_t n = name.size();
  auto load32 = [](const char* at) {
    std::uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return static_cast<std::uint64_t>(word);
  };
  auto load64 = [](const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
  };
  // Folds one word in. Slots are picked by the high bits of the result, which
  // every input bit reaches through the multiplication.
  auto mix = [](std::uint64_t h, std::uint64_t word) { return (h ^ word) * 0x9E3779B97F4A7C15ULL; };
  std::uint64_t h = 0xD6E8FEB86659FD93ULL ^ n;
  if (n >= 8) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) h = mix(h, load64(p + i));
    if (i < n) h = mix(h, load64(p + n - 8));  // the last 8 bytes, overlapping
    return h;
  }
  if (n >= 4) {
    // Two overlapping 4-byte loads cover 4 to 7 characters.
    return mix(h, load32(p) | (load32(p + n - 4) << 32));
  }
  const auto byte = [p](std::size_t i) {
    return static_cast<std::uint64_t>(static_cast<unsigned char>(p[i]));
  };
  return n == 0 ? mix(h, 0) : mix(h, byte(0) | (byte(n / 2) << 8) | (byte(n - 1) << 16));
}

// Whether two names are equal, without a library call for the short names
// that are the rule: the same loads as the hash, on both sides.
inline bool sameName(std::string_view a, std::string_view b) {
  const std::size_t n = a.size();
  if (n != b.size()) return false;
  if (n < 4) {
    for (std::size_t i = 0; i < n; ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }
  auto load32 = [](const char* at) {
    std::uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
  };
  if (n <= 8) {
    return load32(a.data()) == load32(b.data()) &&
           load32(a.data() + n - 4) == load32(b.data() + n - 4);
  }
  return std::memcmp(a.data(), b.data(), n) == 0;
}

// Maps names to values; the first value stored for a name is the one kept.
// The slots hold only a hash and the position of the entry: small enough to
// stay in the first-level cache, so a name that is not there costs no look at
// any stored name. The table is kept at most a quarter full, which keeps the
// probe sequences of absent names short.
template <typename Value>
class NameIndex {
 public:
  // Stores `value` under `name` unless the name is present already.
  void insertFirst(std::string_view name, Value value) {
    if ((entries_.size() + 1) * 4 > hashes_.size()) grow();
    std::uint64_t hash = slotHash(name);
    std::size_t i = probe(name, hash);
    if (hashes_[i] != kEmpty) return;
    hashes_[i] = hash;
    positions_[i] = static_cast<std::uint32_t>(entries_.size());
    entries_.push_back(Entry{std::string(name), std::move(value)});
  }

  // The value stored under `name`, or nullptr.
  const Value* find(std::string_view name) const {
    if (entries_.empty()) return nullptr;
    std::size_t i = probe(name, slotHash(name));
    return hashes_[i] == kEmpty ? nullptr : &entries_[positions_[i]].value;
  }

  std::size_t size() const { return entries_.size(); }

  void clear() {
    hashes_.clear();
    positions_.clear();
    entries_.clear();
    shift_ = 64;
  }

 private:
  static constexpr std::uint64_t kEmpty = 0;

  struct Entry {
    std::string name;
    Value value;
  };

  // A name's hash as stored: never the empty mark.
  static std::uint64_t slotHash(std::string_view name) {
    std::uint64_t hash = hashName(name);
    return hash == kEmpty ? 1 : hash;
  }

  // The slot that holds `name`, or the empty slot where it belongs.
  std::size_t probe(std::string_view name, std::uint64_t hash) const {
    const std::size_t mask = hashes_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash >> shift_);; i = (i + 1) & mask) {
      if (hashes_[i] == kEmpty) return i;
      if (hashes_[i] == hash && sameName(entries_[positions_[i]].name, name)) return i;
    }
  }

  void grow() {
    std::size_t size = hashes_.empty() ? 64 : hashes_.size() * 2;
    hashes_.assign(size, kEmpty);
    positions_.assign(size, 0);
    shift_ = 64 - std::countr_zero(size);
    for (std::size_t e = 0; e < entries_.size(); ++e) {
      std::uint64_t hash = slotHash(entries_[e].name);
      std::size_t i = probe(entries_[e].name, hash);
      hashes_[i] = hash;
      positions_[i] = static_cast<std::uint32_t>(e);
    }
  }

  std::vector<std::uint64_t> hashes_;
  std::vector<std::uint32_t> positions_;
  std::vector<Entry> entries_;  // in the order stored
  int shift_ = 64;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_NAME_INDEX_H_
