// Whole runs that need the shell around them: standard output on a full
// device, a file-size limit that makes the threshold append fail half way,
// runs side by side on one threshold file, and a replaced file's permissions.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/run_tornvel.h"

namespace tornvel::testing {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  ASSERT_TRUE(out.good()) << path;
}

// A run directory with an SQLLIB folder, a one-definition control file and a
// profile that gives it both thresholds.
class IntegrityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(run() / "SQLLIB");
    writeFile(run() / "ZTQPROD.TXT", "ABC1,TAB.COL,I\n");
    writeFile(run() / "PROF.TXT", "ABC1 80 95\n");
  }
  const fs::path& run() const { return scratch_.path(); }

  // Runs `script` with tornvel's path as $1 in the run directory.
  RunOutcome shell(const std::string& script) {
    return runTornvel("/bin/bash", {"-c", script, "tornvel", TORNVEL_BINARY}, run());
  }

  std::vector<std::string> namesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  ScratchDirectory scratch_;
};

TEST_F(IntegrityTest, UnwritableStandardOutputEndsWith12AndKeepsTheEarlierFile) {
  writeFile(run() / "SQLLIB/ZT5_UPD.SQL", "earlier\n");
  RunOutcome outcome = shell("exec \"$1\" -v PROF.TXT T5 >/dev/full");
  EXPECT_EQ(outcome.exitCode, 12);
  EXPECT_EQ(outcome.errors, "Unable to write standard output\n");
  EXPECT_EQ(readWholeFile(run() / "SQLLIB/ZT5_UPD.SQL"), "earlier\n");
  EXPECT_EQ(namesIn(run() / "SQLLIB"), std::vector<std::string>{"ZT5_UPD.SQL"});
}

// With the file-size limit just above the threshold file's length, the append
// is cut short part way; the file goes back to its earlier bytes.
TEST_F(IntegrityTest, FailedAppendLeavesTheThresholdFileAsItWas) {
  const std::string earlier(1000, 'x');
  writeFile(run() / "SQLLIB/ZT5_CDF.TXT", earlier);
  RunOutcome outcome = shell("trap '' XFSZ; ulimit -f 1; exec \"$1\" -d PROF.TXT T5");
  EXPECT_EQ(outcome.exitCode, 12);
  EXPECT_EQ(outcome.console, "Unable to write file SQLLIB\\ZT5_CDF.TXT\n");
  EXPECT_EQ(readWholeFile(run() / "SQLLIB/ZT5_CDF.TXT"), earlier);
  EXPECT_EQ(namesIn(run() / "SQLLIB"), std::vector<std::string>{"ZT5_CDF.TXT"});
}

TEST_F(IntegrityTest, ReplacedFileKeepsItsPermissions) {
  writeFile(run() / "SQLLIB/ZT5_UPD.SQL", "earlier\n");
  fs::permissions(run() / "SQLLIB/ZT5_UPD.SQL",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  RunOutcome outcome = shell("exec \"$1\" PROF.TXT T5");
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_NE(readWholeFile(run() / "SQLLIB/ZT5_UPD.SQL"), "earlier\n");
  EXPECT_EQ(fs::status(run() / "SQLLIB/ZT5_UPD.SQL").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Eight runs at once, each with 300 definitions, so that every line is a few
// kilobytes long: each run's two lines stand whole and together.
TEST_F(IntegrityTest, RunsSideBySideNeverInterleaveTheirLines) {
  std::string control;
  std::string profile;
  std::string critical = ",Critical";
  std::string warning = ",Warning";
  for (int i = 0; i < 300; ++i) {
    std::string name = "D" + std::to_string(1000 + i);
    control += name + ",TAB.COL,I\n";
    profile += name + " " + std::to_string(i) + " " + std::to_string(i + 5000) + "\n";
    critical += "," + std::to_string(i + 5000);
    warning += "," + std::to_string(i);
  }
  writeFile(run() / "ZTQPROD.TXT", control);
  std::vector<std::string> expected;
  for (int run = 1; run <= 8; ++run) {
    std::string name = "P" + std::to_string(run) + ".TXT";
    writeFile(this->run() / name, profile);
    expected.push_back(name + critical + "\n" + name + warning + "\n");
  }
  RunOutcome outcome = shell(
      "for i in 1 2 3 4 5 6 7 8; do \"$1\" -d P$i.TXT T5 OUT$i.SQL || echo failed & done; wait");
  EXPECT_EQ(outcome.console, "");
  const std::string lines = readWholeFile(run() / "SQLLIB/ZT5_CDF.TXT");
  std::size_t total = 0;
  for (const std::string& pair : expected) {
    EXPECT_NE(lines.find(pair), std::string::npos) << pair.substr(0, 20) << " is not whole";
    total += pair.size();
  }
  EXPECT_EQ(lines.size(), total);
}

}  // namespace
}  // namespace tornvel::testing
