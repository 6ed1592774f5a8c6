// The exit codes of a run, as scripts that call the tool test them.
#ifndef TORNVEL_DRIVER_EXIT_CODE_H_
#define TORNVEL_DRIVER_EXIT_CODE_H_

namespace tornvel {

enum class ExitCode {
  kCompleted = 0,            // also after the usage text asked for, --help and --version
  kCommandLine = 8,          // a command-line fault, or too few arguments
  kFile = 12,                // a file that cannot be opened, read or written
  kNoDefinitions = 16,       // the control file holds no definition
  kUnsupportedProduct = 20,  // no profile reader for the product code
  kStrictWarnings = 24,      // --strict: the run warned of a likely mistake; nothing written
};

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_EXIT_CODE_H_
