#include "platform/file_names.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

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

#ifdef _WIN32
namespace {

// The volume and index that tell one file from every other on the host.
bool identityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE handle =
      ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool ok = ::GetFileInformationByHandle(handle, &info) != 0;
  ::CloseHandle(handle);
  return ok;
}

}  // namespace

bool sameFile(const std::string& nameAsBuilt, const std::string& otherNameAsBuilt) {
  BY_HANDLE_FILE_INFORMATION one{};
  BY_HANDLE_FILE_INFORMATION other{};
  if (!identityOf(hostPath(nameAsBuilt), one) || !identityOf(hostPath(otherNameAsBuilt), other)) {
    return false;
  }
  return one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
         one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}
#else
bool sameFile(const std::string& nameAsBuilt, const std::string& otherNameAsBuilt) {
  struct stat one {};
  struct stat other {};
  if (::stat(hostPath(nameAsBuilt).c_str(), &one) != 0 ||
      ::stat(hostPath(otherNameAsBuilt).c_str(), &other) != 0) {
    return false;
  }
  return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}
#endif

}  // namespace tornvel
