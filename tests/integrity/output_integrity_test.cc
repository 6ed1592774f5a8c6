// Whole runs that need the shell around them: standard output on a full
// device or a closed pipe, a file-size limit that makes the threshold append
// fail half way, runs side by side on one threshold file, a replaced file's
// permissions, and faults placed at one exact system call with strace: an
// interrupt once the statement file is open, a template seed file that cannot
// take its name. On every system: a run killed while it writes; on Windows one
// ended by a console event (tests/interrupts/interrupted_run.cc).
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

// A run of 500 definitions whose report is stopped once the table of migrated
// exceptions has begun, when the statement file is open: the report soon
// waits on the full pipe. Whatever then ends the run, the earlier statement
// file stays, and no temporary file, though the run had one open.
class StoppedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(run() / "SQLLIB");
    std::string control;
    std::string profile;
    for (int i = 0; i < 500; ++i) {
      const std::string name = "D" + std::to_string(1000 + i);
      control += name + ",TAB.COL,I\n";
      profile += name + " 1234567890123456789 2234567890123456789\n";
    }
    std::ofstream(run() / "ZTQPROD.TXT", std::ios::binary) << control;
    std::ofstream(run() / "PROF.TXT", std::ios::binary) << profile;
    std::ofstream(run() / "SQLLIB/ZT5_UPD.SQL", std::ios::binary) << "earlier\n";
  }
  const fs::path& run() const { return scratch_.path(); }
  RunOutcome stop(
      AfterMarker then, const std::function<void()>& whileWaiting = [] {}) {
    return runTornvelUntil(TORNVEL_BINARY, {"-v", "PROF.TXT", "T5"}, run(),
                           "Exceptions in profile migrated", then, whileWaiting);
  }
  void expectEarlierFileAlone() {
    EXPECT_EQ(namesUnder(run() / "SQLLIB"), std::vector<std::string>{"ZT5_UPD.SQL"});
    EXPECT_EQ(readWholeFile(run() / "SQLLIB/ZT5_UPD.SQL"), "earlier\n");
  }

 private:
  ScratchDirectory scratch_;
};

// Ended by force: on Linux the temporary file has no name, on Windows the
// system deletes it with the process.
TEST_F(StoppedRunTest, KilledRunLeavesNoTemporaryFile) {
  std::vector<std::string> whileWriting;
  RunOutcome outcome =
      stop(AfterMarker::kKill, [&] { whileWriting = namesUnder(run() / "SQLLIB"); });
#ifdef _WIN32
  EXPECT_EQ(outcome.exitCode, 1);  // the code TerminateProcess gave
  ASSERT_EQ(whileWriting.size(), 2u);
  EXPECT_EQ(whileWriting[0].rfind(".ZT5_UPD.SQL.tmp", 0), 0u) << whileWriting[0];
#else
  EXPECT_EQ(outcome.signal, 9);
  EXPECT_EQ(whileWriting, std::vector<std::string>{"ZT5_UPD.SQL"});
#endif
  expectEarlierFileAlone();
}

#ifdef _WIN32
// Ctrl-C, Ctrl-Break or a closed console window while the run writes: the
// console handler ends the process at once with the status Windows gives a
// process ended by Ctrl-C, and the temporary file goes with it; the earlier
// statement file and threshold file stay as they were.
TEST_F(StoppedRunTest, ConsoleEventEndsTheRunAndKeepsTheEarlierOutputs) {
  for (const std::string event : {"c", "break", "close"}) {
    std::ofstream(run() / "SQLLIB/ZT5_CDF.TXT", std::ios::binary) << "earlier\n";
    RunOutcome outcome =
        runTornvel(INTERRUPTED_RUN_BINARY, {event, "-v", "-d", "PROF.TXT", "T5"}, run());
    EXPECT_EQ(static_cast<unsigned>(outcome.exitCode), 0xC000013Au)
        << event << ": " << outcome.console << outcome.errors;
    // The names in SQLLIB as the event came: the run's temporary file was there.
    EXPECT_NE(outcome.console.find(".ZT5_UPD.SQL.tmp"), std::string::npos)
        << event << ": " << outcome.console;
    EXPECT_EQ(namesUnder(run() / "SQLLIB"),
              (std::vector<std::string>{"ZT5_CDF.TXT", "ZT5_UPD.SQL"}))
        << event;
    for (const char* name : {"SQLLIB/ZT5_UPD.SQL", "SQLLIB/ZT5_CDF.TXT"}) {
      const std::string kept = readWholeFile(run() / name);
      EXPECT_TRUE(kept == "earlier\n") << event << ": " << name << " " << kept.substr(0, 80);
    }
  }
}

// An event the handler does not take (a user logging off, which only services
// receive) leaves the run to its end.
TEST_F(StoppedRunTest, ConsoleEventNotTakenLetsTheRunFinish) {
  RunOutcome outcome =
      runTornvel(INTERRUPTED_RUN_BINARY, {"logoff", "-v", "PROF.TXT", "T5"}, run());
  EXPECT_EQ(outcome.exitCode, 0) << outcome.console << outcome.errors;
  EXPECT_NE(outcome.console.find("declined"), std::string::npos) << outcome.console;
  EXPECT_EQ(namesUnder(run() / "SQLLIB"), std::vector<std::string>{"ZT5_UPD.SQL"});
  const std::string statements = readWholeFile(run() / "SQLLIB/ZT5_UPD.SQL");
  EXPECT_EQ(statements.rfind("UPDATE VORDA.TSITDESC", 0), 0u) << statements.substr(0, 80);
}
#endif

// A reader that goes away (`tornvel -v ... | head`): the failed write ends the
// run with 12 and its reason, not silently by a signal.
TEST_F(StoppedRunTest, ReaderThatGoesAwayEndsTheRunWith12) {
  RunOutcome outcome = stop(AfterMarker::kCloseConsole);
  EXPECT_EQ(outcome.exitCode, 12);
  EXPECT_EQ(outcome.errors, withNativeLineEnds("tornvel: cannot write standard output: Broken "
                                               "pipe; the earlier outputs are kept\n"));
  expectEarlierFileAlone();
}

#ifndef _WIN32

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
  EXPECT_EQ(outcome.errors,
            "tornvel: cannot write standard output: No space left on device; the earlier outputs "
            "are kept\n");
  EXPECT_EQ(readWholeFile(run() / "SQLLIB/ZT5_UPD.SQL"), "earlier\n");
  EXPECT_EQ(namesIn(run() / "SQLLIB"), std::vector<std::string>{"ZT5_UPD.SQL"});
}

// The answers that need no files fail the same way.
TEST_F(IntegrityTest, VersionAndHelpToAFullDeviceEndWith12) {
  for (const std::string option : {"--version", "--help"}) {
    RunOutcome outcome = shell("exec \"$1\" " + option + " >/dev/full");
    EXPECT_EQ(outcome.exitCode, 12) << option;
    EXPECT_EQ(outcome.errors,
              "tornvel: cannot write standard output: No space left on device; the earlier "
              "outputs are kept\n")
        << option;
  }
}

// A second run in the same folder replaces what the first wrote, on every
// file system: the system product's two files together, build mode's file,
// and the database product's threshold file, which gathers both runs' lines
// under one header. Nothing hidden is left.
TEST_F(IntegrityTest, SecondRunInAFolderReplacesTheFirstAndLeavesNothingHidden) {
  writeFile(run() / "ZR5PROD.TXT", "ABC1,TAB.COL,I\n");
  writeFile(run() / "R5PROF.TXT",
            "Begin Table PR.WLM\nBegin Row\n ID(1)\n PRWLMSC('BATCH')\n"
            " PRWLMPD(1)\n PRWLMWI(150)\n PRWLMCI(200)\nEnd Row\n");
  const std::string lines = "PROF.TXT,Critical,95\nPROF.TXT,Warning,80\n";
  for (int round = 1; round <= 2; ++round) {
    const std::string r = "round " + std::to_string(round);
    for (const std::string args : {"R5PROF.TXT R5", "-bd PROF.TXT T5", "PROF.TXT T5",
                                   round == 1 ? "-dh PROF.TXT T5" : "-d PROF.TXT T5"}) {
      EXPECT_EQ(shell("exec \"$1\" " + args).exitCode, 0) << r << ": " << args;
    }
    EXPECT_EQ(namesIn(run() / "SQLLIB"),
              (std::vector<std::string>{"UR5_ZPX.SQL", "ZR5_UPD.SQL", "ZT5_CDF.TXT", "ZT5_INS.SQL",
                                        "ZT5_UPD.SQL"}))
        << r;
    EXPECT_EQ(readWholeFile(run() / "SQLLIB/ZT5_CDF.TXT"),
              "ZT5,Threshold,ABC1\n" + lines + (round == 2 ? lines : ""))
        << r;
  }
}

// An interrupt that comes while the run waits for another run's append to
// the threshold file ends it at once, with every earlier output kept.
TEST_F(IntegrityTest, InterruptWhileWaitingForTheThresholdFileEndsTheRun) {
  writeFile(run() / "SQLLIB/ZT5_UPD.SQL", "earlier\n");
  writeFile(run() / "SQLLIB/ZT5_CDF.TXT", "earlier\n");
  RunOutcome outcome = shell(
      "command -v flock >/dev/null || exit 77;"
      " flock SQLLIB/ZT5_CDF.TXT sleep 10 </dev/null >/dev/null 2>&1 & locker=$!;"
      " sleep 0.3; \"$1\" -d PROF.TXT T5 & run=$!; sleep 0.5; kill -TERM $run; wait $run;"
      " status=$?; pkill -P $locker; exit $status");
  if (outcome.exitCode == 77) GTEST_SKIP() << "flock(1) is missing";
  EXPECT_EQ(outcome.exitCode, 128 + 15) << "signal " << outcome.signal << ": " << outcome.errors;
  EXPECT_EQ(readWholeFile(run() / "SQLLIB/ZT5_UPD.SQL"), "earlier\n");
  EXPECT_EQ(readWholeFile(run() / "SQLLIB/ZT5_CDF.TXT"), "earlier\n");
  EXPECT_EQ(namesIn(run() / "SQLLIB"), (std::vector<std::string>{"ZT5_CDF.TXT", "ZT5_UPD.SQL"}));
}

// An output folder that exists but cannot be written (for root, one on a
// read-only file system) is named in the open failure.
TEST_F(IntegrityTest, UnwritableOutputFolderIsNamed) {
  RunOutcome outcome = shell(
      "if [ \"$(id -u)\" = 0 ]; then mount -t tmpfs -o ro tmpfs SQLLIB || exit 77;"
      " else chmod 555 SQLLIB; fi;"
      " \"$1\" PROF.TXT T5; status=$?; umount SQLLIB 2>/dev/null; exit $status");
  if (outcome.exitCode == 77) GTEST_SKIP() << "no read-only file system can be mounted here";
  EXPECT_EQ(outcome.exitCode, 12);
  EXPECT_EQ(outcome.console, "Unable to open file SQLLIB\\ZT5_UPD.SQL for output.\n");
  const std::string end = "; the folder SQLLIB cannot be written\n";
  ASSERT_GE(outcome.errors.size(), end.size()) << outcome.errors;
  EXPECT_EQ(outcome.errors.substr(outcome.errors.size() - end.size()), end) << outcome.errors;
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
        " n=$(grep -n 'O_TMPFILE\\|/[.]ZT5_UPD[.]SQL[.]tmp' opens.log | head -1 | cut -d: -f1) &&"
        " rm opens.log "
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
  // The rename that gives the template seed file its name, in a recorded run
  // (on a file system without second names, the earlier statement file is
  // renamed aside first).
  RunOutcome outcome = traced(
      "strace -qq -o renames.log -e trace=rename \"$1\" -d PROF.TXT R5 &&"
      " n=$(grep -n '\"SQLLIB/UR5_ZPX[.]SQL\"' renames.log | cut -d: -f1) && rm renames.log &&"
      " for f in ZR5_UPD.SQL UR5_ZPX.SQL ZR5_CDF.TXT; do echo \"earlier $f\" >SQLLIB/$f; done &&"
      " exec strace -qq -o /dev/null -e trace=rename -e inject=rename:error=EIO:when=$n"
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

#endif  // _WIN32

}  // namespace
}  // namespace tornvel::testing
