// The run's summary: one JSON line appended to the file of --summary, for
// scripts that migrate many profiles and want each run's result without
// reading its console text. Every member is always there, in a fixed order;
// what the run did not reach stays empty, 0 or null.
#ifndef TORNVEL_DRIVER_SUMMARY_H_
#define TORNVEL_DRIVER_SUMMARY_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/exit_code.h"
#include "driver/version.h"

namespace tornvel {

// The layout of the line; a script tests it before it reads the rest.
inline constexpr int kSummaryFormat = 1;

// What a diagnostic line on standard error is about, as the summary names it
// with a stable word (see kindWord).
enum class DiagnosticKind {
  // Warnings: counted, they make --strict end the run with 24.
  kNotASwitch,
  kControlFileReplaced,
  kUnmarkedUtf16,
  kLongLine,
  kCutField,
  kReservedName,
  kNotANumber,
  kIncompleteRow,
  kNoThresholds,
  kEmptyProfile,
  kNoAdviceFile,
  kNearMissName,
  kRepeatedValue,
  // Errors: the failures.
  kCannotOpen,
  kCannotRead,
  kCannotWrite,
  kSameFile,
  kLeftover,
  kLeftBehind,
  kStandardOutput,
  kNoDefinitions,
  kUnknownProduct,
};

std::string_view kindWord(DiagnosticKind kind);

// One line on standard error, its "tornvel: " prefix left out of `message`.
struct SummaryDiagnostic {
  std::string_view kind;            // kindWord of its DiagnosticKind
  std::optional<std::string> file;  // the file it is about, by its name as built
  std::optional<std::int64_t> line;
  std::string message;
};

// A profile name that reached no definition, with its profile line. The
// system product's columns also name their table.
struct SummaryUnhandled {
  std::string name;
  std::int64_t line = 0;
  std::optional<std::string> table;
};

// What became of an output file.
enum class OutputFate {
  kReplaced,   // an earlier file gave way to the new one
  kCreated,    // there was none before
  kAppended,   // the run's lines were added at its end
  kWritten,    // a device or pipe, written in place
  kUnchanged,  // a dry run, a --strict run that warned, or a failed run
};

std::string_view fateWord(OutputFate fate);

struct SummaryOutput {
  std::string name;       // as built, back-slashes and all
  std::string path;       // the host path it is written under
  std::int64_t size = 0;  // bytes of this run's text for it, written or not
  OutputFate fate = OutputFate::kUnchanged;
};

struct SummaryCounts {
  std::int64_t definitions = 0;     // in the table after the profile, service classes included
  std::int64_t thresholds = 0;      // definitions the profile gave a threshold or a service class
  std::int64_t statements = 0;      // in the statement file
  std::int64_t templateRows = 0;    // in the template seed file
  std::int64_t thresholdLines = 0;  // appended to the threshold file, or that would be: 0, 2 or 3
  std::int64_t unhandled = 0;       // profile names that reached no definition, all of them
};

struct RunSummary {
  std::string version = kProgramVersion;
  std::string profile;      // as typed
  std::string product;      // new-family form: T5, R5, W5, Y5 (upper-cased as typed otherwise)
  std::string productCode;  // legacy-family code: ZTQ, ZR5, ...
  std::string fileCode;     // new-family code: ZT5, ZR5, ...
  std::optional<std::string> control;  // the control file that opened
  std::string statementFile;           // as built (build mode: with INS)
  ExitCode exitCode = ExitCode::kCompleted;
  bool dryRun = false;
  bool strict = false;
  SummaryCounts counts;
  std::vector<SummaryUnhandled> unhandled;
  std::vector<SummaryDiagnostic> warnings;  // in the order printed
  std::vector<SummaryDiagnostic> errors;
  std::vector<SummaryOutput> outputs;
};

// The summary as one JSON object on one line, "\n" at its end. Texts that are
// not valid UTF-8 carry U+FFFD for their bad bytes.
std::string summaryLine(const RunSummary& summary);

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_SUMMARY_H_
