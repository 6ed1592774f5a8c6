// A buffered output file that remembers whether everything written reached it.
#ifndef TORNVEL_PLATFORM_OUTPUT_FILE_H_
#define TORNVEL_PLATFORM_OUTPUT_FILE_H_

#include <cstdio>
#include <string>
#include <string_view>

namespace tornvel {

class OutputFile {
 public:
  enum class Mode { kReplace, kAppend };

  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens a file by its name as built (back-slashes are directory separators):
  // kReplace empties an existing file, kAppend creates or extends it.
  bool open(const std::string& nameAsBuilt, Mode mode);
  bool isOpen() const { return file_ != nullptr; }

  void write(std::string_view text);

  // Flushes and closes the file. False when any write, the flush or the close
  // failed, so that a run never reports success for output that is not there.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_OUTPUT_FILE_H_
