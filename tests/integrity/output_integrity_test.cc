// Whole runs that need the shell around them: standard output on a full
// device, a file-size limit that makes the threshold append fail half way,
// runs side by side on one threshold file, a replaced file's permissions, and
// faults placed at one exact system call with strace: an interrupt once the
// statement file is open, a template seed file that cannot take its name.
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

  // Runs `script` as shell() does, or skips the test where strace is missing.
  RunOutcome traced(const std::string& script) {
    if (shell("command -v strace").exitCode != 0) {
      ADD_FAILURE() << "strace is needed to place the fault";
      return {};
    }
    // The leak checker of a sanitizer build cannot work under a tracer.
    return shell("export ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\"; " +
                 script);
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

// A threshold file that did not exist: the run's lines are longer than the
// file-size limit, so the append stops part way and is cut back to nothing.
TEST_F(IntegrityTest, FailedAppendToANewThresholdFileLeavesNoTornLines) {
  const std::string folder(200, 'p');
  fs::create_directories(run() / folder / folder / folder);
  const std::string profile = folder + "/" + folder + "/" + folder + "/PROF.TXT";
  writeFile(run() / profile, "ABC1 80 95\n");
  RunOutcome outcome = shell("trap '' XFSZ; ulimit -f 1; exec \"$1\" -d " + profile + " T5");
  EXPECT_EQ(outcome.exitCode, 12);
  EXPECT_EQ(outcome.console, "Unable to write file SQLLIB\\ZT5_CDF.TXT\n");
  EXPECT_EQ(readWholeFile(run() / "SQLLIB/ZT5_CDF.TXT"), "");
  EXPECT_EQ(namesIn(run() / "SQLLIB"), std::vector<std::string>{"ZT5_CDF.TXT"});
}

// The signal arrives as the statement file's temporary file is created (the
// first open of a hidden name in a recorded run): the run ends by that signal,
// and leaves the earlier file and nothing beside it.
TEST_F(IntegrityTest, InterruptedRunLeavesTheEarlierFileAndNoTemporaryFile) {
  for (const auto& [signal, number] : {std::pair{"INT", 2}, std::pair{"TERM", 15}}) {
    writeFile(run() / "SQLLIB/ZT5_UPD.SQL", "earlier\n");
    RunOutcome outcome = traced(
        "strace -qq -o opens.log -e trace=openat \"$1\" PROF.TXT T5 &&"
        " n=$(grep -n '/[.]ZT5_UPD[.]SQL[.]tmp' opens.log | head -1 | cut -d: -f1) && rm opens.log "
        "&&"
        " echo earlier >SQLLIB/ZT5_UPD.SQL &&"
        " exec strace -qq -o /dev/null -e trace=openat -e inject=openat:signal=" +
        std::string(signal) + ":when=$n \"$1\" PROF.TXT T5");
    EXPECT_EQ(outcome.signal, number) << signal << ", exit " << outcome.exitCode;
    EXPECT_EQ(readWholeFile(run() / "SQLLIB/ZT5_UPD.SQL"), "earlier\n") << signal;
    EXPECT_EQ(namesIn(run() / "SQLLIB"), std::vector<std::string>{"ZT5_UPD.SQL"}) << signal;
  }
}

// The statement file takes its name first; when the template seed file then
// cannot take its own, the earlier statement file is put back, and the
// threshold lines are taken back.
TEST_F(IntegrityTest, TemplateSeedFileThatCannotTakeItsNameKeepsEveryEarlierFile) {
  writeFile(run() / "ZR5PROD.TXT", "ABC1,TAB.COL,I\n");
  writeFile(run() / "PROF.TXT",
            "Begin Table PR.WLM\nBegin Row\n ID(1)\n PRWLMSC('BATCH')\n PRWLMPD(1)\n"
            " PRWLMWI(150)\n PRWLMCI(200)\nEnd Row\n");
  for (const char* name : {"ZR5_UPD.SQL", "UR5_ZPX.SQL", "ZR5_CDF.TXT"}) {
    writeFile(run() / "SQLLIB" / name, std::string("earlier ") + name + "\n");
  }
  RunOutcome outcome = traced(
      "exec strace -qq -o /dev/null -e trace=rename -e inject=rename:error=EIO:when=2"
      " \"$1\" -d PROF.TXT R5");
  EXPECT_EQ(outcome.exitCode, 12);
  EXPECT_EQ(outcome.console, "Unable to write file SQLLIB\\UR5_ZPX.SQL\n");
  for (const char* name : {"ZR5_UPD.SQL", "UR5_ZPX.SQL", "ZR5_CDF.TXT"}) {
    EXPECT_EQ(readWholeFile(run() / "SQLLIB" / name), std::string("earlier ") + name + "\n");
  }
  EXPECT_EQ(namesIn(run() / "SQLLIB"),
            (std::vector<std::string>{"UR5_ZPX.SQL", "ZR5_CDF.TXT", "ZR5_UPD.SQL"}));
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
