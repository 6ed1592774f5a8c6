#include "platform/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tornvel {
namespace {

namespace fs = std::filesystem;

// What a written "\n" becomes on the host.
#ifdef _WIN32
const std::string kEnd = "\r\n";
#else
const std::string kEnd = "\n";
#endif

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class OutputFileTest : public ::testing::Test {
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

// The earlier file stands until the new one is committed; a file that is not
// committed leaves nothing behind.
TEST_F(OutputFileTest, ReplacedFileTakesItsNameOnlyWhenCommitted) {
  {
    OutputFile file;
    ASSERT_TRUE(file.open(name("OUT.SQL"), OutputFile::Mode::kReplace));
    file.write("new\n");
    EXPECT_TRUE(file.finish());
    EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\n");
    // Beside the earlier file, at most the temporary file under its hidden
    // name (where the file system cannot make one without a name).
    for (const auto& entry : fs::directory_iterator(directory_)) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "OUT.SQL" || name.rfind(".OUT.SQL.tmp", 0) == 0) << name;
    }
  }
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\n");
  EXPECT_EQ(entries(), 1u);

  OutputFile file;
  ASSERT_TRUE(file.open(name("OUT.SQL"), OutputFile::Mode::kReplace));
  file.write("new\n");
  EXPECT_TRUE(file.commit());
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "new" + kEnd);
  EXPECT_EQ(entries(), 1u);
}

// An append is taken back only while nothing was appended after it.
TEST_F(OutputFileTest, UndoneAppendGoesBackToTheEarlierLength) {
  OutputFile file;
  ASSERT_TRUE(file.open(name("OUT.SQL"), OutputFile::Mode::kAppend));
  file.write("line\n");
  ASSERT_TRUE(file.finish());
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\nline" + kEnd);
  EXPECT_TRUE(file.undoAppend());
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\n");
  file.unlock();  // held from the append on, so that no other run comes between

#ifndef _WIN32
  // A writer that takes no lock (Windows' locks keep it out) appends after
  // this run's text, which then stays.
  OutputFile mine;
  ASSERT_TRUE(mine.open(name("OUT.SQL"), OutputFile::Mode::kAppend));
  mine.write("mine\n");
  ASSERT_TRUE(mine.finish());
  std::ofstream(directory_ / "OUT.SQL", std::ios::binary | std::ios::app) << "theirs\n";
  EXPECT_FALSE(mine.undoAppend());
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\nmine" + kEnd + "theirs\n");
  // What stays is told: this run's bytes after the earlier 8, and others after them.
  EXPECT_EQ(mine.leftover().appendedAt, 8);
  EXPECT_EQ(mine.leftover().appendedSize, static_cast<std::int64_t>(4 + kEnd.size()));
  EXPECT_TRUE(mine.leftover().othersAfter);
#endif
}

// Files that take their names together: when the second cannot (its folder
// went away under it), the first gets its earlier content back, or goes when
// it had none, and no hidden name is left behind.
TEST_F(OutputFileTest, FilesCommittedTogetherAllOrNone) {
  fs::create_directory(directory_ / "second");
  for (bool earlierFirst : {true, false}) {
    if (!earlierFirst) fs::remove(directory_ / "OUT.SQL");
    OutputFile first;
    OutputFile second;
    ASSERT_TRUE(first.open(name("OUT.SQL"), OutputFile::Mode::kReplace));
    ASSERT_TRUE(second.open(name("second/ROWS.SQL"), OutputFile::Mode::kReplace));
    first.write("new\n");
    second.write("rows\n");
    ASSERT_TRUE(first.finish() && second.finish());
    fs::rename(directory_ / "second", directory_ / "moved");
    EXPECT_EQ(commitTogether({&first, &second}), 1);
    if (earlierFirst) {
      EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\n");
    } else {
      EXPECT_FALSE(fs::exists(directory_ / "OUT.SQL"));
    }
    EXPECT_EQ(entries(), earlierFirst ? 2u : 1u);  // and the moved folder
    fs::rename(directory_ / "moved", directory_ / "second");
  }

  OutputFile first;
  OutputFile second;
  ASSERT_TRUE(first.open(name("OUT.SQL"), OutputFile::Mode::kReplace));
  ASSERT_TRUE(second.open(name("second/ROWS.SQL"), OutputFile::Mode::kReplace));
  first.write("new\n");
  ASSERT_TRUE(first.finish() && second.finish());
  EXPECT_EQ(commitTogether({&first, &second}), -1);
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "new" + kEnd);
  EXPECT_EQ(contentOf(directory_ / "second/ROWS.SQL"), "");
  EXPECT_EQ(entries(), 2u);
}

}  // namespace
}  // namespace tornvel
