#include "platform/commit_together.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_test_support.h"

namespace tornvel {
namespace {

using testing::contentOf;
using testing::kEnd;
using State = ReplacedFile::State;
namespace fs = std::filesystem;

class CommitTogetherTest : public testing::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    fs::create_directory(directory_ / "second");
  }
  void open(ReplacedFile& file, const char* output, const char* text) {
    const std::string path = name(output);
    ASSERT_TRUE(file.open(path, host::statusOf(path)));
    file.write(text);
  }
};

// Files that take their names together: when the second cannot (its folder
// went away under it), the first gets its earlier content back, or goes when
// it had none, and no hidden name is left behind.
TEST_F(CommitTogetherTest, FilesCommittedTogetherAllOrNone) {
  for (bool earlierFirst : {true, false}) {
    if (!earlierFirst) fs::remove(directory_ / "OUT.SQL");
    ReplacedFile first;
    ReplacedFile second;
    open(first, "OUT.SQL", "new\n");
    open(second, "second/ROWS.SQL", "rows\n");
    ASSERT_TRUE(first.finish() && second.finish());
    fs::rename(directory_ / "second", directory_ / "moved");
    const auto failed = commitTogether({&first, &second});
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->index, 1u);
    if (earlierFirst) {
      EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\n");
    } else {
      EXPECT_FALSE(fs::exists(directory_ / "OUT.SQL"));
    }
    EXPECT_EQ(entries(), earlierFirst ? 2u : 1u);  // and the moved folder
    fs::rename(directory_ / "moved", directory_ / "second");
  }

  ReplacedFile first;
  ReplacedFile second;
  open(first, "OUT.SQL", "new\n");
  open(second, "second/ROWS.SQL", "");
  ASSERT_TRUE(first.finish() && second.finish());
  EXPECT_FALSE(commitTogether({&first, &second}).has_value());
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "new" + kEnd);
  EXPECT_EQ(contentOf(directory_ / "second/ROWS.SQL"), "");
  EXPECT_EQ(entries(), 2u);
}

// An output that takes no name keeps its place in the list; every file before
// the one that failed is undone, whatever it held before, and the texts are
// on the disk before any file takes its name.
TEST_F(CommitTogetherTest, EveryFileBeforeTheFailedOneIsUndone) {
  ReplacedFile first;
  ReplacedFile fresh;
  ReplacedFile last;
  open(first, "OUT.SQL", "new\n");
  open(fresh, "NEW.SQL", "fresh\n");
  open(last, "second/ROWS.SQL", "rows\n");
  fs::rename(directory_ / "second", directory_ / "moved");
  const auto failed = commitTogether({&first, nullptr, &fresh, &last});
  fs::rename(directory_ / "moved", directory_ / "second");
  ASSERT_TRUE(failed.has_value());
  EXPECT_EQ(failed->index, 3u);
  EXPECT_EQ(failed->failure.error, ENOENT);
  EXPECT_EQ(first.state(), State::kRestored);
  EXPECT_EQ(fresh.state(), State::kRestored);
  EXPECT_EQ(last.state(), State::kFailed);
  EXPECT_EQ(last.commit().failure(), failed->failure);  // and stays failed
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\n");
  EXPECT_FALSE(fs::exists(directory_ / "NEW.SQL"));
  EXPECT_EQ(entries(), 2u);
}

}  // namespace
}  // namespace tornvel
