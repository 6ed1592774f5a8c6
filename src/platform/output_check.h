// What a run that writes nothing (a dry run) can tell of an output: the
// checks of opening it that need no writing, with the failures a real run's
// open would have. Nothing is created, not even a temporary file.
#ifndef TORNVEL_PLATFORM_OUTPUT_CHECK_H_
#define TORNVEL_PLATFORM_OUTPUT_CHECK_H_

#include <string>

#include "platform/failure.h"

namespace tornvel {

// How an output is written: replaced as a whole, or appended to.
enum class OutputUse { kReplace, kAppend };

// What an output's name reaches: a regular file or nothing yet, written
// through a temporary file or appended to; or a device, pipe or socket,
// written as it stands.
enum class Reach { kFile, kInPlace };

// Checks an output by its name as built: it is no folder; an existing file to
// append to may be written; any other file's folder (where a symbolic link
// leads) exists and may be written.
Result<Reach> checkOutput(const std::string& nameAsBuilt, OutputUse use);

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_OUTPUT_CHECK_H_
