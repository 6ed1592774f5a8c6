#include "driver/diagnostics.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>
#include <string>
#include <vector>

namespace tornvel {
namespace {

struct OpenFailureCase {
  std::string name;
  Failure failure;
  std::string said;  // on standard error
};

// An output that did not open is worded from the failure alone: what the run
// found of the folder at the time, whatever the folder is now (no SQLLIB
// folder stands where the tests run).
TEST(DiagnosticsTest, OpenFailureSaysWhatWasFoundOfTheFolder) {
  const std::string cannot = "tornvel: cannot open the statement file ";
  const std::vector<OpenFailureCase> table = {
      {"SQLLIB/ZT5_UPD.SQL",
       {Step::kCreate, ENOENT, FolderFinding::kMissing},
       cannot + "SQLLIB/ZT5_UPD.SQL: No such file or directory; the folder SQLLIB must exist "
                "(mkdir SQLLIB)\n"},
      {"SQLLIB/ZT5_UPD.SQL",
       {Step::kOpen, ENOENT, FolderFinding::kNone},
       cannot + "SQLLIB/ZT5_UPD.SQL: No such file or directory\n"},
      {"SQLLIB/ZT5_UPD.SQL",
       {Step::kCheck, EACCES, FolderFinding::kNotWritable},
       cannot + "SQLLIB/ZT5_UPD.SQL: Permission denied; the folder SQLLIB cannot be written\n"},
      {"ZT5_UPD.SQL",
       {Step::kCreate, EROFS, FolderFinding::kNotWritable},
       cannot + "ZT5_UPD.SQL: Read-only file system; the current folder cannot be written\n"},
      {"ZT5_UPD.SQL",
       {Step::kOpen, 0, FolderFinding::kNone},
       cannot + "ZT5_UPD.SQL: unknown reason\n"},
  };
  for (const OpenFailureCase& c : table) {
    std::ostringstream out;
    std::ostringstream errors;
    Console console(out, errors);
    reportOutputOpenFailure(console, "the statement file", c.name, c.failure);
    EXPECT_EQ(out.str(), "Unable to open file " + c.name + " for output.\n");
    EXPECT_EQ(errors.str(), c.said);
  }
}

}  // namespace
}  // namespace tornvel
