// The keywords of a workload row of the system product's profile, such as
// PRWLMWI(150): which text of a service-class definition each fills, the
// implied decimals of its value, and what a row that leaves it out means. The
// row reader reads rows by this table; the run's diagnostics tell from it
// what a row without some of them does.
#ifndef TORNVEL_READERS_SERVICE_CLASS_KEYWORDS_H_
#define TORNVEL_READERS_SERVICE_CLASS_KEYWORDS_H_

#include <array>
#include <string>
#include <string_view>

#include "definitions/exception_definition.h"

namespace tornvel {

// What a keyword fills: the class name, the period, a resource's threshold of
// one severity, or the busy threshold.
enum class RowText { kClassName, kPeriod, kThreshold, kBusy };

struct ServiceClassKeyword {
  std::string_view word;
  RowText fills;
  ResourceKind resource;  // a threshold's
  Severity severity;      // a threshold's
  // The profile writes the index thresholds in hundredths and the I/O,
  // storage and CPU thresholds in tenths.
  int impliedDecimals;
  // Left out of a row, the text is "OFF" (a threshold that can be switched
  // off, and the busy threshold), else empty.
  bool offWhenLeftOut;
};

// In the order a row usually gives them.
inline constexpr std::array<ServiceClassKeyword, 11> kServiceClassKeywords{{
    {"PRWLMSC", RowText::kClassName, ResourceKind::kPerformanceIndex, Severity::kWarning, 0, false},
    {"PRWLMPD", RowText::kPeriod, ResourceKind::kPerformanceIndex, Severity::kWarning, 0, false},
    {"PRWLMWI", RowText::kThreshold, ResourceKind::kPerformanceIndex, Severity::kWarning, 2, false},
    {"PRWLMCI", RowText::kThreshold, ResourceKind::kPerformanceIndex, Severity::kCritical, 2,
     false},
    {"PRWLMWO", RowText::kThreshold, ResourceKind::kIoRate, Severity::kWarning, 1, true},
    {"PRWLMCO", RowText::kThreshold, ResourceKind::kIoRate, Severity::kCritical, 1, true},
    {"PRWLMWS", RowText::kThreshold, ResourceKind::kStorage, Severity::kWarning, 1, true},
    {"PRWLMCS", RowText::kThreshold, ResourceKind::kStorage, Severity::kCritical, 1, true},
    {"PRWLMWC", RowText::kThreshold, ResourceKind::kCpu, Severity::kWarning, 1, true},
    {"PRWLMCC", RowText::kThreshold, ResourceKind::kCpu, Severity::kCritical, 1, true},
    {"PRWLMBS", RowText::kBusy, ResourceKind::kPerformanceIndex, Severity::kWarning, 0, true},
}};

// The keyword spelt exactly `word`, or nullptr.
const ServiceClassKeyword* findServiceClassKeyword(std::string_view word);

// The keyword of a resource's threshold of one severity.
const ServiceClassKeyword& thresholdKeyword(ResourceKind resource, Severity severity);

// The text of `thresholds` that `keyword` fills.
std::string& textFilledBy(const ServiceClassKeyword& keyword, ServiceClassThresholds& thresholds);

}  // namespace tornvel

#endif  // TORNVEL_READERS_SERVICE_CLASS_KEYWORDS_H_
