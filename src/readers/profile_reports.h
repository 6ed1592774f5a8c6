// The console tables the profile readers print: the rows of thresholds
// applied, and the profile exceptions and columns that matched no definition.
#ifndef TORNVEL_READERS_PROFILE_REPORTS_H_
#define TORNVEL_READERS_PROFILE_REPORTS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/console.h"

namespace tornvel {

// The "Profile information" table of the thresholds a reader applies: its
// header before the first row.
class ProfileInformationTable {
 public:
  void printRow(Console& console, std::string_view name, std::string_view warning,
                std::string_view critical);

 private:
  bool headerPrinted_ = false;
};

// Profile exceptions that matched no definition (verbose runs). Every entry is
// kept; each text is cut as the table shows it (20, 40 and 40 characters).
class UnhandledList {
 public:
  struct Entry {
    std::string name;
    std::string warning;
    std::string critical;
  };

  void add(std::string_view name, std::string_view warning, std::string_view critical);
  bool empty() const { return entries_.empty(); }
  const std::vector<Entry>& entries() const { return entries_; }

  // The "Exceptions in profile not handled" table; nothing for an empty list.
  void print(Console& console) const;

 private:
  std::vector<Entry> entries_;
};

// Unmatched columns of a sectioned profile, counted per column and table
// (verbose runs). Every entry is kept, in the order first met.
class UnhandledColumnTally {
 public:
  struct Entry {
    std::string column;
    std::string table;
    long count = 1;
  };

  void count(std::string_view column, std::string_view table);
  bool empty() const { return entries_.empty(); }
  const std::vector<Entry>& entries() const { return entries_; }

  // The unhandled-columns table; nothing for an empty tally.
  void print(Console& console) const;

 private:
  std::vector<Entry> entries_;
  // Column and table, joined by a NUL, to the entry's position: a profile with
  // many distinct unmatched columns is still counted in linear time.
  std::unordered_map<std::string, std::size_t> positions_;
};

}  // namespace tornvel

#endif  // TORNVEL_READERS_PROFILE_REPORTS_H_
