#include "driver/diagnostics.h"

#include <algorithm>
#include <array>
#include <vector>

#include "driver/summary.h"
#include "platform/file_names.h"
#include "platform/host_files.h"
#include "platform/text.h"
#include "readers/service_class_keywords.h"

namespace tornvel {

namespace {

using K = DiagnosticKind;

std::string reason(int error) {
  return error != 0 ? host::errorText(error) : std::string("unknown reason");
}

template <typename Words>
std::string joined(const Words& words) {
  std::string text;
  for (std::string_view word : words) {
    if (!text.empty()) text += ", ";
    text += word;
  }
  return text;
}

// What the keywords a workload row leaves out do to its situations: the class,
// period and index thresholds are compared as empty texts, a resource's
// warning or critical threshold is off.
std::string consequences(const std::vector<std::string_view>& missing) {
  const auto lacks = [&missing](const ServiceClassKeyword& keyword) {
    return std::find(missing.begin(), missing.end(), keyword.word) != missing.end();
  };
  std::vector<std::string> parts;
  for (const ServiceClassKeyword& keyword : kServiceClassKeywords) {
    if (keyword.fills == RowText::kClassName && lacks(keyword)) {
      parts.emplace_back("its situations compare the class with an empty name");
    } else if (keyword.fills == RowText::kPeriod && lacks(keyword)) {
      parts.emplace_back("its situations compare the period with an empty value");
    }
  }
  constexpr std::array<const char*, kResourceKinds.size()> kResourceNames{"index", "I/O", "storage",
                                                                          "CPU"};
  for (ResourceKind kind : kResourceKinds) {
    const ServiceClassKeyword& warningKeyword = thresholdKeyword(kind, Severity::kWarning);
    const bool warning = lacks(warningKeyword);
    const bool critical = lacks(thresholdKeyword(kind, Severity::kCritical));
    if (!warning && !critical) continue;
    const std::string its = std::string("its ") + kResourceNames[static_cast<std::size_t>(kind)];
    if (!warningKeyword.offWhenLeftOut) {
      parts.push_back(its + " situations compare with an empty value");
    } else if (warning && critical) {
      parts.push_back(its + " warning and critical are off");
    } else {
      parts.push_back(its + (warning ? " warning" : " critical") + " is off");
    }
  }
  return joined(parts);
}

// Equal but for ASCII letter case.
bool foldedEqual(std::string a, std::string b) {
  upperCaseInPlace(a);
  upperCaseInPlace(b);
  return a == b;
}

}  // namespace

std::string describeFile(std::string_view role, const std::string& nameAsBuilt) {
  std::string text = std::string(role) + " " + nameAsBuilt;
  const std::string path = hostPath(nameAsBuilt);
  if (path != nameAsBuilt) text += " (" + path + ")";
  return text;
}

// What the folder was found to be is the run's finding at the failure; the
// folder's name is the one of the name as built.
void diagnoseOpenFailure(Console& console, std::string_view role, const std::string& nameAsBuilt,
                         const Failure& failure) {
  std::string text =
      "cannot open " + describeFile(role, nameAsBuilt) + ": " + reason(failure.error);
  const std::string folder = folderOf(hostPath(nameAsBuilt));
  if (failure.folder == FolderFinding::kMissing) {
    text += "; the folder " + folder + " must exist (mkdir " + folder + ")";
  } else if (failure.folder == FolderFinding::kNotWritable) {
    text += folder.empty() ? "; the current folder cannot be written"
                           : "; the folder " + folder + " cannot be written";
  }
  console.diagnose(kindWord(K::kCannotOpen), text, nameAsBuilt);
}

void reportOutputOpenFailure(Console& console, std::string_view role,
                             const std::string& nameAsBuilt, const Failure& failure) {
  console.print("Unable to open file " + nameAsBuilt + " for output.\n");
  diagnoseOpenFailure(console, role, nameAsBuilt, failure);
}

void reportOutputIsInput(Console& console, std::string_view role, const std::string& nameAsBuilt,
                         std::string_view input) {
  console.print("Unable to open file " + nameAsBuilt + " for output.\n");
  diagnoseSameFile(console, role, nameAsBuilt, input);
}

void diagnoseSameFile(Console& console, std::string_view role, const std::string& nameAsBuilt,
                      std::string_view input) {
  console.diagnose(kindWord(K::kSameFile),
                   "cannot write " + describeFile(role, nameAsBuilt) + ": it is the same file as " +
                       std::string(input),
                   nameAsBuilt);
}

void diagnoseReadFailure(Console& console, std::string_view role, const std::string& nameAsBuilt,
                         const LineReader& input) {
  std::string why = reason(input.readFailure() ? input.readFailure()->error : 0);
  if (!input.decodeProblem().empty()) {
    const bool little = input.byteOrderMark() == LineReader::ByteOrderMark::kUtf16LittleEndian;
    why = std::string("it is not UTF-16") + (little ? "LE" : "BE") + " to its end (" +
          input.decodeProblem() + ")";
  }
  console.diagnose(
      kindWord(K::kCannotRead),
      "cannot read " + describeFile(role, nameAsBuilt) + ": " + why + "; nothing was written",
      nameAsBuilt);
}

void diagnoseWriteFailure(Console& console, std::string_view role, const std::string& nameAsBuilt,
                          const Failure& failure, bool earlierKept) {
  console.diagnose(kindWord(K::kCannotWrite),
                   "cannot write " + describeFile(role, nameAsBuilt) + ": " +
                       reason(failure.error) +
                       (earlierKept ? "; the earlier outputs are kept"
                                    : "; not every earlier output could be put back"),
                   nameAsBuilt);
}

void diagnoseLeftover(Console& console, std::string_view role, const std::string& nameAsBuilt,
                      const Leftover& leftover, const std::string& target) {
  // "the statement file" becomes "the earlier statement file".
  const std::string noun(role.substr(role.find(' ') + 1));
  if (!leftover.earlierAt.empty()) {
    console.diagnose(
        kindWord(K::kLeftover),
        "the earlier " + noun + " is kept as " + leftover.earlierAt + "; rename it to " + target,
        nameAsBuilt);
  }
  if (leftover.newStays) {
    console.diagnose(kindWord(K::kLeftover),
                     "the new " + noun + " " + target +
                         " could not be removed (there was none before this run); delete it",
                     nameAsBuilt);
  }
  const std::string at = std::to_string(leftover.appendedAt);
  if (leftover.cutUnconfirmed) {
    console.diagnose(kindWord(K::kLeftover),
                     std::string(role) + " " + nameAsBuilt + " was cut back to " + at +
                         " bytes, but the system did not confirm that the cut reached the disk; "
                         "check that it holds " +
                         at + " bytes",
                     nameAsBuilt);
  } else if (leftover.appendedAt >= 0) {
    const std::string kept = std::string(role) + " " + nameAsBuilt + " keeps the " +
                             std::to_string(leftover.appendedSize) +
                             " bytes this run appended after byte " + at;
    console.diagnose(kindWord(K::kLeftover),
                     leftover.othersAfter
                         ? kept +
                               ", and another run's lines follow them; take this run's "
                               "lines out by hand"
                         : kept + "; cut it back to " + at + " bytes",
                     nameAsBuilt);
  }
}

void diagnoseStandardOutputFailure(Console& console, const Failure& failure) {
  console.diagnose(
      kindWord(K::kStandardOutput),
      "cannot write standard output: " + reason(failure.error) + "; the earlier outputs are kept");
}

void diagnoseControlFileReplaced(Console& console, const std::string& typed, const Failure& failure,
                                 const std::string& used) {
  console.warn(kindWord(K::kControlFileReplaced),
               "the control file " + typed + " did not open (" + reason(failure.error) +
                   "); the run reads " + used + " instead",
               typed);
}

void diagnoseNoAdviceFile(Console& console, const std::string& nameAsBuilt,
                          const Failure& failure) {
  console.warn(kindWord(K::kNoAdviceFile),
               "no advice file " + nameAsBuilt + " (" + reason(failure.error) +
                   "): the situations get no texts or parameters from it",
               nameAsBuilt);
}

void diagnoseInputShape(Console& console, std::string_view role, const std::string& nameAsBuilt,
                        const LineReader& input) {
  using Unmarked = LineReader::UnmarkedUtf16;
  if (input.unmarkedUtf16() != Unmarked::kNone) {
    const char* encoding =
        input.unmarkedUtf16() == Unmarked::kLittleEndian ? "UTF-16LE" : "UTF-16BE";
    console.warn(kindWord(K::kUnmarkedUtf16),
                 std::string(role) + " " + nameAsBuilt + " looks like " + encoding +
                     " without a byte-order mark, and is read as bytes; save it as UTF-8, or as "
                     "UTF-16 with a byte-order mark",
                 nameAsBuilt);
  }
  for (const LineReader::CutLine& line : input.overlongLines()) {
    console.warn(kindWord(K::kLongLine),
                 nameAsBuilt + " line " + std::to_string(line.number) + " is longer than " +
                     std::to_string(line.limit) +
                     " characters; the rest of it is read as the next line",
                 nameAsBuilt, line.number);
  }
  const std::size_t more = input.overlongLineCount() - input.overlongLines().size();
  if (more > 0) {
    console.warn(kindWord(K::kLongLine),
                 nameAsBuilt + ": " + std::to_string(more) + " more line" +
                     (more == 1 ? " was" : "s were") +
                     " longer than the line limit and read as two or more lines",
                 nameAsBuilt);
  }
}

void diagnoseCutFields(Console& console, const std::string& controlName,
                       const std::vector<CutField>& cuts, bool buildMode) {
  for (const CutField& cut : cuts) {
    if (cut.buildModeOnly && !buildMode) continue;
    console.warn(kindWord(K::kCutField),
                 controlName + " line " + std::to_string(cut.line) + ": the " +
                     std::string(cut.what) + " " + cut.given + " is longer than " +
                     std::to_string(cut.kept) + " characters; it is kept as " +
                     cut.given.substr(0, cut.kept),
                 controlName, cut.line);
  }
}

void diagnoseReservedNames(Console& console, const std::string& controlName,
                           const std::vector<std::size_t>& lines) {
  for (std::size_t line : lines) {
    console.warn(kindWord(K::kReservedName),
                 controlName + " line " + std::to_string(line) + ": " +
                     std::string(kServiceClassName) +
                     " is the name of the service classes' definitions; this one writes "
                     "service-class situations with an empty class and period, not statements of "
                     "its own",
                 controlName, line);
  }
}

void diagnoseNoDefinitions(Console& console, const std::string& controlName) {
  console.diagnose(kindWord(K::kNoDefinitions),
                   "the control file " + controlName +
                       " holds no definition line; a definition is an exception name and an "
                       "attribute, then optional fields, such as LOCKWAIT,DBLOCKS.WAITTIME,I "
                       "(see man 5 tornvel)",
                   controlName);
}

void diagnoseProfileFindings(Console& console, const std::string& profile,
                             const ProfileFindings& findings, const DefinitionTable& table) {
  constexpr std::size_t kShown = 5;
  std::size_t notNumbers = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ExceptionDefinition& definition = table.at(i);
    for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
      const std::string_view value = definition.nonNumberValue(severity);
      if (value.empty() || ++notNumbers > kShown) continue;
      // A definition that normalises its values compares with the normalised text.
      const Condition& condition = definition.condition(severity);
      console.warn(
          kindWord(K::kNotANumber),
          profile + " line " + std::to_string(condition.line) + ": " + definition.name() +
              (severity == Severity::kWarning ? " warning" : " critical") + " value " +
              std::string(value) + " is not a number; the statement compares with " +
              (value == condition.value ? std::string("it as it stands") : condition.value),
          profile, condition.line);
    }
  }
  if (notNumbers > kShown) {
    const std::size_t more = notNumbers - kShown;
    console.warn(kindWord(K::kNotANumber),
                 profile + ": " + std::to_string(more) + " more value" +
                     (more == 1 ? " was" : "s were") + " not a number",
                 profile);
  }
  for (const ProfileFindings::IncompleteRow& row : findings.incompleteRows) {
    console.warn(kindWord(K::kIncompleteRow),
                 profile + ": service class " + row.serviceClass + " period " + row.period +
                     " gives no " + joined(row.missing) + "; " + consequences(row.missing),
                 profile);
  }
}

void diagnoseNearMisses(Console& console, const std::string& profile,
                        const ProfileFindings& findings) {
  for (const ProfileFindings::NearMiss& miss : findings.nearMisses) {
    const bool byCase = foldedEqual(miss.name, miss.reaches);
    console.warn(kindWord(K::kNearMissName),
                 profile + " line " + std::to_string(miss.line) + ": " + miss.name +
                     " reaches no definition, but would reach " + miss.reaches +
                     (byCase ? " in other letter case" : " with two neighbouring letters swapped") +
                     "; names compare exactly, so its values are not migrated",
                 profile, miss.line);
  }
  const std::size_t more = findings.nearMissTotal - findings.nearMisses.size();
  if (more > 0) {
    console.warn(kindWord(K::kNearMissName),
                 profile + ": " + std::to_string(more) +
                     (more == 1 ? " more name nearly reaches" : " more names nearly reach") +
                     " a definition",
                 profile);
  }
}

void diagnoseRepeatedValues(Console& console, const std::string& profile,
                            const ProfileFindings& findings) {
  constexpr std::size_t kShown = 5;
  const std::vector<ProfileFindings::RepeatedValue>& repeated = findings.repeatedValues;
  for (std::size_t i = 0; i < std::min(repeated.size(), kShown); ++i) {
    const ProfileFindings::RepeatedValue& value = repeated[i];
    // The pieces of a line longer than the line limit share its number.
    const std::string lines = value.earlier.line == value.later.line
                                  ? " line " + std::to_string(value.later.line)
                                  : " lines " + std::to_string(value.earlier.line) + " and " +
                                        std::to_string(value.later.line);
    console.warn(kindWord(K::kRepeatedValue),
                 profile + lines + ": " + value.name +
                     (value.severity == Severity::kWarning ? " warning" : " critical") + " value " +
                     value.earlier.text + ", then " + value.later.text + "; the statement uses " +
                     value.used,
                 profile, value.later.line);
  }
  if (repeated.size() > kShown) {
    const std::size_t more = repeated.size() - kShown;
    console.warn(kindWord(K::kRepeatedValue),
                 profile + ": " + std::to_string(more) + " more value" +
                     (more == 1 ? " was" : "s were") + " given twice",
                 profile);
  }
}

void diagnoseEmptyProfile(Console& console, const std::string& profile,
                          const std::string& statementFile) {
  console.warn(kindWord(K::kEmptyProfile),
               "the profile " + profile +
                   " is empty (no bytes, or blank lines only), so the statement file " +
                   statementFile + " holds no statement",
               profile);
}

void diagnoseNoThresholds(Console& console, const std::string& profile, std::string_view product,
                          const std::string& statementFile) {
  console.warn(kindWord(K::kNoThresholds),
               "no line of the profile " + profile + " gave a threshold to a definition of " +
                   std::string(product) + ", so the statement file " + statementFile +
                   " holds no statement; the profile may belong to another product",
               profile);
}

void diagnoseLeftBehind(Console& console, const std::string& hostPath) {
  console.diagnose(kindWord(K::kLeftBehind),
                   "the hidden copy " + hostPath +
                       " of an earlier output could not be removed; it may be deleted");
}

void diagnoseUnknownProduct(Console& console, std::string_view argument) {
  console.diagnose(kindWord(K::kUnknownProduct),
                   std::string(argument) +
                       " is not a product code; the products are R5, T5, W5 and Y5 "
                       "(TQ, WQ and YQ are the legacy forms of T5, W5 and Y5)");
}

void diagnoseNoSwitch(Console& console, std::string_view argument, std::string_view takenAs) {
  console.warn(kindWord(K::kNotASwitch),
               std::string(argument) +
                   " is not a switch (-v, -nw, -d, -dh, -bd, -?, --dry-run, --strict, --summary, "
                   "--help, --version); it is taken as the " +
                   std::string(takenAs));
}

namespace {

// How a run that writes no output ends its last line.
std::string_view nothingWritten(bool summaryWritten) {
  return summaryWritten ? "; nothing was written but the summary line" : "; nothing was written";
}

}  // namespace

void diagnoseStrict(Console& console, bool summaryWritten) {
  const int count = console.warnings();
  console.note("--strict: " + std::to_string(count) + " warning" + (count == 1 ? "" : "s") +
               std::string(nothingWritten(summaryWritten)));
}

void diagnoseDryRun(Console& console, ExitCode exitCode, const DryRunPlan& plan,
                    bool summaryWritten) {
  if (exitCode != ExitCode::kCompleted) {
    console.note("dry run: a real run would end with " +
                 std::to_string(static_cast<int>(exitCode)) +
                 std::string(nothingWritten(summaryWritten)));
    return;
  }
  std::string text = "dry run: would ";
  const auto count = [](std::size_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
  };
  // "replace A (...) and B (...)"; the verb is said again only where it changes.
  for (std::size_t i = 0; i < plan.replaced.size(); ++i) {
    const DryRunPlan::Output& output = plan.replaced[i];
    if (i > 0) text += " and ";
    if (i == 0 || output.inPlace != plan.replaced[i - 1].inPlace) {
      text += output.inPlace ? "write " : "replace ";
    }
    text += output.name + " (" + count(output.count, output.what) + ")";
  }
  if (plan.appendedLines > 0) {
    text += " and append " + count(plan.appendedLines, "line") + " to " + plan.appendedTo;
  }
  console.note(text + std::string(nothingWritten(summaryWritten)));
}

void diagnoseSummaryFailure(Console& console, const std::string& nameAsBuilt, int error,
                            bool partLeft, bool outputsWritten) {
  diagnoseSummaryRefused(
      console, nameAsBuilt,
      reason(error) + (partLeft ? " (a part of the line may stand at its end)" : ""),
      outputsWritten);
}

void diagnoseSummaryRefused(Console& console, const std::string& nameAsBuilt,
                            const std::string& why, bool outputsWritten) {
  console.note("cannot append the summary line to " +
               describeFile("the summary file", nameAsBuilt) + ": " + why +
               (outputsWritten ? "; the run's outputs were written"
                               : "; the run's outputs were not written"));
}

}  // namespace tornvel
