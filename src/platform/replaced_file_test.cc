#include "platform/replaced_file.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <vector>

#include "platform/file_test_support.h"

namespace tornvel {
namespace {

using testing::contentOf;
using testing::kEnd;
using State = ReplacedFile::State;
namespace fs = std::filesystem;

class ReplacedFileTest : public testing::ScratchFolderTest {
 protected:
  // The earlier file is linked where the file system has second names, and
  // moved aside at the commit where it has not (exFAT).
  State keptHere() const {
    std::error_code error;
    fs::create_hard_link(directory_ / "OUT.SQL", directory_ / "probe", error);
    std::error_code ignored;
    fs::remove(directory_ / "probe", ignored);
    return error ? State::kEarlierToMove : State::kEarlierLinked;
  }
  void open(ReplacedFile& file) {
    const std::string path = name("OUT.SQL");
    ASSERT_TRUE(file.open(path, host::statusOf(path)));
    file.write("new\n");
  }
};

// The calls of a row, one letter each: f finish, k keepEarlier, c commit,
// r restoreEarlier, d dropEarlier.
bool perform(ReplacedFile& file, char call) {
  switch (call) {
    case 'f':
      return static_cast<bool>(file.finish());
    case 'k':
      return static_cast<bool>(file.keepEarlier());
    case 'c':
      return static_cast<bool>(file.commit());
    case 'r':
      return file.restoreEarlier();
    default:
      return file.dropEarlier();
  }
}

// Each call and the state it leaves (kEarlierLinked: the earlier file kept as
// this file system keeps it); what OUT.SQL holds at the end.
struct Transitions {
  const char* what;
  bool earlier;  // OUT.SQL is there before the run
  std::string calls;
  std::vector<State> states;
  const char* content;  // null: no OUT.SQL
};

TEST_F(ReplacedFileTest, EachCallLeavesItsState) {
  using enum State;
  const std::string fresh = "new" + kEnd;
  const std::vector<Transitions> table = {
      {"a new name, undone",
       false,
       "fkcrd",
       {kSynced, kNothingEarlier, kNamedFirst, kRestored, kRestored},
       nullptr},
      {"an earlier file put back",
       true,
       "fkcrd",
       {kSynced, kEarlierLinked, kNamedEarlierKept, kRestored, kRestored},
       "earlier\n"},
      {"an earlier file dropped, after which nothing is undone",
       true,
       "fkcdr",
       {kSynced, kEarlierLinked, kNamedEarlierKept, kNamed, kNamed},
       fresh.c_str()},
      {"the last file has no way back", true, "fcr", {kSynced, kNamed, kNamed}, fresh.c_str()},
      {"a way back given up before the commit",
       true,
       "kfkdc",
       {kWriting, kSynced, kEarlierLinked, kSynced, kNamed},
       fresh.c_str()},
      {"a commit finishes first", true, "c", {kNamed}, fresh.c_str()},
  };
  const State kept = keptHere();
  for (const Transitions& row : table) {
    if (!row.earlier) fs::remove(directory_ / "OUT.SQL");
    {
      ReplacedFile file;
      open(file);
      ASSERT_EQ(row.calls.size(), row.states.size()) << row.what;
      for (std::size_t i = 0; i < row.calls.size(); ++i) {
        EXPECT_TRUE(perform(file, row.calls[i])) << row.what;
        EXPECT_EQ(file.state(), row.states[i] == kEarlierLinked ? kept : row.states[i])
            << row.what << ", call " << i + 1;
      }
    }
    // No hidden name is left, whatever the way.
    EXPECT_EQ(entries(), row.content != nullptr ? 1u : 0u) << row.what;
    EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), row.content != nullptr ? row.content : "")
        << row.what;
    std::ofstream(directory_ / "OUT.SQL", std::ios::binary) << "earlier\n";
  }
}

}  // namespace
}  // namespace tornvel
