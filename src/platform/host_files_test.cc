// The forms under which names are opened on Windows: the wide form of the
// UTF-8 name, and for a name whose absolute path passes 240 characters the
// absolute path behind "\\?\" ("\\?\UNC\" for a share).
#include "platform/host_files.h"

#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace tornvel::host {
namespace {

std::wstring currentFolder() {
  std::wstring folder(MAX_PATH * 4, L'\0');
  folder.resize(::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

TEST(WidePathTest, ShortDeviceAndLongFormNamesStayAsGiven) {
  // Cyrillic and CJK in UTF-8 become their UTF-16 code units.
  EXPECT_EQ(widePath("SQLLIB\\\xD0\x9A\xD0\x9E\xE5\x87\xBA.SQL"),
            L"SQLLIB\\\u041A\u041E\u51FA.SQL");
  const std::string long250(250, 'A');
  EXPECT_EQ(widePath("\\\\.\\pipe\\" + long250), L"\\\\.\\pipe\\" + std::wstring(250, L'A'));
  EXPECT_EQ(widePath("\\\\?\\C:\\" + long250), L"\\\\?\\C:\\" + std::wstring(250, L'A'));
}

TEST(WidePathTest, LongAbsoluteNamesTakeTheLongForm) {
  const std::wstring folders = std::wstring(120, L'B') + L"\\" + std::wstring(120, L'C');
  const std::string narrow = std::string(120, 'B') + "/" + std::string(120, 'C');
  EXPECT_EQ(widePath("C:\\" + narrow + "\\OUT.SQL"), L"\\\\?\\C:\\" + folders + L"\\OUT.SQL");
  EXPECT_EQ(widePath("\\\\server\\share\\" + narrow), L"\\\\?\\UNC\\server\\share\\" + folders);
}

// A relative name is as long as the absolute path it stands for: the current
// folder in front of it counts towards the 240 characters.
TEST(WidePathTest, RelativeNameIsLongWithTheCurrentFolder) {
  const std::wstring folder = currentFolder();
  ASSERT_LT(folder.size(), 200u);
  const std::size_t shortOfLimit = 240 - folder.size();
  const std::string justShort(shortOfLimit - 1, 'D');  // 239 characters in all
  EXPECT_EQ(widePath(justShort), std::wstring(justShort.begin(), justShort.end()));
  const std::string justLong(shortOfLimit, 'D');
  EXPECT_EQ(widePath(justLong),
            L"\\\\?\\" + folder + std::wstring(justLong.begin(), justLong.end()));
}

// An error the run acts on keeps its C library value; any other keeps the
// system's own words, not a made-up "I/O error".
TEST(ErrorTextTest, SystemErrorsKeepTheirWords) {
  EXPECT_EQ(errorFromSystem(ERROR_PATH_NOT_FOUND), ENOENT);
  EXPECT_EQ(errorFromSystem(ERROR_ALREADY_EXISTS), EEXIST);
  EXPECT_EQ(errorFromSystem(ERROR_WRITE_PROTECT), EROFS);
  EXPECT_EQ(errorText(ENOSPC), std::strerror(ENOSPC));
  for (DWORD code : {ERROR_NOT_SUPPORTED, ERROR_INVALID_FUNCTION, ERROR_NETNAME_DELETED}) {
    const std::string words = errorText(errorFromSystem(code));
    EXPECT_FALSE(words.empty()) << code;
    EXPECT_NE(words, std::strerror(EIO)) << code;
    EXPECT_NE(words.back(), '\n') << code;
    EXPECT_NE(words.back(), '.') << code;
  }
  // A linked name in a folder that is not there: the run's own reason.
  EXPECT_FALSE(linkFile("no-such-file", "no-such-folder\\a"));
  EXPECT_EQ(errno, ENOENT);
}

}  // namespace
}  // namespace tornvel::host
#endif
