#include "platform/output_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_test_support.h"

namespace tornvel {
namespace {

using testing::contentOf;
using testing::kEnd;
namespace fs = std::filesystem;

class OutputFileTest : public testing::ScratchFolderTest {};

// The earlier file stands until the new one is committed; a file that is not
// committed leaves nothing behind.
TEST_F(OutputFileTest, ReplacedFileTakesItsNameOnlyWhenCommitted) {
  {
    OutputFile file;
    ASSERT_TRUE(file.open(name("OUT.SQL")));
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
  ASSERT_TRUE(file.open(name("OUT.SQL")));
  file.write("new\n");
  EXPECT_TRUE(file.commit());
  EXPECT_EQ(contentOf(directory_ / "OUT.SQL"), "new" + kEnd);
  EXPECT_EQ(entries(), 1u);
}

}  // namespace
}  // namespace tornvel
