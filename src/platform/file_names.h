// File names are built with a back-slash separator ("SQLLIB\\ZT5_UPD.SQL") and
// shown that way; every back-slash names a directory level. On Windows that is
// the native separator and the name is opened as built; elsewhere each
// back-slash is turned into a '/'.
#ifndef TORNVEL_PLATFORM_FILE_NAMES_H_
#define TORNVEL_PLATFORM_FILE_NAMES_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace tornvel {

// The path under which a file named `nameAsBuilt` is opened.
std::string hostPath(std::string_view nameAsBuilt);

// Where the file name part of a host path begins: after its last separator.
std::size_t fileNameStart(std::string_view hostPath);

// The folder part of a host path ("SQLLIB" of "SQLLIB/ZT5_UPD.SQL", "/" of
// "/x"), or empty for a name in the current folder.
std::string folderOf(const std::string& hostPath);

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_FILE_NAMES_H_
