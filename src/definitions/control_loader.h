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

// What the loader reads and fills. It owns nothing.
struct ControlLoader {
  LineReader& control;
  Product product;
  std::string productCode;  // recorded by every definition ("IMS" for the IMS product)
  bool verbose = false;
  bool noWarnings = false;
  std::string& currentRelease;  // sampled by each definition at its creation
  std::string& runAffinities;   // the last directive wins
  DefinitionTable& table;
  SynonymList& synonyms;
  Console& console;
};

// Reads the control file to its end, or to the 513th definition line.
void loadControlFile(ControlLoader& loader);

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_CONTROL_LOADER_H_
