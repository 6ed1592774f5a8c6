// Line ends as the program writes them on this system: every "\n" of its texts
// reaches the console and its files as CR LF on Windows and as LF elsewhere.
// Expected texts are written with "\n"; these turn them into the bytes a run
// leaves, and back.
#ifndef TORNVEL_TESTS_SUPPORT_LINE_ENDS_H_
#define TORNVEL_TESTS_SUPPORT_LINE_ENDS_H_

#include <string>
#include <string_view>

namespace tornvel::testing {

// `text` with each "\n" written as this system's line end.
inline std::string withNativeLineEnds(std::string_view text) {
#ifdef _WIN32
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
#else
  return std::string(text);
#endif
}

// Written bytes with each of this system's line ends read back as "\n".
// withNativeLineEnds(withoutNativeLineEnds(bytes)) == bytes exactly when every
// line feed in `bytes` is part of a native line end.
inline std::string withoutNativeLineEnds(std::string_view bytes) {
#ifdef _WIN32
  std::string result;
  result.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    result += bytes[i];
  }
  return result;
#else
  return std::string(bytes);
#endif
}

}  // namespace tornvel::testing

#endif  // TORNVEL_TESTS_SUPPORT_LINE_ENDS_H_
