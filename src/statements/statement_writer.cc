#include "statements/statement_writer.h"

namespace tornvel {

void appendStatement(std::string& out, std::string_view statement) {
  for (std::size_t offset = 0; offset < statement.size(); offset += kStatementLineWidth) {
    out.append(statement.substr(offset, kStatementLineWidth));
    out.push_back('\n');
  }
  out.push_back('\n');
}

}  // namespace tornvel
