// The one place where a run's replaced files take their names: all of them,
// or none, so that the outputs a reader sees are all earlier or all new.
#ifndef TORNVEL_PLATFORM_COMMIT_TOGETHER_H_
#define TORNVEL_PLATFORM_COMMIT_TOGETHER_H_

#include <cstddef>
#include <initializer_list>
#include <optional>

#include "platform/failure.h"
#include "platform/replaced_file.h"

namespace tornvel {

// The file that could not take its name, by its place in the list, and why.
struct CommitFailure {
  std::size_t index = 0;
  Failure failure;
};

// Gives every file its name, all or none: each file that takes its name
// before another keeps its earlier version until the last one has its name;
// when one cannot take its name, the files before it get their earlier
// content back (where that fails, their leftover() says what is where). A
// null entry, an output that takes no name, is passed over. Nothing when
// every file has its name; the hidden copies that could not be removed are
// named by the files' leftBehind().
std::optional<CommitFailure> commitTogether(std::initializer_list<ReplacedFile*> files);

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_COMMIT_TOGETHER_H_
