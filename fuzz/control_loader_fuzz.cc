// Fuzzes the control-file loader (directives, definition fields, synonym
// groups), then reads a small profile of each format against what it loaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "readers/sectioned_profile_reader.h"
#include "readers/threshold_statement_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string control(reinterpret_cast<const char*>(data), size);
  tornvel::fuzz::migrateInMemory("IMS", control, "THRABC1 0 90 80\nTHRGRP 0 1 2\n",
                                 tornvel::readThresholdStatements, true);
  tornvel::fuzz::migrateInMemory("ZR5", control,
                                 "Begin Table PR.X\nBegin Row\n ABC1W(85)\n ABC1C(95)\nEnd Row\n",
                                 tornvel::readSectionedProfile, false);
  return 0;
}
