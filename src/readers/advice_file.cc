#include "readers/advice_file.h"

#include <string>

#include "platform/text.h"

namespace tornvel {

namespace {
// The name and the parameter text may end at the line end; the situation text
// ends only at a "~", so a line without a parameter text has too few fields.
constexpr Delimiters kNameEnd("~\n");
constexpr Delimiters kSituationTextEnd("~");
constexpr Delimiters kParmsEnd("~\n");
}  // namespace

void applyAdviceFile(LineReader& advice, DefinitionTable& table) {
  std::string line;
  while (advice.readLine(line, LineReader::kLineLimit)) {
    Tokenizer fields(line);
    auto name = fields.next(kNameEnd);
    auto situationText = fields.next(kSituationTextEnd);
    auto parms = fields.next(kParmsEnd);
    if (!name || !situationText || !parms) continue;
    for (ExceptionDefinition* definition : table.findAll(*name)) {
      definition->setBuildModeExtras({std::string(*parms), std::string(*situationText)});
    }
  }
}

}  // namespace tornvel
