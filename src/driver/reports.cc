#include "driver/reports.h"

namespace tornvel {

void printMigratedHeader(Console& console) {
  console.print("\n\nExceptions in profile migrated:\n\nName   \tType\tWarnVal\tCritVal\n");
}

}  // namespace tornvel
