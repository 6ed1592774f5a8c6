#include "platform/append_whole.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/appended_file.h"
#include "platform/host_files.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tornvel {
namespace {

namespace fs = std::filesystem;

class AppendWholeTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder_); }
  void TearDown() override { fs::remove_all(folder_); }
  std::string content() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  const fs::path folder_ =
      fs::temp_directory_path() / ("tornvel-append-" + std::to_string(host::processId()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  const std::string file_ = (folder_ / "RUNS.JSONL").string();
};

TEST_F(AppendWholeTest, CreatesThenAppendsTheBytesAsGivenOrTellsWhyNot) {
  EXPECT_TRUE(appendWhole(file_, "{\"run\":1}\n").appended());
  EXPECT_TRUE(appendWhole(file_, "{\"run\":2}\n").appended());
  EXPECT_EQ(content(), "{\"run\":1}\n{\"run\":2}\n");

  EXPECT_EQ(appendWhole((folder_ / "NO" / "RUNS.JSONL").string(), "x\n").error, ENOENT);
  EXPECT_FALSE(fs::exists(folder_ / "NO"));
  EXPECT_NE(appendWhole(folder_.string(), "x\n").error, 0);  // a folder
}

#ifndef _WIN32
// Eight processes append 40 lines each, of up to 20000 bytes: every line is
// in the file once, whole.
TEST_F(AppendWholeTest, RunsSideBySideEachLeaveWholeLines) {
  std::vector<std::string> expected;
  for (int i = 0; i < 8 * 40; ++i) {
    expected.push_back(std::to_string(i) + std::string(i * 104729 % 20000, 'x') + "\n");
  }
  for (int run = 0; run < 8; ++run) {
    if (::fork() != 0) continue;
    bool appended = true;
    for (int i = run; i < 8 * 40; i += 8) appended &= appendWhole(file_, expected[i]).appended();
    ::_exit(appended ? 0 : 1);
  }
  for (int status = 0; ::wait(&status) > 0;) EXPECT_EQ(status, 0);
  std::vector<std::string> lines;
  std::istringstream text(content());
  for (std::string line; std::getline(text, line);) lines.push_back(line + "\n");
  std::sort(lines.begin(), lines.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_TRUE(lines == expected) << lines.size() << " lines";
}

// The append waits for the lock that the threshold file's append holds.
TEST_F(AppendWholeTest, WaitsForTheThresholdFilesLock) {
  AppendedFile threshold;
  ASSERT_TRUE(threshold.open(file_));
  ASSERT_TRUE(threshold.lock());
  const pid_t child = ::fork();
  if (child == 0) ::_exit(appendWhole(file_, "summary\n").appended() ? 0 : 1);
  ::usleep(300000);
  EXPECT_EQ(content(), "");  // still waiting
  threshold.write("threshold\n");
  EXPECT_TRUE(threshold.finish());
  threshold.unlock();
  int status = 1;
  EXPECT_TRUE(::waitpid(child, &status, 0) == child && status == 0);
  EXPECT_EQ(content(), "threshold\nsummary\n");
}
#endif

}  // namespace
}  // namespace tornvel
