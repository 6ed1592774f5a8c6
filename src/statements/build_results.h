// What a statement builder gives: the statement or row it built, or why it
// built none. The run writes the text only when it was written.
#ifndef TORNVEL_STATEMENTS_BUILD_RESULTS_H_
#define TORNVEL_STATEMENTS_BUILD_RESULTS_H_

#include <string>

namespace tornvel {

enum class BuildResult {
  // A statement or row stands in the text.
  kWritten,
  // The situation is disabled, or the profile gave it no threshold.
  kDisabled,
  // Service-class path: the resource's threshold is switched off.
  kDeclined,
};

// A built statement or row; the text is empty unless it was written.
struct Built {
  BuildResult result = BuildResult::kWritten;
  std::string text;

  bool written() const { return result == BuildResult::kWritten; }
};

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_BUILD_RESULTS_H_
