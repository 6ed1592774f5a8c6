#include "statements/quoted_text.h"

namespace tornvel {

void appendQuoted(std::string& out, std::string_view text) {
  for (std::size_t quote = text.find('"'); quote != std::string_view::npos;
       quote = text.find('"')) {
    out.append(text.substr(0, quote + 1)).push_back('"');
    text.remove_prefix(quote + 1);
  }
  out.append(text);
}

void quoteFrom(std::string& out, std::size_t from) {
  if (from >= out.size() || out.find('"', from) == std::string::npos) return;
  std::string text = out.substr(from);
  out.resize(from);
  appendQuoted(out, text);
}

}  // namespace tornvel
