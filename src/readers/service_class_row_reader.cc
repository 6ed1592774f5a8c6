#include "readers/service_class_row_reader.h"

#include <array>
#include <cstddef>
#include <string>

#include "platform/text.h"
#include "readers/service_class_keywords.h"

namespace tornvel {

namespace {

constexpr std::string_view kOff = "OFF";

// What a row collects, and which keywords (by their place in the table) gave
// their text with a value.
struct RowTexts {
  ServiceClassThresholds thresholds;
  std::array<bool, kServiceClassKeywords.size()> given{};
};

// The service class keeps 19 characters; every other text keeps 7 once its
// decimal point is in.
constexpr std::size_t kServiceClassLength = 19;
constexpr std::size_t kTextLength = 7;

constexpr Delimiters kKeywordEnd("( \n");
// A value may stand in single quotes inside the parentheses.
constexpr Delimiters kValueEnd(")' \n");
constexpr std::string_view kEndRow = "End Row";

// Takes the keyword and value of one row line; a line without a known keyword
// or without a value changes nothing. A later line of the same keyword
// replaces the earlier value.
void collect(std::string_view line, RowTexts& row) {
  if (line.empty()) return;
  Tokenizer tokens(line.substr(1));  // the first character belongs to no token
  auto word = tokens.next(kKeywordEnd);
  if (!word) return;
  const ServiceClassKeyword* keyword = findServiceClassKeyword(*word);
  if (keyword == nullptr) return;
  auto value = tokens.next(kValueEnd);
  if (!value) return;
  row.given[static_cast<std::size_t>(keyword - kServiceClassKeywords.data())] = true;
  std::string& text = textFilledBy(*keyword, row.thresholds);
  text.assign(*value);
  insertImpliedDecimals(text, keyword->impliedDecimals);
  const std::size_t length =
      keyword->fills == RowText::kClassName ? kServiceClassLength : kTextLength;
  if (text.size() > length) text.resize(length);
}

// Fills in what the row left out, and says which keywords those were.
ServiceClassRow build(RowTexts& row, std::string_view currentRelease) {
  ServiceClassRow result;
  for (std::size_t i = 0; i < kServiceClassKeywords.size(); ++i) {
    if (row.given[i]) continue;
    const ServiceClassKeyword& keyword = kServiceClassKeywords[i];
    textFilledBy(keyword, row.thresholds) = keyword.offWhenLeftOut ? kOff : std::string_view();
    if (keyword.fills != RowText::kBusy) result.missing.push_back(keyword.word);
  }
  DefinitionInputs in;
  in.product = Product::kSystem;
  const std::string code = recordedCode(Product::kSystem, {});
  in.recordedCode = code;
  in.release = currentRelease;
  in.name = kServiceClassName;
  in.attribute = std::string_view();
  // Present but empty: the type letter becomes NUL and no situation name is
  // derived; service-class situations are named from the class and period.
  in.typeText = std::string_view();
  in.warningSituation = std::string_view();
  in.criticalSituation = std::string_view();
  in.serviceClass = std::move(row.thresholds);
  result.definition = std::make_unique<ExceptionDefinition>(in);
  return result;
}

}  // namespace

ServiceClassRow ServiceClassRowReader::read(LineReader& profile, std::string_view firstLine,
                                            std::string_view currentRelease) {
  RowTexts texts;

  // The first line was read with the profile's longer limit; hand it out in
  // pieces of the row-line limit, as a row line of that length would be read.
  for (std::size_t start = 0; start < firstLine.size(); start += LineReader::kRowLineLimit) {
    std::string_view piece = firstLine.substr(start, LineReader::kRowLineLimit);
    if (piece.find(kEndRow) != std::string_view::npos) return build(texts, currentRelease);
    collect(piece, texts);
  }

  std::string line;
  while (profile.readLine(line, LineReader::kRowLineLimit)) {
    if (line.find(kEndRow) != std::string::npos) break;
    collect(line, texts);
  }
  return build(texts, currentRelease);
}

}  // namespace tornvel
