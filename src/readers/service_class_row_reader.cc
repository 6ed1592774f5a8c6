#include "readers/service_class_row_reader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "platform/text.h"

namespace tornvel {

namespace {

using Field = std::string& (*)(ServiceClassThresholds&);

// A row keyword, the text it fills, the implied decimals of its value (the
// profile writes the index thresholds in hundredths and the I/O, storage and
// CPU thresholds in tenths) and the text it stands for when the row leaves it
// out: a resource that can be switched off is off, the busy threshold too.
struct Keyword {
  std::string_view word;
  Field field;
  int decimals;
  std::string_view absent;
};

template <ResourceKind kind>
std::string& warningOf(ServiceClassThresholds& t) {
  return t[kind].warning;
}
template <ResourceKind kind>
std::string& criticalOf(ServiceClassThresholds& t) {
  return t[kind].critical;
}
std::string& classOf(ServiceClassThresholds& t) { return t.className; }
std::string& periodOf(ServiceClassThresholds& t) { return t.period; }
std::string& busyOf(ServiceClassThresholds& t) { return t.busy; }

constexpr std::string_view kOff = "OFF";
constexpr std::string_view kBusyKeyword = "PRWLMBS";
constexpr std::array<Keyword, 11> kKeywords{{
    {"PRWLMSC", classOf, 0, ""},
    {"PRWLMPD", periodOf, 0, ""},
    {"PRWLMWI", warningOf<ResourceKind::kPerformanceIndex>, 2, ""},
    {"PRWLMCI", criticalOf<ResourceKind::kPerformanceIndex>, 2, ""},
    {"PRWLMWO", warningOf<ResourceKind::kIoRate>, 1, kOff},
    {"PRWLMCO", criticalOf<ResourceKind::kIoRate>, 1, kOff},
    {"PRWLMWS", warningOf<ResourceKind::kStorage>, 1, kOff},
    {"PRWLMCS", criticalOf<ResourceKind::kStorage>, 1, kOff},
    {"PRWLMWC", warningOf<ResourceKind::kCpu>, 1, kOff},
    {"PRWLMCC", criticalOf<ResourceKind::kCpu>, 1, kOff},
    {kBusyKeyword, busyOf, 0, kOff},
}};

// What a row collects, and which keywords gave their text with a value.
struct RowTexts {
  ServiceClassThresholds thresholds;
  std::array<bool, kKeywords.size()> given{};
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
  const auto keyword = std::find_if(kKeywords.begin(), kKeywords.end(),
                                    [&](const Keyword& k) { return k.word == *word; });
  if (keyword == kKeywords.end()) return;
  auto value = tokens.next(kValueEnd);
  if (!value) return;
  row.given[static_cast<std::size_t>(keyword - kKeywords.begin())] = true;
  std::string& text = keyword->field(row.thresholds);
  text.assign(*value);
  insertImpliedDecimals(text, keyword->decimals);
  const std::size_t length = keyword->field == classOf ? kServiceClassLength : kTextLength;
  if (text.size() > length) text.resize(length);
}

// Fills in what the row left out, and says which keywords those were.
ServiceClassRow build(RowTexts& row, std::string_view currentRelease) {
  ServiceClassRow result;
  for (std::size_t i = 0; i < kKeywords.size(); ++i) {
    if (row.given[i]) continue;
    kKeywords[i].field(row.thresholds) = kKeywords[i].absent;
    if (kKeywords[i].word != kBusyKeyword) result.missing.push_back(kKeywords[i].word);
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
