#include "driver/reports.h"

#include <string>

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

void printProfileInformationRow(Console& console, std::string_view name, std::string_view warning,
                                std::string_view critical) {
  if (console.takeHeader()) {
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

void printMigratedHeader(Console& console) {
  console.print("\n\nExceptions in profile migrated:\n\nName   \tType\tWarnVal\tCritVal\n");
}

void writeReportLine(Console& console, const ExceptionDefinition& definition) {
  std::string row;
  row.append(definition.name).append("\t");
  row.push_back(definition.valueType);  // printed as one character, even NUL
  row.append("\t").append(definition.warningValue).append("\t");
  row.append(definition.criticalValue).append("\n");
  console.print(row);
}

namespace {

// One field of a threshold line. A field that holds a comma, a quote or a line
// end character is enclosed in quotes with its quotes doubled, so that a value
// such as 1,5 or a profile named P,1.TXT keeps every later column in place;
// any other field, an empty one included, is written as it stands.
void appendCsvField(std::string& line, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    line.append(field);
    return;
  }
  line.push_back('"');
  for (char c : field) {
    if (c == '"') line.push_back('"');
    line.push_back(c);
  }
  line.push_back('"');
}

}  // namespace

void ThresholdCsv::start(std::string_view fileCode, std::string_view inputName) {
  header_.clear();
  appendCsvField(header_, fileCode);
  header_.append(",Threshold");
  critical_.clear();
  appendCsvField(critical_, inputName);
  critical_.append(",Critical");
  warning_.clear();
  appendCsvField(warning_, inputName);
  warning_.append(",Warning");
}

void ThresholdCsv::add(const ExceptionDefinition& definition) {
  appendCsvField(header_.append(","), definition.getName());
  appendCsvField(critical_.append(","), definition.getCriticalValue());
  appendCsvField(warning_.append(","), definition.getWarningValue());
}

std::string ThresholdCsv::text(bool withHeader) const {
  std::string result;
  if (withHeader) result.append(header_).append("\n");
  result.append(critical_).append("\n");
  result.append(warning_).append("\n");
  return result;
}

}  // namespace tornvel
