// Fuzzes the numbered records reader with the fixed control file; the first byte
// chooses a verbose run.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "readers/numbered_record_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  bool verbose = size > 0 && (data[0] & 1) != 0;
  std::string profile(reinterpret_cast<const char*>(data), size);
  tornvel::fuzz::migrateInMemory("ZWQ", tornvel::fuzz::kControlText, profile,
                                 tornvel::readNumberedRecords, verbose);
  return 0;
}
