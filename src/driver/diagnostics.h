// The run's diagnostics: one line each on standard error, beginning
// "tornvel: ", that tells an operator what went wrong and what to do, or what
// the run did instead of what was asked. They come in addition to the
// messages and reports on standard output, which they never change.
#ifndef TORNVEL_DRIVER_DIAGNOSTICS_H_
#define TORNVEL_DRIVER_DIAGNOSTICS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "driver/exit_code.h"
#include "platform/console.h"
#include "platform/failure.h"
#include "platform/leftover.h"
#include "platform/line_reader.h"
#include "readers/control_loader.h"
#include "readers/profile_context.h"

namespace tornvel {

// "the profile PROF.TXT", with the host path where it differs from the name as
// built: "the statement file SQLLIB\ZT5_UPD.SQL (SQLLIB/ZT5_UPD.SQL)".
std::string describeFile(std::string_view role, const std::string& nameAsBuilt);

// A file that did not open, with the system's reason; when its folder was
// found missing, that the folder must be made; when an output's folder was
// found not to be writable, that folder.
void diagnoseOpenFailure(Console& console, std::string_view role, const std::string& nameAsBuilt,
                         const Failure& failure);
// An output that did not open: the message "Unable to open file NAME for
// output." on standard output, then why.
void reportOutputOpenFailure(Console& console, std::string_view role,
                             const std::string& nameAsBuilt, const Failure& failure);
// An output refused because it is the run's input `input`: the same message,
// then which input it is.
void reportOutputIsInput(Console& console, std::string_view role, const std::string& nameAsBuilt,
                         std::string_view input);
// An output refused because it is one of the run's inputs.
void diagnoseSameFile(Console& console, std::string_view role, const std::string& nameAsBuilt,
                      std::string_view input);
// An input whose reading failed: the system's reason, or what made its UTF-16
// text invalid.
void diagnoseReadFailure(Console& console, std::string_view role, const std::string& nameAsBuilt,
                         const LineReader& input);
// An output that could not be written or take its name; `earlierKept` tells
// whether every earlier output is as it was (else diagnoseLeftover says what
// is where).
void diagnoseWriteFailure(Console& console, std::string_view role, const std::string& nameAsBuilt,
                          const Failure& failure, bool earlierKept = true);
// What a failed run could not put back, and what the operator is to do about it.
void diagnoseLeftover(Console& console, std::string_view role, const std::string& nameAsBuilt,
                      const Leftover& leftover, const std::string& target);
// Standard output that could not be written (a full disk, a closed pipe).
void diagnoseStandardOutputFailure(Console& console, const Failure& failure);
// A control file named on the command line that did not open, replaced by the
// other family's file.
void diagnoseControlFileReplaced(Console& console, const std::string& typed, const Failure& failure,
                                 const std::string& used);
// An optional advice file that did not open: the run goes on without it.
void diagnoseNoAdviceFile(Console& console, const std::string& nameAsBuilt, const Failure& failure);
// What the reading of an input showed: UTF-16 without a byte-order mark, lines
// longer than the line limit.
void diagnoseInputShape(Console& console, std::string_view role, const std::string& nameAsBuilt,
                        const LineReader& input);
// Control-file fields longer than the run keeps them (those that only build
// mode uses, in build mode only).
void diagnoseCutFields(Console& console, const std::string& controlName,
                       const std::vector<CutField>& cuts, bool buildMode);
// System-product definitions named SVCL, which take the service-class path.
void diagnoseReservedNames(Console& console, const std::string& controlName,
                           const std::vector<std::size_t>& lines);
// A control file without a definition: what a definition line looks like.
void diagnoseNoDefinitions(Console& console, const std::string& controlName);
// Profile values that are no numbers, workload rows that leave keywords out.
void diagnoseProfileFindings(Console& console, const std::string& profile,
                             const ProfileFindings& findings, const DefinitionTable& table);
// Profile names that reach no definition but would, but for letter case or
// two neighbouring letters swapped: five, then how many more.
void diagnoseNearMisses(Console& console, const std::string& profile,
                        const ProfileFindings& findings);
// Situations the profile gave two different values: five, then how many more.
void diagnoseRepeatedValues(Console& console, const std::string& profile,
                            const ProfileFindings& findings);
// A profile without bytes, or with blank lines only (it gave no value either).
void diagnoseEmptyProfile(Console& console, const std::string& profile,
                          const std::string& statementFile);
// A profile that gave no value to any definition.
void diagnoseNoThresholds(Console& console, const std::string& profile, std::string_view product,
                          const std::string& statementFile);
// A hidden copy of an earlier output that could not be removed.
void diagnoseLeftBehind(Console& console, const std::string& hostPath);
// A product argument outside the products the tool knows.
void diagnoseUnknownProduct(Console& console, std::string_view argument);
// An argument that begins with '-' and is no switch, taken as a name.
void diagnoseNoSwitch(Console& console, std::string_view argument, std::string_view takenAs);

// The last line of a --strict run that warned: how many warnings, and that
// nothing was written.
void diagnoseStrict(Console& console, bool summaryWritten = false);

// What a dry run found a real run would do: the files it would replace (or,
// for a device or pipe, write in place) with what they would hold, and the
// lines it would append.
struct DryRunPlan {
  struct Output {
    std::string name;
    std::size_t count = 0;
    const char* what = "statement";
    bool inPlace = false;
  };
  std::vector<Output> replaced;
  std::string appendedTo;
  std::size_t appendedLines = 0;
};
// The last line of a --dry-run run: what a real run would have done.
void diagnoseDryRun(Console& console, ExitCode exitCode, const DryRunPlan& plan,
                    bool summaryWritten = false);
// The summary line that could not be appended to `nameAsBuilt` (`error`, an
// errno value): whether part of it stays there, and whether the run's
// outputs were written all the same.
void diagnoseSummaryFailure(Console& console, const std::string& nameAsBuilt, int error,
                            bool partLeft, bool outputsWritten);
// The summary line not appended because `why` (the summary file is one of
// the run's own files, which it would change).
void diagnoseSummaryRefused(Console& console, const std::string& nameAsBuilt,
                            const std::string& why, bool outputsWritten);

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_DIAGNOSTICS_H_
