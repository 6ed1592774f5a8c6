#include "readers/service_class_keywords.h"

#include <algorithm>

namespace tornvel {

const ServiceClassKeyword* findServiceClassKeyword(std::string_view word) {
  const auto found =
      std::find_if(kServiceClassKeywords.begin(), kServiceClassKeywords.end(),
                   [word](const ServiceClassKeyword& keyword) { return keyword.word == word; });
  return found == kServiceClassKeywords.end() ? nullptr : &*found;
}

// Every resource has a keyword of each severity in the table.
const ServiceClassKeyword& thresholdKeyword(ResourceKind resource, Severity severity) {
  return *std::find_if(kServiceClassKeywords.begin(), kServiceClassKeywords.end(),
                       [resource, severity](const ServiceClassKeyword& keyword) {
                         return keyword.fills == RowText::kThreshold &&
                                keyword.resource == resource && keyword.severity == severity;
                       });
}

std::string& textFilledBy(const ServiceClassKeyword& keyword, ServiceClassThresholds& thresholds) {
  switch (keyword.fills) {
    case RowText::kClassName:
      return thresholds.className;
    case RowText::kPeriod:
      return thresholds.period;
    case RowText::kBusy:
      return thresholds.busy;
    case RowText::kThreshold:
      break;
  }
  ThresholdPair& pair = thresholds[keyword.resource];
  return keyword.severity == Severity::kWarning ? pair.warning : pair.critical;
}

}  // namespace tornvel
