// The console tables of a run and the comma-delimited threshold lines.
#ifndef TORNVEL_DRIVER_REPORTS_H_
#define TORNVEL_DRIVER_REPORTS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "definitions/exception_definition.h"
#include "platform/console.h"

namespace tornvel {

// A row of the "Profile information" table, with its header before the first
// row while the header switch is on.
void printProfileInformationRow(Console& console, std::string_view name, std::string_view warning,
                                std::string_view critical);

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

// The header of the table of migrated exceptions.
void printMigratedHeader(Console& console);

// A definition's row of the table of migrated exceptions.
void writeReportLine(Console& console, const ExceptionDefinition& definition);

// The three lines a run adds to the comma-delimited threshold file.
class ThresholdCsv {
 public:
  void start(std::string_view fileCode, std::string_view inputName);
  void add(const ExceptionDefinition& definition);
  // The text to append: the header line when asked, the critical line, then the
  // warning line, each ended by a newline.
  std::string text(bool withHeader) const;

 private:
  std::string header_;
  std::string critical_;
  std::string warning_;
};

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_REPORTS_H_
