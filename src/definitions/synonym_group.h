// Synonym groups: several profile exception names whose thresholds are folded
// into the values of one definition, the one named like the group.
#ifndef TORNVEL_DEFINITIONS_SYNONYM_GROUP_H_
#define TORNVEL_DEFINITIONS_SYNONYM_GROUP_H_

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/name_index.h"
#include "platform/text.h"

namespace tornvel {

struct SynonymMember {
  // Records the integer values of a profile line's warning and critical texts,
  // replacing values recorded before.
  void recordValues(std::string_view warningText, std::string_view criticalText);

  std::string name;  // 9 bytes: at most 8 characters
  bool hasValues = false;
  std::int32_t warning = 0;
  std::int32_t critical = 0;
};

// The outcome of parsing a synonym directive. The error line of a directive
// that does not parse shows the number each outcome stands for.
enum class SynonymParse {
  kParsed = 0,
  kNoWord = 1,         // no word at all
  kUnknownKind = 2,    // the kind word begins with neither "H" nor "L"
  kNoGroupName = 3,    // no group name
  kTooManyNames = 4,   // more than 20 names
  kNoOtherMember = 5,  // no member besides the group's own name
};

struct SynonymGroup {
  static constexpr int kCapacity = 20;

  // Parses a directive text: kind word, group name, member names, separated by
  // blanks, commas, semicolons and newlines. Cuts `text` in place after the
  // end of its first word, as the error line that quotes it shows.
  SynonymParse initFromText(std::string& text);

  // Folds the recorded values into the combined values; 1 when no member has
  // values (nothing changes then), else 0.
  int combine();

  // The group's line of the verbose synonym listing: "G <== A B \n".
  void printGroup(std::ostream& out) const;

  SynonymGroup* next = nullptr;  // the group of the directive before, in the list
  std::string name;              // the full word, at most 8 characters
  int capacity = kCapacity;
  int count = 0;
  std::int32_t combinedWarning = 0;
  std::int32_t combinedCritical = 0;
  char kind = 'H';
  std::array<SynonymMember, kCapacity> members{};

 private:
  SynonymParse parseNames(Tokenizer& words);
};

// The run's synonym groups, newest first. Owns the groups.
class SynonymList {
 public:
  // Puts a parsed group at the head of the list.
  void pushFront(std::unique_ptr<SynonymGroup> group);
  SynonymGroup* head() const { return head_; }
  bool empty() const { return head_ == nullptr; }

  // The member that a profile exception name is recorded in: the first member
  // of that name in the first group, in list order, that has one. nullptr when
  // no group has such a member. Constant time per look-up.
  // Defined here: the IMS reader asks it for every profile line.
  SynonymMember* findFirstMember(std::string_view memberName) {
    if (!indexed_) buildIndex();
    SynonymMember* const* found = index_.find(memberName);
    return found == nullptr ? nullptr : *found;
  }

 private:
  void buildIndex();

  std::vector<std::unique_ptr<SynonymGroup>> owned_;
  SynonymGroup* head_ = nullptr;
  bool indexed_ = false;
  NameIndex<SynonymMember*> index_;
};

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_SYNONYM_GROUP_H_
