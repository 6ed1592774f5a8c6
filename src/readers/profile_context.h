// What every profile reader works with and what it finds. There is one reader
// per exported-profile format, each in a header of its own; each stores the
// thresholds it finds in the definitions of the same name.
#ifndef TORNVEL_READERS_PROFILE_CONTEXT_H_
#define TORNVEL_READERS_PROFILE_CONTEXT_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/definition_table.h"
#include "definitions/exception_definition.h"
#include "definitions/near_miss.h"
#include "definitions/synonym_group.h"
#include "platform/console.h"
#include "platform/line_reader.h"
#include "readers/profile_reports.h"

namespace tornvel {

// What a profile holds that points at a likely mistake, for the run to tell
// (values that are no number the definitions themselves tell), and the names
// that reached no definition, for the run's summary. The lists that grow with
// the profile stop at a few entries and count the rest, so that a profile of
// millions of lines keeps memory flat.
struct ProfileFindings {
  // A workload row that leaves out keywords (ServiceClassRow::missing).
  struct IncompleteRow {
    std::string serviceClass;
    std::string period;
    std::vector<std::string_view> missing;
  };
  std::vector<IncompleteRow> incompleteRows;

  // A profile name that reached no definition: the lines a verbose run lists
  // as not handled. For the system product the column token, as the verbose
  // tally shows it, with its table.
  struct UnhandledName {
    std::string name;
    std::size_t line = 0;  // 0 for a synonym group's combined values
    std::optional<std::string> table;
  };
  static constexpr std::size_t kUnhandledKept = 512;
  std::vector<UnhandledName> unhandled;  // the first kUnhandledKept, in profile order
  std::size_t unhandledTotal = 0;        // all of them

  // An unhandled name that nearly is one that a profile line reaches
  // (NearMissIndex): mistyped, most likely.
  struct NearMiss {
    std::string name;
    std::string reaches;
    std::size_t line = 0;
  };
  static constexpr std::size_t kNearMissesKept = 5;  // as many as are told one by one
  std::vector<NearMiss> nearMisses;
  std::size_t nearMissTotal = 0;

  // A situation given two different values: the first, the first one that
  // differs from it (GivenTexts), and the value its statement uses (the one
  // stored last, normalised).
  struct RepeatedValue {
    std::string name;
    Severity severity = Severity::kWarning;
    GivenTexts::Given earlier;
    GivenTexts::Given later;
    std::string used;
  };
  std::vector<RepeatedValue> repeatedValues;  // in table order, at most two per definition

  void noteUnhandled(std::string_view name, std::size_t line,
                     std::optional<std::string_view> table = std::nullopt) {
    if (unhandled.size() < kUnhandledKept) {
      unhandled.push_back(
          {std::string(name), line, table ? std::optional<std::string>(*table) : std::nullopt});
    }
    ++unhandledTotal;
  }
  void noteNearMiss(std::string_view name, std::string_view reaches, std::size_t line) {
    if (nearMisses.size() < kNearMissesKept) {
      nearMisses.push_back({std::string(name), std::string(reaches), line});
    }
    ++nearMissTotal;
  }
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
  // The names a profile line can reach, built by the run once the control
  // file is loaded; empty, it finds no near miss.
  NearMissIndex nearMisses;
  // Whether the names that reach no definition are kept in `findings` (for
  // the run's summary); near misses are told in every run.
  bool keepUnhandled = false;

  // Whether the line of a name that reached no definition is worth a look
  // beyond its name: when unhandled names are kept or listed, or when the
  // name nearly reaches one. Most such names are turned away at once
  // (NearMissIndex::nearMiss).
  bool unhandledLineMatters(std::string_view name) const {
    return keepUnhandled || verbose || nearMisses.nearMiss(name).has_value();
  }
  // A profile name at `line` that reached no definition.
  void noteUnhandled(std::string_view name, std::size_t line) {
    if (keepUnhandled) findings.noteUnhandled(name, line);
    noteNearMiss(name, line);
  }
  void noteNearMiss(std::string_view name, std::size_t line) {
    if (std::optional<std::string_view> reaches = nearMisses.nearMiss(name)) {
      findings.noteNearMiss(name, *reaches, line);
    }
  }
};

}  // namespace tornvel

#endif  // TORNVEL_READERS_PROFILE_CONTEXT_H_
