#include "definitions/given_texts.h"

namespace tornvel {

void GivenTexts::compare(std::string_view text, std::size_t line) {
  if (lines_[0] == 0) {
    keep(0, text, line);
  } else if (!holds(0, text)) {
    keep(1, text, line);
    differs_ = true;
  }
}

}  // namespace tornvel
