// Runs whole migrations in a private directory. The input holds, separated by
// lines of "@@", the switches and product (one per line), the control file, the
// profile and the advice file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run.h"

namespace {

std::vector<std::string> splitSections(const std::string& text) {
  std::vector<std::string> sections(1);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    std::string line =
        text.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
    if ((line == "@@\n" || line == "@@") && sections.size() < 4) {
      sections.emplace_back();
    } else {
      sections.back() += line;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  sections.resize(4);
  return sections;
}

void writeFile(const char* name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

const std::filesystem::path& workDirectory() {
  static const std::filesystem::path directory = [] {
    // Under TMPDIR when it is set, so that a campaign keeps its files together.
    std::string pattern = (std::filesystem::temp_directory_path() / "tornvel-fuzz-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (made == nullptr) std::abort();
    return std::filesystem::path(made);
  }();
  return directory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> sections =
      splitSections(std::string(reinterpret_cast<const char*>(data), size));
  std::filesystem::current_path(workDirectory());
  std::filesystem::remove_all("SQLLIB");
  std::filesystem::create_directory("SQLLIB");

  std::vector<std::string> args{"tornvel"};
  std::istringstream switches(sections[0]);
  std::string arg;
  while (std::getline(switches, arg) && args.size() < 12) {
    // Names stay inside the private directory: no path separators.
    if (arg.find_first_of("/\\") == std::string::npos) args.push_back(arg);
  }
  if (args.size() < 3) args = {"tornvel", "-v", "-dh", "-bd", "PROFILE.TXT", "T5"};
  // Every family's control file name, so that whichever code was typed finds it.
  for (const char* code : {"ZTQ", "ZT5", "ZWQ", "ZW5", "ZYQ", "ZY5", "ZR5"}) {
    writeFile((std::string(code) + "PROD.TXT").c_str(), sections[1]);
    writeFile((std::string(code) + "_ADVICE.TXT").c_str(), sections[3]);
  }
  writeFile("PROFILE.TXT", sections[2]);
  std::ostringstream out;
  std::ostringstream errors;
  tornvel::runMigration(args, out, errors);
  return 0;
}
