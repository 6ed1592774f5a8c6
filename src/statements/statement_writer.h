// Writes statements to the statement file in lines of at most 72 characters,
// the width the situation loader reads, each statement followed by an empty
// line.
#ifndef TORNVEL_STATEMENTS_STATEMENT_WRITER_H_
#define TORNVEL_STATEMENTS_STATEMENT_WRITER_H_

#include <cstddef>
#include <string_view>

#include "platform/output_file.h"

namespace tornvel {

class StatementWriter {
 public:
  // The width of one line of the statement file.
  static constexpr std::size_t kLineWidth = 72;

  explicit StatementWriter(OutputFile& file) : file_(file) {}

  // Cuts the statement at every 72nd character, with no regard to words,
  // quotes or line ends inside it, writes each piece followed by a line end,
  // and then one more line end. An empty statement gives just the line end.
  void write(std::string_view statement);

 private:
  OutputFile& file_;
};

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_STATEMENT_WRITER_H_
