// Loads the product control file: definition lines become definitions, and the
// release, synonym and affinity directives take effect.
#ifndef TORNVEL_DEFINITIONS_CONTROL_LOADER_H_
#define TORNVEL_DEFINITIONS_CONTROL_LOADER_H_

#include <cstddef>
#include <string>

#include "definitions/definition_table.h"
#include "definitions/product.h"
#include "definitions/synonym_group.h"
#include "platform/console.h"
#include "platform/line_reader.h"

namespace tornvel {

// The run-level values the control file may change, as a run starts.
inline constexpr const char* kDefaultRelease = "V100";
// 34 "#" and 9 "0": the affinity string until the control file gives another.
inline constexpr const char* kDefaultAffinities = "##################################000000000";
// The run keeps an affinity string of up to 79 characters; each situation
// takes the part of it that its own field holds.
inline constexpr std::size_t kRunAffinitiesCapacity = 80;

// How a run loads its control file: the product, the code every definition
// records ("IMS" for the IMS product) and the run's switches.
struct ControlSettings {
  Product product = Product::kUnsupported;
  std::string recordedCode;
  bool verbose = false;
  bool noWarnings = false;
};

// What the control file gave the run.
struct LoadedControl {
  DefinitionTable table;
  SynonymList synonyms;
  std::string release = kDefaultRelease;        // after the last release directive
  std::string affinities = kDefaultAffinities;  // the last affinity directive wins
};

// Reads the control file to its end, or to the 513th definition line. Each
// definition samples the release as it stands when the definition is read.
LoadedControl loadControlFile(LineReader& control, const ControlSettings& settings,
                              Console& console);

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_CONTROL_LOADER_H_
