#include "definitions/definition_table.h"

#include <string>

namespace tornvel {

ExceptionDefinition* DefinitionTable::append(std::unique_ptr<ExceptionDefinition> definition) {
  if (full() || !definition) return nullptr;
  // A definition's name never changes after construction, so the index stays valid.
  firstByName_.insertFirst(definition->name(), entries_.size());
  entries_.push_back(std::move(definition));
  return entries_.back().get();
}

std::vector<ExceptionDefinition*> DefinitionTable::findAll(std::string_view name) {
  // Only the advice pass asks for every definition of a name: the index finds
  // the first, the rest of the table is walked from there.
  std::vector<ExceptionDefinition*> result;
  const std::size_t* first = firstByName_.find(name);
  if (first == nullptr) return result;
  for (std::size_t i = *first; i < entries_.size(); ++i) {
    if (entries_[i]->name() == name) result.push_back(entries_[i].get());
  }
  return result;
}

void printLimitWarning(Console& console) {
  console.print(
      "\nWarning:\tYou have exceeded the number of supported exceptions.\n"
      "        \tThe current limit is " +
      std::to_string(DefinitionTable::kLimit) + "\n");
}

}  // namespace tornvel
