#include "platform/output_file.h"

#include "platform/file_names.h"

namespace tornvel {

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool OutputFile::open(const std::string& nameAsBuilt, Mode mode) {
  if (file_ != nullptr) close();
  file_ = std::fopen(hostPath(nameAsBuilt).c_str(), mode == Mode::kAppend ? "ab" : "wb");
  failed_ = false;
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
  return file_ != nullptr;
}

void OutputFile::write(std::string_view text) {
  if (file_ == nullptr || text.empty()) return;
#ifdef _WIN32
  // Every line end written on Windows is CR LF; the file is opened in binary
  // mode so that nothing else is changed.
  for (std::size_t newline; (newline = text.find('\n')) != std::string_view::npos;) {
    if (std::fwrite(text.data(), 1, newline, file_) != newline ||
        std::fwrite("\r\n", 1, 2, file_) != 2) {
      failed_ = true;
    }
    text.remove_prefix(newline + 1);
  }
  if (text.empty()) return;
#endif
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
