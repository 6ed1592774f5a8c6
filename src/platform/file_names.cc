#include "platform/file_names.h"

namespace tornvel {

std::string hostPath(std::string_view nameAsBuilt) {
  std::string path(nameAsBuilt);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace tornvel
