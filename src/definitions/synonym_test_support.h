// Test helper: a synonym group's member found by name, in member order.
#ifndef TORNVEL_DEFINITIONS_SYNONYM_TEST_SUPPORT_H_
#define TORNVEL_DEFINITIONS_SYNONYM_TEST_SUPPORT_H_

#include <cstddef>
#include <string_view>

#include "definitions/synonym_group.h"

namespace tornvel {

// The first member of `group`, in member order, named exactly `name`.
inline SynonymMember* memberNamed(SynonymGroup& group, std::string_view name) {
  for (int i = 0; i < group.count; ++i) {
    if (group.members[static_cast<std::size_t>(i)].name == name) {
      return &group.members[static_cast<std::size_t>(i)];
    }
  }
  return nullptr;
}

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_SYNONYM_TEST_SUPPORT_H_
