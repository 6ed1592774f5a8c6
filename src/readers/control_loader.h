// Loads the product control file: definition lines become definitions, and the
// release, synonym and affinity directives take effect.
#ifndef TORNVEL_READERS_CONTROL_LOADER_H_
#define TORNVEL_READERS_CONTROL_LOADER_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/definition_table.h"
#include "definitions/product.h"
#include "definitions/release_and_affinities.h"
#include "definitions/synonym_group.h"
#include "platform/console.h"
#include "platform/line_reader.h"

namespace tornvel {

// How a run loads its control file: the product, the code every definition
// records ("IMS" for the IMS product) and the run's switches.
struct ControlSettings {
  Product product = Product::kUnsupported;
  std::string recordedCode;
  bool verbose = false;
  bool noWarnings = false;
};

// A field that the control file gives longer than the run keeps it: its line,
// what it is, the text as given and how many characters of it are kept.
struct CutField {
  std::size_t line = 0;
  std::string_view what;
  std::string given;
  std::size_t kept = 0;
  bool buildModeOnly = false;  // only build mode uses it (the affinity string)
};

// What the control file gave the run.
struct LoadedControl {
  DefinitionTable table;
  SynonymList synonyms;
  std::string release = kDefaultRelease;        // after the last release directive
  std::string affinities = kDefaultAffinities;  // the last affinity directive wins
  std::vector<CutField> cutFields;              // in the order of the file
  // Lines of definitions named like the system product's service classes,
  // which take the service-class path instead of their own.
  std::vector<std::size_t> reservedNameLines;
};

// Reads the control file to its end, or to the 513th definition line. Each
// definition samples the release as it stands when the definition is read.
LoadedControl loadControlFile(LineReader& control, const ControlSettings& settings,
                              Console& console);

}  // namespace tornvel

#endif  // TORNVEL_READERS_CONTROL_LOADER_H_
