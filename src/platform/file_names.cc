#include "platform/file_names.h"

#include "platform/host_files.h"

namespace tornvel {

std::string hostPath(std::string_view nameAsBuilt) {
  std::string path(nameAsBuilt);
#ifndef _WIN32
  // A back-slash is the native separator on Windows; elsewhere it becomes one.
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
#endif
  return path;
}

std::size_t fileNameStart(std::string_view hostPath) {
  std::size_t start = hostPath.size();
  while (start > 0 && !host::isSeparator(hostPath[start - 1])) --start;
  return start;
}

std::string folderOf(const std::string& hostPath) {
  std::size_t end = fileNameStart(hostPath);
  while (end > 1 && host::isSeparator(hostPath[end - 1])) --end;
  return hostPath.substr(0, end);
}

}  // namespace tornvel
