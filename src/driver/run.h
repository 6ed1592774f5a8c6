// A whole run of the migration utility, from its arguments to its exit code.
#ifndef TORNVEL_DRIVER_RUN_H_
#define TORNVEL_DRIVER_RUN_H_

#include <ostream>
#include <string>
#include <vector>

namespace tornvel {

// Runs the migration for `args` (the program name first), writing the console
// output to `out`. Returns the exit code: 0 done, 8 command-line fault, 12 a
// file that cannot be opened or written (standard output included: a run that
// could not write `out` says so on `errors` and ends with 12 instead of 0), 16
// no definitions, 20 no reader for the product. Nothing below this function
// ends the process.
int runMigration(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors);
int runMigration(const std::vector<std::string>& args, std::ostream& out);

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_RUN_H_
