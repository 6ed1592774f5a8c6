#include "driver/reports.h"

#include <string>

namespace tornvel {

void printMigratedHeader(Console& console) {
  console.print("\n\nExceptions in profile migrated:\n\nName   \tType\tWarnVal\tCritVal\n");
}

void writeReportLine(Console& console, const ExceptionDefinition& definition) {
  std::string row;
  row.append(definition.name()).append("\t");
  // The type letter, printed as one character, even NUL.
  row.push_back(definition.typeLetter());
  row.append("\t").append(definition.condition(Severity::kWarning).value).append("\t");
  row.append(definition.condition(Severity::kCritical).value).append("\n");
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
  appendCsvField(header_.append(","), definition.name());
  appendCsvField(critical_.append(","), definition.condition(Severity::kCritical).value);
  appendCsvField(warning_.append(","), definition.condition(Severity::kWarning).value);
}

std::string ThresholdCsv::text(bool withHeader) const {
  std::string result;
  if (withHeader) result.append(header_).append("\n");
  result.append(critical_).append("\n");
  result.append(warning_).append("\n");
  return result;
}

}  // namespace tornvel
