#include "definitions/definition_table.h"

namespace tornvel {

ExceptionDefinition* DefinitionTable::append(std::unique_ptr<ExceptionDefinition> definition) {
  if (full() || !definition) return nullptr;
  // A definition's name never changes after construction, so the index stays valid.
  byName_[definition->name].push_back(entries_.size());
  firstByName_.insertFirst(definition->name, entries_.size());
  entries_.push_back(std::move(definition));
  return entries_.back().get();
}

std::vector<ExceptionDefinition*> DefinitionTable::findAll(std::string_view name) {
  std::vector<ExceptionDefinition*> result;
  auto found = byName_.find(name);
  if (found == byName_.end()) return result;
  for (std::size_t index : found->second) result.push_back(entries_[index].get());
  return result;
}

void printLimitWarning(Console& console) {
  console.print(
      "\nWarning:\tYou have exceeded the number of supported exceptions.\n"
      "        \tThe current limit is 512\n");
}

}  // namespace tornvel
