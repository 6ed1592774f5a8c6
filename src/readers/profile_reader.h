// The profile readers, one per exported-profile format. Each reads the open
// profile to its end and stores the thresholds it finds in the definitions of
// the same name; the sectioned reader also appends service-class definitions.
#ifndef TORNVEL_READERS_PROFILE_READER_H_
#define TORNVEL_READERS_PROFILE_READER_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/definition_table.h"
#include "definitions/synonym_group.h"
#include "platform/console.h"
#include "platform/line_reader.h"
#include "readers/profile_reports.h"

namespace tornvel {

// What a profile holds that points at a likely mistake, for the run to tell.
struct ProfileFindings {
  // A value that a definition of numbers took as it stands, though it is no
  // number (`CPU ON 5` written the wrong way round).
  struct NotANumber {
    std::size_t line = 0;
    std::string name;
    Severity severity = Severity::kWarning;
    std::string value;
  };
  std::vector<NotANumber> notNumbers;
  // A workload row that leaves out keywords (in the row's keyword order).
  struct IncompleteRow {
    std::string serviceClass;
    std::string period;
    std::vector<std::string_view> missing;
  };
  std::vector<IncompleteRow> incompleteRows;
};

// What a reader works with; the run owns all of it.
struct ProfileContext {
  LineReader& profile;
  DefinitionTable& table;
  Console& console;
  UnhandledList& unhandled;
  SynonymList& synonyms;
  std::string currentRelease;
  bool verbose = false;
  ProfileFindings findings;
  ProfileInformationTable information;  // verbose runs' rows of applied thresholds
};

// Hands a profile text of line `line` to a definition's warning or critical,
// and notes it when the definition takes it as a number though it is none.
template <typename Text>
void giveValue(ProfileContext& context, ExceptionDefinition& definition, Severity severity,
               Text& text, std::size_t line) {
  std::string suspect;
  if (definition.takesNumbers() && !isNumberText(text)) suspect = text;
  const bool stored = severity == Severity::kWarning ? definition.setWarningFromProfile(text)
                                                     : definition.setCriticalFromProfile(text);
  if (stored && !suspect.empty()) {
    context.findings.notNumbers.push_back({line, definition.name(), severity, std::move(suspect)});
  }
}

// Database product: one exception per line with its warning and critical.
void readPlainList(ProfileContext& context);
// Transaction product: numbered keyword and value records.
void readNumberedRecords(ProfileContext& context);
// IMS product: threshold statements, with synonym groups folded in afterwards.
void readThresholdStatements(ProfileContext& context);
// System product: nested sections, tables and rows; workload rows become
// service-class definitions.
void readSectionedProfile(ProfileContext& context);

}  // namespace tornvel

#endif  // TORNVEL_READERS_PROFILE_READER_H_
