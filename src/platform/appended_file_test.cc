#include "platform/appended_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_test_support.h"

namespace tornvel {
namespace {

using testing::contentOf;
using testing::kEnd;
using State = AppendedFile::State;

class AppendedFileTest : public testing::ScratchFolderTest {};

// An append is taken back only while nothing was appended after it.
TEST_F(AppendedFileTest, UndoneAppendGoesBackToTheEarlierLength) {
  AppendedFile file;
  ASSERT_TRUE(file.open(name("OUT.SQL")));
  file.write("line\n");
  ASSERT_TRUE(file.finish());
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\nline" + kEnd);
  EXPECT_TRUE(file.undoAppend());
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "earlier\n");
  file.unlock();  // held from the append on, so that no other run comes between

#ifndef _WIN32
  // A writer that takes no lock (Windows' locks keep it out) appends after
  // this run's text, which then stays.
  AppendedFile mine;
  ASSERT_TRUE(mine.open(name("OUT.SQL")));
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

// Each call and the state it leaves, one letter a call: l lock, u unlock,
// f finish, x undoAppend; and whether the run's line stays in the file.
struct Transitions {
  const char* what;
  std::string calls;
  std::vector<State> states;
  bool appended;
};

TEST_F(AppendedFileTest, EachCallLeavesItsState) {
  using enum State;
  const std::vector<Transitions> table = {
      {"locked, appended, taken back",
       "lfxuf",
       {kLocked, kAppendedLocked, kTakenBack, kTakenBack, kTakenBack},
       false},
      {"the append takes the lock itself and keeps it", "fu", {kAppendedLocked, kAppended}, true},
      {"without the lock the text is never cut",
       "fuxx",
       {kAppendedLocked, kAppended, kStranded, kStranded},
       true},
  };
  for (const Transitions& row : table) {
    {
      AppendedFile file;
      ASSERT_TRUE(file.open(name("OUT.SQL")));
      EXPECT_EQ(file.state(), kOpen);
      file.write("line\n");
      ASSERT_EQ(row.calls.size(), row.states.size()) << row.what;
      for (std::size_t i = 0; i < row.calls.size(); ++i) {
        if (row.calls[i] == 'l') file.lock();
        if (row.calls[i] == 'u') file.unlock();
        if (row.calls[i] == 'f') file.finish();
        if (row.calls[i] == 'x') file.undoAppend();
        EXPECT_EQ(file.state(), row.states[i]) << row.what << ", call " << i + 1;
      }
    }
    EXPECT_EQ(contentOf(directory_ / "OUT.SQL"),
              row.appended ? "earlier\nline" + kEnd : "earlier\n")
        << row.what;
    std::ofstream(directory_ / "OUT.SQL", std::ios::binary) << "earlier\n";
  }
}

#ifndef _WIN32
// A write that fails leaves the file as it was and tells its step, then and
// when asked again.
TEST_F(AppendedFileTest, FailedAppendComesBackAsAValue) {
  AppendedFile file;
  ASSERT_TRUE(file.open("/dev/full"));
  file.write("line\n");
  const Outcome appended = file.finish();
  ASSERT_FALSE(appended);
  EXPECT_EQ(appended.failure(), (Failure{Step::kWrite, ENOSPC}));
  EXPECT_EQ(file.state(), State::kFailed);
  EXPECT_FALSE(file.leftover().any());
  EXPECT_EQ(file.finish().failure().step, Step::kWrite);
}
#endif

}  // namespace
}  // namespace tornvel
