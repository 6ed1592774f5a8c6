// What a failed run could not put back as it was, for the run to tell the
// operator what is where.
#ifndef TORNVEL_PLATFORM_LEFTOVER_H_
#define TORNVEL_PLATFORM_LEFTOVER_H_

#include <cstdint>
#include <string>

namespace tornvel {

struct Leftover {
  // The earlier file of a replaced output sits under this hidden name instead
  // of its own.
  std::string earlierAt;
  // There was no earlier file, and the new one could not be removed.
  bool newStays = false;
  // An appended file keeps `appendedSize` bytes of the run's text after its
  // first `appendedAt` bytes; `othersAfter` when another run's text follows.
  std::int64_t appendedAt = -1;
  std::int64_t appendedSize = 0;
  bool othersAfter = false;
  // The run's text was cut off again, but the system did not confirm that the
  // cut reached the disk.
  bool cutUnconfirmed = false;

  bool any() const { return !earlierAt.empty() || newStays || appendedAt >= 0 || cutUnconfirmed; }
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_LEFTOVER_H_
