#include "readers/profile_reports.h"

#include <utility>

namespace tornvel {

namespace {

constexpr std::string_view kUnhandledTitle = "\n\nExceptions in profile not handled:\n\n";

// A text left-justified in a field of `width` characters; a longer text is
// printed whole.
std::string padded(std::string_view text, std::size_t width) {
  std::string result(text);
  if (result.size() < width) result.append(width - result.size(), ' ');
  return result;
}

}  // namespace

void ProfileInformationTable::printRow(Console& console, std::string_view name,
                                       std::string_view warning, std::string_view critical) {
  if (!std::exchange(headerPrinted_, true)) {
    console.print("Profile information\nException\tWarning   \tCritical\n");
  }
  std::string row;
  row.append(name).append("        \t").append(warning).append("       \t").append(critical);
  row += '\n';
  console.print(row);
}

void UnhandledList::add(std::string_view name, std::string_view warning,
                        std::string_view critical) {
  entries_.push_back(Entry{std::string(name.substr(0, 20)), std::string(warning.substr(0, 40)),
                           std::string(critical.substr(0, 40))});
}

void UnhandledList::print(Console& console) const {
  if (entries_.empty()) return;
  console.print(kUnhandledTitle);
  console.print("Name    \tWarning\tCritical\n");
  for (const Entry& entry : entries_) {
    std::string row;
    row.append(entry.name).append("    \t").append(entry.warning).append("\t");
    row.append(entry.critical).append("\n");
    console.print(row);
  }
}

void UnhandledColumnTally::count(std::string_view column, std::string_view table) {
  std::string key;
  key.reserve(column.size() + table.size() + 1);
  key.append(column).append(1, '\0').append(table);
  auto [position, added] = positions_.try_emplace(std::move(key), entries_.size());
  if (added) {
    entries_.push_back(Entry{std::string(column), std::string(table), 1});
  } else {
    ++entries_[position->second].count;
  }
}

void UnhandledColumnTally::print(Console& console) const {
  if (entries_.empty()) return;
  console.print(kUnhandledTitle);
  console.print("Name            \tTable           \tCount\n");
  for (const Entry& entry : entries_) {
    std::string row = padded(entry.column, 16);
    row.append("    \t").append(padded(entry.table, 16)).append("    \t");
    row.append(std::to_string(entry.count)).append("\n");
    console.print(row);
  }
  console.print("\n");
}

}  // namespace tornvel
