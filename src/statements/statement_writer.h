// The layout of the statement file: each statement cut into lines of at most
// 72 characters, the width the situation loader reads, and followed by an
// empty line.
//
// Line ends inside a statement: an UPDATE (update_statements.h) and a
// service-class INSERT (service_class_statements.h) carry their own final line
// end, which is cut like any other character, so two empty lines follow them;
// the statements of build mode (build_mode.h) end with their semicolon, so one
// empty line follows them. A template row carries its line end too, but is
// written to the template seed file as it stands.
#ifndef TORNVEL_STATEMENTS_STATEMENT_WRITER_H_
#define TORNVEL_STATEMENTS_STATEMENT_WRITER_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace tornvel {

// The width of one line of the statement file.
inline constexpr std::size_t kStatementLineWidth = 72;

// Appends `statement` to `out` cut at every 72nd character, with no regard to
// words, quotes or line ends inside it, each piece followed by "\n", and then
// one more "\n". An empty statement gives just the "\n". The output file turns
// each "\n" into the host's line end.
void appendStatement(std::string& out, std::string_view statement);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_STATEMENT_WRITER_H_
