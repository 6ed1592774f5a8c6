// End-to-end golden-file tests for tornvel.
//
// Every directory under E2E_CASES_DIR is one case: the tornvel binary is run
// once in a fresh temporary working directory that holds a copy of the case's
// input/ tree, and its exit code, standard output and every file it created or
// changed are compared byte for byte with the case's expected/ tree.
// tests/e2e/README.md describes the layout of a case.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kTimeoutSeconds = 60;
constexpr const char* kRunTimestampEpoch = "1796633122";
constexpr const char* kPlaceholderFileName = ".keep";
constexpr const char* kTempDirToken = "@TMP@";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

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
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\\': out += "\\\\"; break;
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
  while (offset < expected.size() && offset < actual.size() && expected[offset] == actual[offset]) ++offset;
  const auto line_number = 1 + std::count(expected.begin(), expected.begin() + static_cast<long>(offset), '\n');
  std::ostringstream hint;
  hint << "expected " << expected.size() << " bytes, got " << actual.size() << " bytes; first difference at byte "
       << offset << " (line " << line_number << ")\n"
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
    files[fs::relative(entry.path(), root).generic_string()] = ReadFile(entry.path());
  }
  return files;
}

std::string BinaryPath() {
  if (const char* override_path = std::getenv("TORNVEL_E2E_BINARY"); override_path && *override_path) {
    return override_path;
  }
  return TORNVEL_BINARY;
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  const fs::path root(E2E_CASES_DIR);
  if (!fs::is_directory(root)) return names;
  for (const auto& entry : fs::directory_iterator(root)) {
    if (entry.is_directory() && fs::exists(entry.path() / "args")) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct RunResult {
  int exitCode = -1;
  bool timedOut = false;
  int signal = 0;
  std::string stdoutText;
  std::string stderrText;
  std::string failure;  // set when the binary could not be started at all
};

// Runs `binary` with `args` in `workDir`, standard input from /dev/null,
// standard output and standard error captured.
RunResult RunTornvel(const std::string& binary, const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& extraEnv, const fs::path& workDir) {
  RunResult result;

  // Everything the child needs is prepared before the fork.
  std::vector<std::string> argvStorage;
  argvStorage.push_back(binary);
  argvStorage.insert(argvStorage.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argvStorage) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::set<std::string> overridden;
  for (const auto& [key, value] : extraEnv) overridden.insert(key);
  std::vector<std::string> envStorage;
  for (char** e = environ; e && *e; ++e) {
    const std::string entry(*e);
    const auto eq = entry.find('=');
    if (overridden.count(entry.substr(0, eq)) != 0) continue;
    envStorage.push_back(entry);
  }
  for (const auto& [key, value] : extraEnv) envStorage.push_back(key + "=" + value);
  std::vector<char*> envp;
  for (auto& e : envStorage) envp.push_back(e.data());
  envp.push_back(nullptr);

  const std::string dir = workDir.string();
  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
    result.failure = std::string("pipe: ") + std::strerror(errno);
    return result;
  }

  const pid_t pid = fork();
  if (pid < 0) {
    result.failure = std::string("fork: ") + std::strerror(errno);
    return result;
  }
  if (pid == 0) {
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull < 0 || dup2(devNull, STDIN_FILENO) < 0 || dup2(outPipe[1], STDOUT_FILENO) < 0 ||
        dup2(errPipe[1], STDERR_FILENO) < 0 || chdir(dir.c_str()) != 0) {
      _exit(126);
    }
    close(devNull);
    close(outPipe[0]);
    close(outPipe[1]);
    close(errPipe[0]);
    close(errPipe[1]);
    execve(argv[0], argv.data(), envp.data());
    const char message[] = "e2e_test: cannot execute the tornvel binary\n";
    [[maybe_unused]] const auto ignored = write(STDERR_FILENO, message, sizeof message - 1);
    _exit(127);
  }

  close(outPipe[1]);
  close(errPipe[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kTimeoutSeconds);
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.stdoutText, &result.stderrText};
  int open_streams = 2;
  while (open_streams > 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    const int ready = poll(fds, 2, static_cast<int>(std::min<long long>(left, 1000)));
    if (ready < 0) {
      if (errno == EINTR) continue;
      result.failure = std::string("poll: ") + std::strerror(errno);
      kill(pid, SIGKILL);
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      char buffer[65536];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_streams;
      }
    }
  }
  for (auto& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }

  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.signal = WTERMSIG(status);
  }
  return result;
}

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tornvel-e2e-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = fs::path(pattern);
  }
  ~TemporaryDirectory() {
    if (path_.empty()) return;
    if (const char* keep = std::getenv("TORNVEL_E2E_KEEP"); keep && *keep) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

class GoldenCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenCase, MatchesExpectedOutput) {
  const fs::path caseDir = fs::path(E2E_CASES_DIR) / GetParam();
  std::string description = fs::exists(caseDir / "description") ? ReadFile(caseDir / "description") : std::string();
  while (!description.empty() && std::isspace(static_cast<unsigned char>(description.back()))) description.pop_back();

  TemporaryDirectory work;
  ASSERT_FALSE(work.path().empty()) << "cannot create a temporary working directory";
  const fs::path workDir = fs::canonical(work.path());
  SCOPED_TRACE("case " + GetParam() + (description.empty() ? "" : ": " + description) + "  (work dir " +
               workDir.string() + ")");
  if (fs::is_directory(caseDir / "input")) {
    fs::copy(caseDir / "input", workDir, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  }
  const auto before = Snapshot(workDir);

  std::vector<std::string> args;
  for (const auto& line : SplitLines(ReadFile(caseDir / "args"))) {
    args.push_back(ReplaceAll(line, kTempDirToken, workDir.string()));
  }
  std::vector<std::pair<std::string, std::string>> env = {{"SOURCE_DATE_EPOCH", kRunTimestampEpoch},
                                                          {"TZ", "UTC"}};
  if (fs::exists(caseDir / "env")) {
    for (const auto& line : SplitLines(ReadFile(caseDir / "env"))) {
      if (line.empty()) continue;
      const auto eq = line.find('=');
      ASSERT_NE(eq, std::string::npos) << "env line without '=': " << line;
      const std::string key = line.substr(0, eq);
      std::erase_if(env, [&key](const auto& kv) { return kv.first == key; });
      env.emplace_back(key, line.substr(eq + 1));
    }
  }

  const RunResult run = RunTornvel(BinaryPath(), args, env, workDir);
  ASSERT_TRUE(run.failure.empty()) << run.failure;
  ASSERT_FALSE(run.timedOut) << "tornvel did not finish within " << kTimeoutSeconds << " seconds";
  ASSERT_EQ(run.signal, 0) << "tornvel was ended by signal " << run.signal << "\nstderr:\n" << run.stderrText;

  const int expectedExit = std::atoi(ReadFile(caseDir / "expected" / "exit_code").c_str());
  EXPECT_EQ(run.exitCode, expectedExit) << "stderr:\n" << run.stderrText;

  const std::string expectedStdout = ReadFile(caseDir / "expected" / "stdout");
  const std::string stdoutDiff = DescribeDifference(expectedStdout, run.stdoutText);
  EXPECT_TRUE(stdoutDiff.empty()) << "standard output differs: " << stdoutDiff;

  const auto expectedFiles = Snapshot(caseDir / "expected" / "files");
  const auto after = Snapshot(workDir);
  for (const auto& [name, content] : expectedFiles) {
    const auto found = after.find(name);
    if (found == after.end()) {
      ADD_FAILURE() << "expected file " << name << " was not written";
      continue;
    }
    const std::string diff = DescribeDifference(content, found->second);
    EXPECT_TRUE(diff.empty()) << "file " << name << " differs: " << diff;
  }
  for (const auto& [name, content] : after) {
    if (expectedFiles.count(name) != 0) continue;
    const auto original = before.find(name);
    if (original == before.end()) {
      ADD_FAILURE() << "unexpected file created: " << name << " (" << content.size() << " bytes)";
    } else if (original->second != content) {
      ADD_FAILURE() << "input file changed: " << name << ": " << DescribeDifference(original->second, content);
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
