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

std::string folderOf(const std::string& hostPath) {
  std::size_t end = hostPath.size();
  while (end > 0 && !host::isSeparator(hostPath[end - 1])) --end;
  while (end > 1 && host::isSeparator(hostPath[end - 1])) --end;
  return hostPath.substr(0, end);
}

bool sameFile(const std::string& nameAsBuilt, const std::string& otherNameAsBuilt) {
  return host::sameFile(hostPath(nameAsBuilt), hostPath(otherNameAsBuilt));
}

}  // namespace tornvel
