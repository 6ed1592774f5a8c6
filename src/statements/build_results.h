// The results of the statement builders. The run tests them only for zero;
// the other values say why nothing was produced.
#ifndef TORNVEL_STATEMENTS_BUILD_RESULTS_H_
#define TORNVEL_STATEMENTS_BUILD_RESULTS_H_

namespace tornvel {

// A statement or row stands in the output text.
inline constexpr int kStatementBuilt = 0;
// Service-class path: the kind's threshold is switched off, or the kind is not
// one of 0 to 3.
inline constexpr int kKindSwitchedOff = 1;
// The situation is disabled, or the profile gave it no threshold.
inline constexpr int kSituationUntouched = 4;

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_BUILD_RESULTS_H_
