// Profile names that reach no definition but nearly do: the same letters in
// another case ("lockwait" for LOCKWAIT), or two neighbouring characters the
// other way round ("LOCKWIAT"). Such a name is most likely mistyped, unlike a
// name that differs otherwise (a digit, a letter more or less): profiles carry
// many exceptions that a control file does not migrate on purpose.
#ifndef TORNVEL_DEFINITIONS_NEAR_MISS_H_
#define TORNVEL_DEFINITIONS_NEAR_MISS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/definition_table.h"
#include "definitions/synonym_group.h"
#include "platform/name_index.h"

namespace tornvel {

// Built once from the names a profile line can reach, then asked for each
// profile name that reached none of them, for profiles of millions of lines.
// Every variant a candidate can be mistyped as is stored beforehand: its
// ASCII upper-case form, and each form with two neighbouring (different)
// characters swapped. Most names asked about are no variant of anything, and
// are turned away by a bit test or two before any look-up.
class NearMissIndex {
 public:
  // A name a profile line can reach. Where a name is nearly several
  // candidates, the one added first is named.
  void addCandidate(std::string_view name);

  // Every definition name in table order, then, for the reader that offers
  // values to synonym groups, every member name of the groups in list order
  // (members reach their group's definition).
  void addDefinitions(const DefinitionTable& table);
  void addSynonymMembers(const SynonymList& synonyms);

  // The candidate that `profileName` nearly is: equal to it but for ASCII
  // letter case, or equal to it but for one swap of two neighbouring
  // characters. None for a name that is a candidate itself or is neither.
  // Most names are turned away here, without a call.
  std::optional<std::string_view> nearMiss(std::string_view profileName) const {
    if (profileName.size() < 2) return nearMissSlowly(profileName);  // rare
    if (!seen(leads_, leadKey(profileName, 1))) return std::nullopt;
    if (!seen(signatures_, letterSignature(profileName))) return std::nullopt;
    return nearMissSlowly(profileName);
  }

 private:
  // The length and the weights of the first character and the one at
  // `second` (1 or 2) of a name of two characters or more: a few
  // instructions that tell most names apart. A change of case, or a swap
  // (the sum does not see the order of the two), keeps a name's key with the
  // second character, but a swap of the second and the third, which turns it
  // into the key with the third.
  static std::uint16_t leadKey(std::string_view name, std::size_t second) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
    const std::uint32_t weights = std::uint32_t{kFoldedWeights[bytes[0]]} +
                                  (second < name.size() ? kFoldedWeights[bytes[second]] : 0u);
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(name.size()) * 0x9E37u + weights);
  }

  // The sum of the weights of a name's bytes in upper case, and of its
  // length: the same for every case and every order of the same letters.
  static std::uint16_t letterSignature(std::string_view name) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
    std::uint32_t sum = static_cast<std::uint32_t>(name.size()) * 0x9E37u;
    // Two sums side by side: a name is too short to be worth vectorising.
    std::uint32_t other = 0;
    std::size_t i = 0;
    for (; i + 2 <= name.size(); i += 2) {
      sum += kFoldedWeights[bytes[i]];
      other += kFoldedWeights[bytes[i + 1]];
    }
    if (i < name.size()) sum += kFoldedWeights[bytes[i]];
    return static_cast<std::uint16_t>(sum + other);
  }

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  static constexpr std::size_t kSignatureWords = (1u << 16) / 64;

  // A scattered 16-bit weight per byte value (the steps of a SplitMix64
  // generator), so that sums of weights tell different sets of bytes apart;
  // a lower-case letter weighs what its upper-case letter does.
  static constexpr std::array<std::uint16_t, 256> kFoldedWeights = [] {
    std::array<std::uint16_t, 256> weights{};
    std::uint64_t state = 0;
    for (std::uint16_t& weight : weights) {
      state += 0x9E3779B97F4A7C15ULL;
      std::uint64_t x = state;
      x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
      x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
      weight = static_cast<std::uint16_t>((x ^ (x >> 31)) >> 48);
    }
    for (unsigned letter = 'a'; letter <= 'z'; ++letter) weights[letter] = weights[letter - 32];
    return weights;
  }();

  static bool seen(const std::vector<std::uint64_t>& bits, std::uint16_t key) {
    return (bits[key / 64] >> (key % 64) & 1u) != 0;
  }
  static void mark(std::vector<std::uint64_t>& bits, std::uint16_t key) {
    bits[key / 64] |= std::uint64_t{1} << (key % 64);
  }
  std::optional<std::string_view> nearMissSlowly(std::string_view profileName) const;
  // The first candidate stored under `key` in `variants`, or kNone.
  static std::size_t firstOf(const NameIndex<std::size_t>& variants, std::string_view key);

  std::vector<std::string> candidates_;  // in the order added
  NameIndex<std::size_t> exact_;         // candidate -> its position
  NameIndex<std::size_t> byFoldedCase_;  // upper-case form -> first candidate
  NameIndex<std::size_t> bySwap_;        // form with one swap -> first candidate
  // One bit per lead key and per letter signature of a candidate and its
  // variants.
  std::vector<std::uint64_t> leads_ = std::vector<std::uint64_t>(kSignatureWords);
  std::vector<std::uint64_t> signatures_ = std::vector<std::uint64_t>(kSignatureWords);
  std::size_t shortest_ = static_cast<std::size_t>(-1);
  std::size_t longest_ = 0;
};

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_NEAR_MISS_H_
