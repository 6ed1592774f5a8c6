#include "statements/statement_writer.h"

namespace tornvel {

void StatementWriter::write(std::string_view statement) {
  for (std::size_t offset = 0; offset < statement.size(); offset += kLineWidth) {
    file_.write(statement.substr(offset, kLineWidth));
    file_.write("\n");
  }
  file_.write("\n");
}

}  // namespace tornvel
