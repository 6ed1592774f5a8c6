#include "definitions/synonym_group.h"

#include "platform/text.h"

namespace tornvel {

namespace {

// The directive's own separators: unlike the rest of the control file, a
// semicolon separates words too.
constexpr Delimiters kWordSeparators(" ,;\n");

constexpr std::size_t kMemberNameCapacity = 9;

}  // namespace

void SynonymMember::recordValues(std::string_view warningText, std::string_view criticalText) {
  warning = toInt32Saturating(warningText);
  critical = toInt32Saturating(criticalText);
  hasValues = true;
}

SynonymParse SynonymGroup::initFromText(std::string& text) {
  Tokenizer words(text);
  std::optional<std::string_view> kindWord = words.next(kWordSeparators);
  if (!kindWord) return SynonymParse::kNoWord;
  // The error line quotes the text as far as the end of its first word.
  std::size_t firstWordEnd =
      static_cast<std::size_t>(kindWord->data() - text.data()) + kindWord->size();

  SynonymParse result = SynonymParse::kUnknownKind;
  if ((*kindWord)[0] == 'H' || (*kindWord)[0] == 'L') {
    kind = (*kindWord)[0];
    result = parseNames(words);
  }
  text.resize(firstWordEnd);
  return result;
}

SynonymParse SynonymGroup::parseNames(Tokenizer& words) {
  std::optional<std::string_view> groupName = words.next(kWordSeparators);
  if (!groupName) return SynonymParse::kNoGroupName;
  // The group keeps its whole name (up to 8 characters) so that it matches the
  // definition of that name, like member 0 does.
  assignField(name, *groupName, kMemberNameCapacity);
  assignField(members[0].name, *groupName, kMemberNameCapacity);
  count = 1;
  while (std::optional<std::string_view> word = words.next(kWordSeparators)) {
    if (count >= capacity) return SynonymParse::kTooManyNames;
    assignField(members[static_cast<std::size_t>(count)].name, *word, kMemberNameCapacity);
    ++count;
  }
  return count == 1 ? SynonymParse::kNoOtherMember : SynonymParse::kParsed;
}

// Kind "H" keeps the lowest warning and the lowest critical, kind "L" the
// highest; the two are folded independently of each other.
int SynonymGroup::combine() {
  const SynonymMember* first = nullptr;
  for (int i = 0; i < count && first == nullptr; ++i) {
    if (members[static_cast<std::size_t>(i)].hasValues)
      first = &members[static_cast<std::size_t>(i)];
  }
  if (first == nullptr) return 1;
  combinedWarning = first->warning;
  combinedCritical = first->critical;
  for (int i = 0; i < count; ++i) {
    const SynonymMember& member = members[static_cast<std::size_t>(i)];
    if (!member.hasValues) continue;
    if (kind == 'L') {
      if (member.warning > combinedWarning) combinedWarning = member.warning;
      if (member.critical > combinedCritical) combinedCritical = member.critical;
    } else {
      if (member.warning < combinedWarning) combinedWarning = member.warning;
      if (member.critical < combinedCritical) combinedCritical = member.critical;
    }
  }
  return 0;
}

void SynonymGroup::printGroup(std::ostream& out) const {
  out << name << " <== ";
  for (int i = 1; i < count; ++i) out << members[static_cast<std::size_t>(i)].name << " ";
  out << "\n";
  out.flush();
}

void SynonymList::pushFront(std::unique_ptr<SynonymGroup> group) {
  group->next = head_;
  head_ = group.get();
  owned_.push_back(std::move(group));
  indexed_ = false;
}

// Each name maps to its first member in the first group, in list order, that
// holds it: walking the list and keeping only the first entry per name gives
// exactly that.
void SynonymList::buildIndex() {
  index_.clear();
  for (SynonymGroup* group = head_; group != nullptr; group = group->next) {
    for (int i = 0; i < group->count; ++i) {
      SynonymMember& member = group->members[static_cast<std::size_t>(i)];
      index_.insertFirst(member.name, &member);
    }
  }
  indexed_ = true;
}

}  // namespace tornvel
