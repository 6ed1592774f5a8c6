// A scratch folder per test for the tests of files a run writes, holding an
// earlier output OUT.SQL, and what a written "\n" becomes on the host.
#ifndef TORNVEL_PLATFORM_FILE_TEST_SUPPORT_H_
#define TORNVEL_PLATFORM_FILE_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tornvel::testing {

namespace fs = std::filesystem;

#ifdef _WIN32
inline const std::string kEnd = "\r\n";
#else
inline const std::string kEnd = "\n";
#endif

inline std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("tornvel-output-file-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
    std::ofstream(directory_ / "OUT.SQL", std::ios::binary) << "earlier\n";
  }
  void TearDown() override { fs::remove_all(directory_); }
  std::string name(const char* file) const { return (directory_ / file).string(); }
  std::size_t entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(directory_), fs::directory_iterator()));
  }

  fs::path directory_;
};

}  // namespace tornvel::testing

#endif  // TORNVEL_PLATFORM_FILE_TEST_SUPPORT_H_
