// What every written output shares: the host's line ends and a write that
// goes on until all of its text is out.
#ifndef TORNVEL_PLATFORM_FILE_WRITES_H_
#define TORNVEL_PLATFORM_FILE_WRITES_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace tornvel {

// Appends `text` to `buffer` with every "\n" as the host's line end.
void appendWithNativeLineEnds(std::string& buffer, std::string_view text);
// The bytes `text` takes in a file, every "\n" as the host's line end.
std::size_t nativeSize(std::string_view text);

// Writes all of `data` to `fd`: 0, or the system's reason (an errno value) for
// the first failure, with `written` telling how much went out before it.
int writeAll(int fd, std::string_view data, std::size_t& written);

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_FILE_WRITES_H_
