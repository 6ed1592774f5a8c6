// What every profile reader works with and what it finds. There is one reader
// per exported-profile format, each in a header of its own; each stores the
// thresholds it finds in the definitions of the same name.
#ifndef TORNVEL_READERS_PROFILE_CONTEXT_H_
#define TORNVEL_READERS_PROFILE_CONTEXT_H_

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
  // A workload row that leaves out keywords (ServiceClassRow::missing).
  struct IncompleteRow {
    std::string serviceClass;
    std::string period;
    std::vector<std::string_view> missing;
  };
  std::vector<IncompleteRow> incompleteRows;
  // Profile names that reached no definition (the first ones), and how many.
  struct Unhandled {
    std::string name;
    std::size_t line = 0;
    std::string table;  // the system product's columns name their table
  };
  std::vector<Unhandled> unhandled;
  std::size_t unhandledCount = 0;
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

}  // namespace tornvel

#endif  // TORNVEL_READERS_PROFILE_CONTEXT_H_
