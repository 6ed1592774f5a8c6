// Fuzzes the command-line set-up: the input is split at NUL bytes into
// arguments.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "driver/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args{"tornvel"};
  std::string current;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current.push_back(static_cast<char>(data[i]));
    }
  }
  args.push_back(current);
  std::ostringstream out;
  tornvel::Console console(out);
  tornvel::setUpRun(args, console);
  return 0;
}
