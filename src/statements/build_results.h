// The result of a statement builder: whether a statement or row stands in the
// output, and if not, why nothing was produced. The run writes the output only
// for kWritten.
#ifndef TORNVEL_STATEMENTS_BUILD_RESULTS_H_
#define TORNVEL_STATEMENTS_BUILD_RESULTS_H_

namespace tornvel {

enum class BuildResult {
  // A statement or row stands in the output text.
  kWritten,
  // The situation is disabled, or the profile gave it no threshold.
  kDisabled,
  // Service-class path: the kind's threshold is switched off, or the kind is
  // not one of the service-class kinds.
  kDeclined,
};

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_BUILD_RESULTS_H_
