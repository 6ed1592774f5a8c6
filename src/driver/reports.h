// The table of migrated exceptions and the comma-delimited threshold lines:
// what the run itself reports once the profile is read.
#ifndef TORNVEL_DRIVER_REPORTS_H_
#define TORNVEL_DRIVER_REPORTS_H_

#include <string>
#include <string_view>

#include "definitions/exception_definition.h"
#include "platform/console.h"

namespace tornvel {

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
