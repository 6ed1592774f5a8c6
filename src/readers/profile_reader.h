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

// What a profile holds that points at a likely mistake, for the run to tell
// (values that are no number the definitions themselves tell).
struct ProfileFindings {
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
