#include <iostream>
#include <string>
#include <vector>

#include "driver/run.h"
#include "platform/host_files.h"
#include "platform/interrupts.h"

#ifdef _WIN32
// The command line as the system holds it, in UTF-16, so that a name with any
// character reaches the run whole (kept as UTF-8 inside).
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(tornvel::host::utf8FromWide(argv[i]));
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
#endif
  std::ios::sync_with_stdio(false);
  tornvel::catchInterrupts();
  return static_cast<int>(tornvel::runMigration(args, std::cout, std::cerr));
}
