#include "platform/output_check.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_test_support.h"

namespace tornvel {
namespace {

namespace fs = std::filesystem;

class OutputCheckTest : public testing::ScratchFolderTest {};

struct Check {
  std::string name;  // under the scratch folder, or absolute
  OutputUse use;
  Reach reach;      // when the check passes
  Failure failure;  // else
  bool passes = false;
};

// The checks a dry run makes, and what a failed one found of the folder: of
// the name as given, not of where a link leads.
TEST_F(OutputCheckTest, ChecksWithoutWriting) {
  const Failure none{};
  std::vector<Check> table = {
      {"OUT.SQL", OutputUse::kAppend, Reach::kFile, none, true},
      {"NEW.SQL", OutputUse::kAppend, Reach::kFile, none, true},
      {"", OutputUse::kReplace, Reach::kFile, {Step::kCheck, EISDIR, FolderFinding::kNone}},
      {"none/NEW.SQL",
       OutputUse::kReplace,
       Reach::kFile,
       {Step::kCheck, ENOENT, FolderFinding::kMissing}},
      {"none\\NEW.SQL",
       OutputUse::kAppend,
       Reach::kFile,
       {Step::kCheck, ENOENT, FolderFinding::kMissing}},
#ifndef _WIN32
      {"/dev/null", OutputUse::kReplace, Reach::kInPlace, none, true},
#endif
  };
  // Where links are followed and the file system has them: one to a file in
  // a missing folder.
  std::error_code noLinks = std::make_error_code(std::errc::not_supported);
#ifndef _WIN32
  fs::create_symlink(directory_ / "none/OUT.SQL", directory_ / "LINK.SQL", noLinks);
#endif
  if (!noLinks) {
    table.push_back({"LINK.SQL",
                     OutputUse::kReplace,
                     Reach::kFile,
                     {Step::kCheck, ENOENT, FolderFinding::kNone}});
  }
  for (const Check& c : table) {
    const std::string name =
        c.name.empty() || c.name[0] != '/' ? (directory_ / c.name).string() : c.name;
    const Result<Reach> checked = checkOutput(name, c.use);
    ASSERT_EQ(static_cast<bool>(checked), c.passes) << c.name;
    if (c.passes) {
      EXPECT_EQ(checked.value(), c.reach) << c.name;
    } else {
      EXPECT_EQ(checked.failure(), c.failure) << c.name;
    }
  }
  // Nothing was created: OUT.SQL, and the link where there is one.
  EXPECT_EQ(entries(), noLinks ? 1u : 2u);
}

}  // namespace
}  // namespace tornvel
