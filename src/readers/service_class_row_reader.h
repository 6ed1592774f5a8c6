// A row of the workload table of a sectioned system profile: one service class
// and period with its performance-index, I/O, storage, CPU and busy thresholds,
// turned into a service-class definition named "SVCL".
#ifndef TORNVEL_READERS_SERVICE_CLASS_ROW_READER_H_
#define TORNVEL_READERS_SERVICE_CLASS_ROW_READER_H_

#include <memory>
#include <string_view>
#include <vector>

#include "definitions/exception_definition.h"
#include "platform/line_reader.h"

namespace tornvel {

// A row read: its definition (never null), and the keywords other than the
// busy threshold's that the row did not give with a value, in the order of
// kServiceClassKeywords (readers/service_class_keywords.h), whose words they
// view. An I/O, storage or CPU threshold left out is off, as if the
// row said OFF; the class, period and index thresholds stay empty.
struct ServiceClassRow {
  std::unique_ptr<ExceptionDefinition> definition;
  std::vector<std::string_view> missing;
};

struct ServiceClassRowReader {
  // Reads the row whose first line is `firstLine` (already taken from the
  // profile; a keyword on it counts like on any other line) and the lines after
  // it, up to and including the first line that holds "End Row", each read with
  // the row-line limit. A profile that ends before that line still gives the
  // definition collected so far.
  static ServiceClassRow read(LineReader& profile, std::string_view firstLine,
                              std::string_view currentRelease);
};

}  // namespace tornvel

#endif  // TORNVEL_READERS_SERVICE_CLASS_ROW_READER_H_
