#include "definitions/near_miss.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tornvel {
namespace {

unsigned char upperCase(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return static_cast<unsigned char>(byte - unsigned{'a'} < 26 ? byte - 32 : byte);
}

std::string foldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(upperCase(c));
  return folded;
}

}  // namespace

void NearMissIndex::addCandidate(std::string_view name) {
  const std::size_t position = candidates_.size();
  if (exact_.find(name) != nullptr) return;  // the earlier one answers for it
  candidates_.emplace_back(name);
  exact_.insertFirst(name, position);
  shortest_ = std::min(shortest_, name.size());
  longest_ = std::max(longest_, name.size());

  mark(signatures_, letterSignature(name));
  if (name.size() >= 2) {
    mark(leads_, leadKey(name, 1));
    mark(leads_, leadKey(name, 2));
  }
  byFoldedCase_.insertFirst(foldCase(name), position);
  // Swapping two equal characters changes nothing: that is no variant.
  for (std::size_t i = 0; i + 1 < name.size(); ++i) {
    if (name[i] == name[i + 1]) continue;
    std::string variant(name);
    std::swap(variant[i], variant[i + 1]);
    bySwap_.insertFirst(variant, position);
  }
}

void NearMissIndex::addDefinitions(const DefinitionTable& table) {
  for (std::size_t i = 0; i < table.size(); ++i) addCandidate(table.at(i).name());
}

void NearMissIndex::addSynonymMembers(const SynonymList& synonyms) {
  for (const SynonymGroup* group = synonyms.head(); group != nullptr; group = group->next) {
    for (int i = 0; i < group->count; ++i) {
      addCandidate(group->members[static_cast<std::size_t>(i)].name);
    }
  }
}

std::optional<std::string_view> NearMissIndex::nearMissSlowly(std::string_view profileName) const {
  // Neither a change of case nor a swap changes the length.
  if (profileName.size() < shortest_ || profileName.size() > longest_) return std::nullopt;
  // Definition names have at most 8 characters: the copy needs no allocation.
  const std::size_t byCase = firstOf(byFoldedCase_, foldCase(profileName));
  const std::size_t bySwap = firstOf(bySwap_, profileName);
  const std::size_t first = std::min(byCase, bySwap);
  // A name that is a candidate reached it (and is a variant of any other
  // candidate only by chance); asked last, as few names get this far.
  if (first == kNone || exact_.find(profileName) != nullptr) return std::nullopt;
  return candidates_[first];
}

std::size_t NearMissIndex::firstOf(const NameIndex<std::size_t>& variants, std::string_view key) {
  const std::size_t* found = variants.find(key);
  return found == nullptr ? kNone : *found;
}

}  // namespace tornvel
