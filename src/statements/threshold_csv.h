// The lines a run adds to the comma-delimited threshold file: a header line
// of the definitions' names, a line of their critical values and one of their
// warning values, in table order.
#ifndef TORNVEL_STATEMENTS_THRESHOLD_CSV_H_
#define TORNVEL_STATEMENTS_THRESHOLD_CSV_H_

#include <string>
#include <string_view>

#include "definitions/exception_definition.h"

namespace tornvel {

class ThresholdCsv {
 public:
  // The header line starts with the product's file code, the two value lines
  // with the profile's name as typed.
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

#endif  // TORNVEL_STATEMENTS_THRESHOLD_CSV_H_
