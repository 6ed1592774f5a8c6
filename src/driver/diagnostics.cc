#include "driver/diagnostics.h"

#include <cerrno>
#include <cstring>

#include "platform/file_names.h"
#include "platform/host_files.h"

namespace tornvel {

namespace {

std::string reason(int error) {
  return error != 0 ? std::string(std::strerror(error)) : std::string("unknown reason");
}

}  // namespace

std::string describeFile(std::string_view role, const std::string& nameAsBuilt) {
  std::string text = std::string(role) + " " + nameAsBuilt;
  const std::string path = hostPath(nameAsBuilt);
  if (path != nameAsBuilt) text += " (" + path + ")";
  return text;
}

void diagnoseOpenFailure(Console& console, std::string_view role, const std::string& nameAsBuilt,
                         int error) {
  std::string text = "cannot open " + describeFile(role, nameAsBuilt) + ": " + reason(error);
  const std::string folder = folderOf(hostPath(nameAsBuilt));
  if (error == ENOENT && !folder.empty() && !host::statusOf(folder).exists) {
    text += "; the folder " + folder + " must exist (mkdir " + folder + ")";
  }
  console.diagnose(text);
}

void diagnoseSameFile(Console& console, std::string_view role, const std::string& nameAsBuilt,
                      std::string_view input) {
  console.diagnose("cannot write " + describeFile(role, nameAsBuilt) + ": it is the same file as " +
                   std::string(input));
}

void diagnoseReadFailure(Console& console, std::string_view role, const std::string& nameAsBuilt,
                         int error) {
  console.diagnose("cannot read " + describeFile(role, nameAsBuilt) + ": " + reason(error) +
                   "; nothing was written");
}

void diagnoseWriteFailure(Console& console, std::string_view role, const std::string& nameAsBuilt,
                          int error, bool earlierKept) {
  console.diagnose("cannot write " + describeFile(role, nameAsBuilt) + ": " + reason(error) +
                   (earlierKept ? "; the earlier outputs are kept"
                                : "; not every earlier output could be put back"));
}

void diagnoseLeftover(Console& console, std::string_view role, const std::string& nameAsBuilt,
                      const Leftover& leftover, const std::string& target) {
  // "the statement file" becomes "the earlier statement file".
  const std::string noun(role.substr(role.find(' ') + 1));
  if (!leftover.earlierAt.empty()) {
    console.diagnose("the earlier " + noun + " is kept as " + leftover.earlierAt +
                     "; rename it to " + target);
  }
  if (leftover.newStays) {
    console.diagnose("the new " + noun + " " + target +
                     " could not be removed (there was none before this run); delete it");
  }
  const std::string at = std::to_string(leftover.appendedAt);
  if (leftover.cutUnconfirmed) {
    console.diagnose(std::string(role) + " " + nameAsBuilt + " was cut back to " + at +
                     " bytes, but the system did not confirm that the cut reached the disk; "
                     "check that it holds " +
                     at + " bytes");
  } else if (leftover.appendedAt >= 0) {
    const std::string kept = std::string(role) + " " + nameAsBuilt + " keeps the " +
                             std::to_string(leftover.appendedSize) +
                             " bytes this run appended after byte " + at;
    console.diagnose(leftover.othersAfter
                         ? kept +
                               ", and another run's lines follow them; take this run's "
                               "lines out by hand"
                         : kept + "; cut it back to " + at + " bytes");
  }
}

void diagnoseStandardOutputFailure(Console& console, int error) {
  console.diagnose("cannot write standard output: " + reason(error) +
                   "; the earlier outputs are kept");
}

void diagnoseControlFileReplaced(Console& console, const std::string& typed, int error,
                                 const std::string& used) {
  console.diagnose("the control file " + typed + " did not open (" + reason(error) +
                   "); the run reads " + used + " instead");
}

void diagnoseNoAdviceFile(Console& console, const std::string& nameAsBuilt, int error) {
  console.diagnose("no advice file " + nameAsBuilt + " (" + reason(error) +
                   "): the situations get no texts or parameters from it");
}

void diagnoseInputShape(Console& console, std::string_view role, const std::string& nameAsBuilt,
                        const LineReader& input) {
  using Mark = LineReader::ByteOrderMark;
  if (input.byteOrderMark() == Mark::kUtf16LittleEndian ||
      input.byteOrderMark() == Mark::kUtf16BigEndian) {
    const char* encoding =
        input.byteOrderMark() == Mark::kUtf16LittleEndian ? "UTF-16LE" : "UTF-16BE";
    console.diagnose(std::string(role) + " " + nameAsBuilt + " is in " + encoding +
                     ", which is read as bytes; save it as ASCII or UTF-8");
  }
  for (const LineReader::CutLine& line : input.overlongLines()) {
    console.diagnose(nameAsBuilt + " line " + std::to_string(line.number) + " is longer than " +
                     std::to_string(line.limit) +
                     " characters; the rest of it is read as the next line");
  }
  const std::size_t more = input.overlongLineCount() - input.overlongLines().size();
  if (more > 0) {
    console.diagnose(nameAsBuilt + ": " + std::to_string(more) + " more line" +
                     (more == 1 ? " was" : "s were") +
                     " longer than the line limit and read as two or more lines");
  }
}

void diagnoseNoThresholds(Console& console, const std::string& profile, std::string_view product,
                          const std::string& statementFile) {
  console.diagnose("no line of the profile " + profile + " gave a threshold to a definition of " +
                   std::string(product) + ", so the statement file " + statementFile +
                   " holds no statement; the profile may belong to another product");
}

void diagnoseLeftBehind(Console& console, const std::string& hostPath) {
  console.diagnose("the hidden copy " + hostPath +
                   " of an earlier output could not be removed; it may be deleted");
}

void diagnoseUnknownProduct(Console& console, std::string_view argument) {
  console.diagnose(std::string(argument) +
                   " is not a product code; the products are R5, T5, W5 and Y5 "
                   "(TQ, WQ and YQ are the legacy forms of T5, W5 and Y5)");
}

void diagnoseNoSwitch(Console& console, std::string_view argument, std::string_view takenAs) {
  console.diagnose(std::string(argument) +
                   " is not a switch (-v, -nw, -d, -dh, -bd, -?, --help, --version); it is "
                   "taken as the " +
                   std::string(takenAs));
}

}  // namespace tornvel
