// What a profile reader works with, for tests: a definition table, the console
// captured in a string, and a profile read from memory.
#ifndef TORNVEL_READERS_READER_TEST_SUPPORT_H_
#define TORNVEL_READERS_READER_TEST_SUPPORT_H_

#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "readers/profile_context.h"

namespace tornvel {

inline constexpr std::string_view kProfileHeader =
    "Profile information\nException\tWarning   \tCritical\n";
inline constexpr std::string_view kUnhandledHeader =
    "\n\nExceptions in profile not handled:\n\nName    \tWarning\tCritical\n";

struct ReaderRun {
  ReaderRun(std::string_view productCode, void (*readerFunction)(ProfileContext&),
            std::string runRelease = "V100")
      : product(productCode), reader(readerFunction), release(std::move(runRelease)) {}

  ExceptionDefinition& define(std::string_view name, OptionalText typeText = std::nullopt) {
    DefinitionInputs inputs;
    inputs.product = productCodesFor(product).product;
    inputs.recordedCode = product;
    inputs.release = release;
    inputs.name = name;
    inputs.attribute = "TABLE.COLUMN";
    inputs.typeText = typeText;
    return *table.append(std::make_unique<ExceptionDefinition>(inputs));
  }

  void read(std::string text, bool verbose = false) {
    profile.openText(std::move(text));
    ProfileContext context{profile, table, console, unhandled, synonyms, release, verbose, {}, {}};
    reader(context);
  }

  std::string product;
  void (*reader)(ProfileContext&);
  std::string release;
  std::ostringstream out;
  Console console{out};
  LineReader profile;
  DefinitionTable table;
  UnhandledList unhandled;
  SynonymList synonyms;
};

}  // namespace tornvel

#endif  // TORNVEL_READERS_READER_TEST_SUPPORT_H_
