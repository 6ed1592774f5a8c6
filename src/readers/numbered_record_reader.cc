// The transaction product's profile: numbered records, each typed by its first
// character. A keyword record ("4") announces what the next value record ("5")
// holds: an exception name, a warning or a critical threshold.
//
//   4THR_NAME
//   5   ABC1        <- the name follows three characters of its own
//   4THR_WARN
//   580.00          <- a value ends at the first "." (80)
//   4THR_CRIT
//   595.
//
// A warning and a critical are applied together, to the name read last, once
// both are held.
#include "readers/numbered_record_reader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/text.h"
#include "readers/repeated_values.h"

namespace tornvel {

namespace {

constexpr Delimiters kKeywordDelimiters(" \n");
// A value may hold blanks; only a point or the line end ends it.
constexpr Delimiters kValueDelimiters(".\n");

// The characters a value record carries before the exception name itself.
constexpr std::size_t kNamePrefixLength = 3;
// The longest name or value the reader holds; the rest is dropped.
constexpr std::size_t kHeldTextLimit = 39;

struct RecordState {
  bool nameExpected = false;
  bool warningExpected = false;
  bool criticalExpected = false;
  bool warningHeld = false;
  bool criticalHeld = false;
  std::string name;
  std::string warning;
  std::string critical;
  std::size_t nameLine = 0;  // where the held name and each held value were read
  std::size_t warningLine = 0;
  std::size_t criticalLine = 0;
  bool nameLooked = false;  // the held name was looked at for a near miss
};

void readKeywordRecord(RecordState& state, std::string_view rest) {
  Tokenizer tokens(rest);
  std::optional<std::string_view> keyword = tokens.next(kKeywordDelimiters);
  if (!keyword) {
    // Forgets the values held so far, not what is expected next.
    state.warningHeld = false;
    state.criticalHeld = false;
  } else if (*keyword == "THR_NAME") {
    state.nameExpected = true;
  } else if (*keyword == "THR_WARN") {
    state.warningExpected = true;
  } else if (*keyword == "THR_CRIT") {
    state.criticalExpected = true;
  }
}

// Returns true when the record stored something.
bool readValueRecord(RecordState& state, std::string_view rest, std::size_t line) {
  Tokenizer tokens(rest);
  std::optional<std::string_view> value = tokens.next(kValueDelimiters);
  if (!value) {
    // Forgets everything but the held name and texts.
    state.nameExpected = state.warningExpected = state.criticalExpected = false;
    state.warningHeld = state.criticalHeld = false;
    return false;
  }
  if (state.nameExpected) {
    // A value too short to carry a name gives an empty name.
    std::string_view name =
        value->size() > kNamePrefixLength ? value->substr(kNamePrefixLength) : std::string_view();
    state.name.assign(name.substr(0, kHeldTextLimit));
    state.nameLine = line;
    state.nameLooked = false;
    state.nameExpected = false;
  } else if (state.warningExpected) {
    state.warning.assign(value->substr(0, kHeldTextLimit));
    state.warningLine = line;
    state.warningExpected = false;
    state.warningHeld = true;
  } else if (state.criticalExpected) {
    state.critical.assign(value->substr(0, kHeldTextLimit));
    state.criticalLine = line;
    state.criticalExpected = false;
    state.criticalHeld = true;
  } else {
    return false;
  }
  return true;
}

// An unmatched name is noted at the line it stands on (before any name was
// read, at the line that completed the pair), with every pair applied to it,
// as a verbose run lists it; whether it nearly reaches a definition is told
// once.
void applyHeldValues(RecordState& state, ProfileContext& context, std::size_t line) {
  if (ExceptionDefinition* definition = context.table.findFirst(state.name)) {
    definition->setWarningFromProfile(state.warning, state.warningLine);
    definition->setCriticalFromProfile(state.critical, state.criticalLine);
  } else {
    const std::size_t nameLine = state.nameLine != 0 ? state.nameLine : line;
    if (context.keepUnhandled) context.findings.noteUnhandled(state.name, nameLine);
    if (!std::exchange(state.nameLooked, true)) context.noteNearMiss(state.name, nameLine);
    if (context.verbose) context.unhandled.add(state.name, state.warning, state.critical);
  }
  state.warningHeld = false;
  state.criticalHeld = false;
}

}  // namespace

void readNumberedRecords(ProfileContext& context) {
  RecordState state;
  std::string_view line;
  while (context.profile.readLineView(line)) {
    if (line.empty()) continue;
    std::string_view rest = line.substr(1);
    if (line.front() == '4') {
      readKeywordRecord(state, rest);
    } else if (line.front() == '5') {
      const std::size_t number = context.profile.lineNumber();
      if (readValueRecord(state, rest, number) && state.warningHeld && state.criticalHeld) {
        applyHeldValues(state, context, number);
      }
    }
  }

  noteRepeatedValues(context.table, context.findings);
  if (context.verbose) context.unhandled.print(context.console);
}

}  // namespace tornvel
