// Profile names that reach no definition but nearly do: the same letters in
// another case ("lockwait" for LOCKWAIT), or two neighbouring characters the
// other way round ("LOCKWIAT"). Such a name is most likely mistyped, unlike a
// name that differs otherwise (a digit, a letter more or less): profiles carry
// many exceptions that a control file does not migrate on purpose.
#ifndef TORNVEL_DEFINITIONS_NEAR_MISS_H_
#define TORNVEL_DEFINITIONS_NEAR_MISS_H_

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
// are turned away by one bit test before any look-up.
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
  std::optional<std::string_view> nearMiss(std::string_view profileName) const;

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  static constexpr std::size_t kSignatureWords = (1u << 16) / 64;

  bool signatureSeen(std::uint16_t signature) const {
    return (signatures_[signature / 64] >> (signature % 64) & 1u) != 0;
  }
  // The first candidate stored under `key` in `variants`, or kNone.
  static std::size_t firstOf(const NameIndex<std::size_t>& variants, std::string_view key);

  std::vector<std::string> candidates_;  // in the order added
  NameIndex<std::size_t> exact_;         // candidate -> its position
  NameIndex<std::size_t> byFoldedCase_;  // upper-case form -> first candidate
  NameIndex<std::size_t> bySwap_;        // form with one swap -> first candidate
  // One bit per letter signature (see the .cc) of a candidate: a change of
  // case or order keeps a name's signature.
  std::vector<std::uint64_t> signatures_ = std::vector<std::uint64_t>(kSignatureWords);
  std::size_t shortest_ = static_cast<std::size_t>(-1);
  std::size_t longest_ = 0;
};

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_NEAR_MISS_H_
