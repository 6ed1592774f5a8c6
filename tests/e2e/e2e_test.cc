// End-to-end golden-file tests for tornvel.
//
// Every directory under E2E_CASES_DIR is one case: the tornvel binary is run
// once in a fresh temporary working directory that holds a copy of the case's
// input/ tree, and its exit code, standard output and every file it created or
// changed are compared byte for byte with the case's expected/ tree.
// tests/e2e/README.md describes the layout of a case.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/run_tornvel.h"

namespace fs = std::filesystem;
using tornvel::testing::Environment;
using tornvel::testing::readWholeFile;
using tornvel::testing::RunOutcome;
using tornvel::testing::runTornvel;
using tornvel::testing::ScratchDirectory;

namespace {

constexpr int kTimeoutSeconds = 60;
constexpr const char* kPlaceholderFileName = ".keep";
constexpr const char* kTempDirToken = "@TMP@";

// "a\nb\n" gives {"a", "b"}; "" gives {}; "\n" gives {""}; a last line
// without a line end still counts.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size()) {
    const auto end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Printable form of a line for failure messages: tabs, carriage returns, NULs
// and other control bytes are spelled out.
std::string Visible(const std::string& text) {
  std::string out;
  for (const unsigned char c : text) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (c < 0x20 || c >= 0x7f) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02x", c);
          out += hex;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

// The line of `text` that holds byte `offset` (without its line end).
std::string LineAt(const std::string& text, std::string::size_type offset) {
  if (offset > text.size()) offset = text.size();
  const auto begin = offset == 0 ? 0 : text.rfind('\n', offset - 1);
  const auto from = (begin == std::string::npos || offset == 0) ? 0 : begin + 1;
  auto to = text.find('\n', offset);
  if (to == std::string::npos) to = text.size();
  return text.substr(from, to - from);
}

// Empty when equal; otherwise a readable hint at the first difference.
std::string DescribeDifference(const std::string& expected, const std::string& actual) {
  if (expected == actual) return {};
  std::string::size_type offset = 0;
  while (offset < expected.size() && offset < actual.size() && expected[offset] == actual[offset])
    ++offset;
  const auto line_number =
      1 + std::count(expected.begin(), expected.begin() + static_cast<long>(offset), '\n');
  std::ostringstream hint;
  hint << "expected " << expected.size() << " bytes, got " << actual.size()
       << " bytes; first difference at byte " << offset << " (line " << line_number << ")\n"
       << "  expected line: \"" << Visible(LineAt(expected, offset)) << "\""
       << (offset >= expected.size() ? "  <end of expected>" : "") << "\n"
       << "  actual line:   \"" << Visible(LineAt(actual, offset)) << "\""
       << (offset >= actual.size() ? "  <end of actual>" : "") << "\n";
  return hint.str();
}

// Every regular file below `root`, by path relative to it, with its bytes.
// Placeholder files that only keep a directory in the case tree are skipped.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    if (entry.path().filename() == kPlaceholderFileName) continue;
    files[fs::relative(entry.path(), root).generic_string()] = readWholeFile(entry.path());
  }
  return files;
}

std::string BinaryPath() {
  if (const char* override_path = std::getenv("TORNVEL_E2E_BINARY");
      override_path && *override_path) {
    return override_path;
  }
  return TORNVEL_BINARY;
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  const fs::path root(E2E_CASES_DIR);
  if (!fs::is_directory(root)) return names;
  for (const auto& entry : fs::directory_iterator(root)) {
    if (entry.is_directory() && fs::exists(entry.path() / "args"))
      names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// An expected file's bytes as the run leaves them on this system: the lines
// the run wrote have its line ends (CR LF on Windows); what the file already
// held before the run (`kept`, when the run appended to it) stays as it was.
std::string ExpectedBytes(const std::string& expected, const std::string* kept) {
  if (kept != nullptr && expected.compare(0, kept->size(), *kept) == 0) {
    return *kept + tornvel::testing::withNativeLineEnds(expected.substr(kept->size()));
  }
  return tornvel::testing::withNativeLineEnds(expected);
}

class GoldenCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenCase, MatchesExpectedOutput) {
  const fs::path caseDir = fs::path(E2E_CASES_DIR) / GetParam();
  std::string description =
      fs::exists(caseDir / "description") ? readWholeFile(caseDir / "description") : std::string();
  while (!description.empty() && std::isspace(static_cast<unsigned char>(description.back())))
    description.pop_back();

  ScratchDirectory work;
  const fs::path workDir = work.path();
  SCOPED_TRACE("case " + GetParam() + (description.empty() ? "" : ": " + description) +
               "  (work dir " + workDir.string() + ")");
  if (fs::is_directory(caseDir / "input")) {
    fs::copy(caseDir / "input", workDir,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  }
  const auto before = Snapshot(workDir);

  std::vector<std::string> args;
  for (const auto& line : SplitLines(readWholeFile(caseDir / "args"))) {
    args.push_back(ReplaceAll(line, kTempDirToken, workDir.string()));
  }
  Environment env;
  if (fs::exists(caseDir / "env")) {
    for (const auto& line : SplitLines(readWholeFile(caseDir / "env"))) {
      if (line.empty()) continue;
      const auto eq = line.find('=');
      ASSERT_NE(eq, std::string::npos) << "env line without '=': " << line;
      const std::string key = line.substr(0, eq);
      std::erase_if(env, [&key](const auto& kv) { return kv.first == key; });
      env.emplace_back(key, line.substr(eq + 1));
    }
  }

  const RunOutcome run = runTornvel(BinaryPath(), args, workDir, env, kTimeoutSeconds);
  ASSERT_TRUE(run.failure.empty()) << run.failure;
  ASSERT_FALSE(run.timedOut) << "tornvel did not finish within " << kTimeoutSeconds << " seconds";
  ASSERT_EQ(run.signal, 0) << "tornvel was ended by signal " << run.signal << "\nstderr:\n"
                           << run.errors;

  const int expectedExit = std::atoi(readWholeFile(caseDir / "expected" / "exit_code").c_str());
  EXPECT_EQ(run.exitCode, expectedExit) << "stderr:\n" << run.errors;

  const std::string expectedStdout =
      tornvel::testing::withNativeLineEnds(readWholeFile(caseDir / "expected" / "stdout"));
  const std::string stdoutDiff = DescribeDifference(expectedStdout, run.console);
  EXPECT_TRUE(stdoutDiff.empty()) << "standard output differs: " << stdoutDiff;

  const auto expectedFiles = Snapshot(caseDir / "expected" / "files");
  const auto after = Snapshot(workDir);
  for (const auto& [name, content] : expectedFiles) {
    const auto found = after.find(name);
    if (found == after.end()) {
      ADD_FAILURE() << "expected file " << name << " was not written";
      continue;
    }
    const auto original = before.find(name);
    const std::string* kept = original == before.end() ? nullptr : &original->second;
    const std::string diff = DescribeDifference(ExpectedBytes(content, kept), found->second);
    EXPECT_TRUE(diff.empty()) << "file " << name << " differs: " << diff;
  }
  for (const auto& [name, content] : after) {
    if (expectedFiles.count(name) != 0) continue;
    const auto original = before.find(name);
    if (original == before.end()) {
      ADD_FAILURE() << "unexpected file created: " << name << " (" << content.size() << " bytes)";
    } else if (original->second != content) {
      ADD_FAILURE() << "input file changed: " << name << ": "
                    << DescribeDifference(original->second, content);
    }
  }
  for (const auto& [name, content] : before) {
    if (after.count(name) == 0) ADD_FAILURE() << "input file removed: " << name;
  }
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (auto& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCase, ::testing::ValuesIn(CaseNames()), TestName);

}  // namespace
