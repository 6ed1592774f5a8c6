#include "platform/file_names.h"

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

}  // namespace tornvel
