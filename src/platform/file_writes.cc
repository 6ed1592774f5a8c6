#include "platform/file_writes.h"

#include <algorithm>
#include <cerrno>

#include "platform/host_files.h"

namespace tornvel {

void appendWithNativeLineEnds(std::string& buffer, std::string_view text) {
#ifdef _WIN32
  for (char c : text) {
    if (c == '\n') buffer.push_back('\r');
    buffer.push_back(c);
  }
#else
  buffer.append(text);
#endif
}

std::size_t nativeSize(std::string_view text) {
#ifdef _WIN32
  return text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
#else
  return text.size();
#endif
}

int writeAll(int fd, std::string_view data, std::size_t& written) {
  written = 0;
  while (written < data.size()) {
    const std::ptrdiff_t count = host::writeSome(fd, data.data() + written, data.size() - written);
    if (count < 0 && errno == EINTR) continue;
    // A write that takes nothing would never end: the device is full.
    if (count == 0) return ENOSPC;
    if (count < 0) return errno;
    written += static_cast<std::size_t>(count);
  }
  return 0;
}

}  // namespace tornvel
