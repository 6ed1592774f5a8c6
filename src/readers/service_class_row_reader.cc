#include "readers/service_class_row_reader.h"

#include <array>
#include <cstddef>
#include <string>

#include "platform/text.h"

namespace tornvel {

namespace {

// The texts a row collects, in the order the definition takes them.
enum Slot : std::size_t {
  kServiceClass,
  kPeriod,
  kIndexWarning,
  kIndexCritical,
  kIoWarning,
  kIoCritical,
  kStorageWarning,
  kStorageCritical,
  kCpuWarning,
  kCpuCritical,
  kBusy,
  kSlotCount
};

// Each text, and whether a row line gave it with a value.
struct RowTexts {
  std::array<std::string, kSlotCount> text;
  std::array<bool, kSlotCount> given{};
};

// A row keyword, the text it fills, the implied decimals of its value (the
// profile writes the index thresholds in hundredths and the I/O, storage and
// CPU thresholds in tenths) and the text it stands for when the row leaves it
// out: a kind that can be switched off is off, the busy threshold too.
struct Keyword {
  std::string_view word;
  Slot slot;
  int decimals;
  std::string_view absent;
};

constexpr std::string_view kOff = "OFF";
constexpr std::array<Keyword, kSlotCount> kKeywords{{
    {"PRWLMSC", kServiceClass, 0, ""},
    {"PRWLMPD", kPeriod, 0, ""},
    {"PRWLMWI", kIndexWarning, 2, ""},
    {"PRWLMCI", kIndexCritical, 2, ""},
    {"PRWLMWO", kIoWarning, 1, kOff},
    {"PRWLMCO", kIoCritical, 1, kOff},
    {"PRWLMWS", kStorageWarning, 1, kOff},
    {"PRWLMCS", kStorageCritical, 1, kOff},
    {"PRWLMWC", kCpuWarning, 1, kOff},
    {"PRWLMCC", kCpuCritical, 1, kOff},
    {"PRWLMBS", kBusy, 0, kOff},
}};

// The service class keeps 19 characters; every other text keeps 7 once its
// decimal point is in.
constexpr std::size_t kServiceClassLength = 19;
constexpr std::size_t kTextLength = 7;

constexpr Delimiters kKeywordEnd("( \n");
// A value may stand in single quotes inside the parentheses.
constexpr Delimiters kValueEnd(")' \n");
constexpr std::string_view kEndRow = "End Row";

const Keyword* findKeyword(std::string_view word) {
  for (const Keyword& keyword : kKeywords) {
    if (keyword.word == word) return &keyword;
  }
  return nullptr;
}

// Takes the keyword and value of one row line; a line without a known keyword
// or without a value changes nothing. A later line of the same keyword
// replaces the earlier value.
void collect(std::string_view line, RowTexts& texts) {
  if (line.empty()) return;
  Tokenizer tokens(line.substr(1));  // the first character belongs to no token
  auto word = tokens.next(kKeywordEnd);
  if (!word) return;
  const Keyword* keyword = findKeyword(*word);
  if (keyword == nullptr) return;
  auto value = tokens.next(kValueEnd);
  if (!value) return;
  std::string& text = texts.text[keyword->slot];
  texts.given[keyword->slot] = true;
  text.assign(*value);
  insertImpliedDecimals(text, keyword->decimals);
  std::size_t length = keyword->slot == kServiceClass ? kServiceClassLength : kTextLength;
  if (text.size() > length) text.resize(length);
}

// Fills in what the row left out, and says which keywords those were.
ServiceClassRow build(RowTexts& row, std::string_view currentRelease) {
  ServiceClassRow result;
  for (const Keyword& keyword : kKeywords) {
    if (row.given[keyword.slot]) continue;
    row.text[keyword.slot] = keyword.absent;
    if (keyword.slot != kBusy) result.missing.push_back(keyword.word);
  }
  const auto& texts = row.text;
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
  in.serviceClass = texts[kServiceClass];
  in.period = texts[kPeriod];
  in.indexWarning = texts[kIndexWarning];
  in.indexCritical = texts[kIndexCritical];
  in.ioWarning = texts[kIoWarning];
  in.ioCritical = texts[kIoCritical];
  in.storageWarning = texts[kStorageWarning];
  in.storageCritical = texts[kStorageCritical];
  in.cpuWarning = texts[kCpuWarning];
  in.cpuCritical = texts[kCpuCritical];
  in.busyThreshold = texts[kBusy];
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
