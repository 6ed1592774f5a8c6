// The run's release text and affinity string: what they are as a run starts,
// before the control file's directives change them, and how much of them is
// kept. The release is sampled by each definition as it is created; the
// affinity string goes into build mode's inserts.
#ifndef TORNVEL_DEFINITIONS_RELEASE_AND_AFFINITIES_H_
#define TORNVEL_DEFINITIONS_RELEASE_AND_AFFINITIES_H_

#include <cstddef>

namespace tornvel {

inline constexpr const char* kDefaultRelease = "V100";
// 34 "#" and 9 "0": the affinity string until the control file gives another.
inline constexpr const char* kDefaultAffinities = "##################################000000000";
// The run keeps an affinity string of up to 79 characters; each situation
// takes the part of it that its own field holds, 59 characters.
inline constexpr std::size_t kRunAffinitiesCapacity = 80;
inline constexpr std::size_t kSituationAffinitiesCapacity = 60;

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_RELEASE_AND_AFFINITIES_H_
