#include "platform/output_file.h"

#include "platform/file_names.h"

namespace tornvel {

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool OutputFile::open(const std::string& nameAsBuilt, Mode mode) {
  if (file_ != nullptr) close();
  file_ = std::fopen(hostPath(nameAsBuilt).c_str(), mode == Mode::kAppend ? "a" : "w");
  failed_ = false;
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
  return file_ != nullptr;
}

void OutputFile::write(std::string_view text) {
  if (file_ == nullptr || text.empty()) return;
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) failed_ = true;
}

bool OutputFile::close() {
  if (file_ == nullptr) return !failed_;
  bool ok = !failed_;
  if (std::fflush(file_) != 0 || std::ferror(file_) != 0) ok = false;
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  failed_ = !ok;
  return ok;
}

}  // namespace tornvel
