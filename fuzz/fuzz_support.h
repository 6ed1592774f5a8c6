// Shared pieces of the fuzz targets: a fixed control file per product, and a
// pass that loads it, reads a profile and builds every statement in memory.
#ifndef TORNVEL_FUZZ_FUZZ_SUPPORT_H_
#define TORNVEL_FUZZ_FUZZ_SUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "readers/profile_context.h"

namespace tornvel::fuzz {

// Loads `controlText` for `productCode`, reads `profileText` with `reader`, then
// builds every statement, build-mode statement and template row of the table.
void migrateInMemory(std::string_view productCode, const std::string& controlText,
                     const std::string& profileText, void (*reader)(ProfileContext&), bool verbose);

// The fixed control file used when a target fuzzes only the profile.
extern const char kControlText[];

}  // namespace tornvel::fuzz

#endif  // TORNVEL_FUZZ_FUZZ_SUPPORT_H_
