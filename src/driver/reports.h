// The header of the table of migrated exceptions, which the run prints before
// the rows the emission made (statements/migrated_row.h).
#ifndef TORNVEL_DRIVER_REPORTS_H_
#define TORNVEL_DRIVER_REPORTS_H_

#include "platform/console.h"

namespace tornvel {

// The header of the table of migrated exceptions.
void printMigratedHeader(Console& console);

}  // namespace tornvel

#endif  // TORNVEL_DRIVER_REPORTS_H_
