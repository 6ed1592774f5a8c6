// A whole run of the migration utility, from its arguments to its exit code.
#ifndef TORNVEL_DRIVER_RUN_H_
#define TORNVEL_DRIVER_RUN_H_

#include <ostream>
#include <string>
#include <vector>

#include "driver/exit_code.h"

namespace tornvel {

// Runs the migration for `args` (the program name first), writing the console
// output to `out` and the diagnostics to `errors`. Returns the exit code (a
// run that could not write `out` says so and ends with 12 instead of 0).
// Nothing below this function ends the process.
ExitCode runMigration(const std::vector<std::string>& args, std::ostream& out,
                      std::ostream& errors);

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_RUN_H_
