// The run's ordered definitions: control-file definitions in file order, then
// the service-class definitions. Its order is the order of the output.
#ifndef TORNVEL_DEFINITIONS_DEFINITION_TABLE_H_
#define TORNVEL_DEFINITIONS_DEFINITION_TABLE_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/exception_definition.h"
#include "platform/console.h"
#include "platform/name_index.h"

namespace tornvel {

class DefinitionTable {
 public:
  // The most definitions a run holds.
  static constexpr std::size_t kLimit = 512;

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  bool full() const { return entries_.size() >= kLimit; }

  // Appends a definition; a full table drops it and returns nullptr.
  ExceptionDefinition* append(std::unique_ptr<ExceptionDefinition> definition);

  ExceptionDefinition& at(std::size_t index) { return *entries_[index]; }
  const ExceptionDefinition& at(std::size_t index) const { return *entries_[index]; }

  // The first definition in table order whose name is exactly `name`, found in
  // constant time; nullptr when there is none.
  ExceptionDefinition* findFirst(std::string_view name) {
    const std::size_t* found = firstByName_.find(name);
    return found == nullptr ? nullptr : entries_[*found].get();
  }

  // Every definition whose name is exactly `name`, in table order.
  std::vector<ExceptionDefinition*> findAll(std::string_view name);

 private:
  std::vector<std::unique_ptr<ExceptionDefinition>> entries_;
  // Name -> position of its first definition: the look-up of every profile line.
  NameIndex<std::size_t> firstByName_;
};

// The warning printed when a definition arrives while the table is full (or a
// service-class definition fills it); printed in every run.
void printLimitWarning(Console& console);

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_DEFINITION_TABLE_H_
