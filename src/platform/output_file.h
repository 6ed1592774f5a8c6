// An output that a run replaces, written as what its name reaches decides,
// whatever links lead there: a regular file or a new name through a
// ReplacedFile, which takes the name whole or not at all; a device, pipe or
// socket (/dev/stdout, /dev/null, a named pipe) as an InPlaceFile; and in a
// run that writes nothing only checked, holding nothing.
#ifndef TORNVEL_PLATFORM_OUTPUT_FILE_H_
#define TORNVEL_PLATFORM_OUTPUT_FILE_H_

#include <string>
#include <string_view>
#include <variant>

#include "platform/failure.h"
#include "platform/in_place_file.h"
#include "platform/output_check.h"
#include "platform/replaced_file.h"

namespace tornvel {

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens the output by its name as built (back-slashes are directory
  // separators). Until it is committed, nothing of it reaches its name. (A
  // file that is appended to is an AppendedFile.)
  Outcome open(const std::string& nameAsBuilt);
  // For a run that writes nothing: checkOutput, with the same failures as
  // open(). The file then takes and writes nothing.
  Outcome check(const std::string& nameAsBuilt);
  // True once opened or checked.
  bool isOpen() const { return !std::holds_alternative<std::monostate>(file_); }
  // True for a name that reaches a device or pipe, written as it stands.
  bool writesInPlace() const;

  // Every "\n" is written as the host's line end.
  void write(std::string_view text);
  // Puts everything written on the disk, or for a device or pipe writes it
  // out. Nothing to do for a file never opened, or only checked.
  Outcome finish();
  // This file alone takes its name (see commitTogether for several).
  Outcome commit();

  // The file that takes its name at the commit, or null for an output that
  // takes none (never opened, checked only, or written in place).
  ReplacedFile* replaced() { return std::get_if<ReplacedFile>(&file_); }
  const ReplacedFile* replaced() const { return std::get_if<ReplacedFile>(&file_); }

 private:
  struct Checked {
    Reach reach = Reach::kFile;
  };

  std::variant<std::monostate, Checked, ReplacedFile, InPlaceFile> file_;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_OUTPUT_FILE_H_
