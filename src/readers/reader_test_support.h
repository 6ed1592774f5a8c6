// What a profile reader works with, for tests: a definition table, the console
// captured in a string, and a profile read from memory.
#ifndef TORNVEL_READERS_READER_TEST_SUPPORT_H_
#define TORNVEL_READERS_READER_TEST_SUPPORT_H_

#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

  // The near-miss index is built as the run builds it: the definitions, and
  // for the IMS product the synonym members. What the reader found stays in
  // `findings`.
  void read(std::string text, bool verbose = false) {
    profile.openText(std::move(text));
    NearMissIndex reachable;
    reachable.addDefinitions(table);
    if (product == recordedCode(Product::kIms, {})) reachable.addSynonymMembers(synonyms);
    ProfileContext context{profile,      table,   console, unhandled, synonyms,
                           release,      verbose, {},      {},        std::move(reachable),
                           keepUnhandled};
    reader(context);
    findings = std::move(context.findings);
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
  bool keepUnhandled = true;  // as a run with a summary
  ProfileFindings findings;
};

// What a reader found, one text per entry, for comparing with a list:
// "NAME@LINE" (and "@TABLE" for a column), "NAME>REACHES@LINE".
inline std::vector<std::string> unhandledOf(const ProfileFindings& findings) {
  std::vector<std::string> texts;
  for (const ProfileFindings::UnhandledName& name : findings.unhandled) {
    texts.push_back(name.name + "@" + std::to_string(name.line) +
                    (name.table ? "@" + *name.table : std::string()));
  }
  return texts;
}
inline std::vector<std::string> nearMissesOf(const ProfileFindings& findings) {
  std::vector<std::string> texts;
  for (const ProfileFindings::NearMiss& miss : findings.nearMisses) {
    texts.push_back(miss.name + ">" + miss.reaches + "@" + std::to_string(miss.line));
  }
  return texts;
}
}  // namespace tornvel

#endif  // TORNVEL_READERS_READER_TEST_SUPPORT_H_
