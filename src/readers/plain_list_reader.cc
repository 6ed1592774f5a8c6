// The database product's profile: one exception per line, its name followed by
// its warning and its critical threshold.
//
//   ABC1 80 95
//   ABC2 80, 95
//   * a comment line
#include "readers/plain_list_reader.h"

#include <optional>
#include <string_view>

#include "platform/text.h"
#include "readers/repeated_values.h"

namespace tornvel {

namespace {

// A comma does not end the name, so "ABC1,80,95" is one token (and a short line).
constexpr Delimiters kNameDelimiters(" \n");
constexpr Delimiters kValueDelimiters(", \n");

}  // namespace

void readPlainList(ProfileContext& context) {
  std::string_view line;
  while (context.profile.readLineView(line)) {
    Tokenizer tokens(line);
    std::optional<std::string_view> name = tokens.next(kNameDelimiters);
    if (!name || name->front() == '*') continue;
    // A name that matches no definition often leaves no trace, whatever
    // follows it: its values need not be looked for.
    ExceptionDefinition* definition = context.table.findFirst(*name);
    if (definition == nullptr && !context.unhandledLineMatters(*name)) continue;
    std::optional<std::string_view> warningToken = tokens.next(kValueDelimiters);
    std::optional<std::string_view> criticalToken = tokens.next(kValueDelimiters);
    if (!warningToken || !criticalToken) continue;

    const std::size_t number = context.profile.lineNumber();
    if (definition == nullptr) {
      context.noteUnhandled(*name, number);
      if (context.verbose) context.unhandled.add(*name, *warningToken, *criticalToken);
      continue;
    }
    // A verbose run shows the texts as the setters leave them (normalised).
    const std::string_view warning = definition->setWarningFromProfile(*warningToken, number);
    const std::string_view critical = definition->setCriticalFromProfile(*criticalToken, number);
    if (context.verbose) context.information.printRow(context.console, *name, warning, critical);
  }

  noteRepeatedValues(context.table, context.findings);
  if (context.verbose) context.unhandled.print(context.console);
}

}  // namespace tornvel
