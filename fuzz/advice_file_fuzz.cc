// Fuzzes the advice-file pass over a table holding the advised names twice.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "definitions/definition_table.h"
#include "platform/line_reader.h"
#include "readers/advice_file.h"
#include "statements/build_mode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tornvel::DefinitionTable table;
  for (const char* name : {"ABC1", "ABC2", "ABC1"}) {
    tornvel::DefinitionInputs inputs;
    inputs.recordedCode = "ZTQ";
    inputs.release = "V100";
    inputs.name = name;
    inputs.attribute = "TAB.COL";
    table.append(std::make_unique<tornvel::ExceptionDefinition>(inputs));
  }
  tornvel::LineReader advice;
  advice.openText(std::string(reinterpret_cast<const char*>(data), size));
  tornvel::applyAdviceFile(advice, table);
  for (std::size_t i = 0; i < table.size(); ++i) {
    static_cast<void>(tornvel::buildParmsStatement(table.at(i)));
  }
  return 0;
}
