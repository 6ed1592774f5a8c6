#include "driver/run.h"

#include "driver/command_line.h"
#include "platform/console.h"

namespace tornvel {

int runMigration(const std::vector<std::string>& args, std::ostream& out) {
  Console console(out);
  RunOptions options;
  SetupResult setup = setUpRun(args, options, console);
  if (!setup.proceed) return setup.exitCode;
  return 0;
}

}  // namespace tornvel
