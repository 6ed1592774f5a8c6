// One migratable exception: what the control file says about it, the thresholds
// the profile gives it, and the extras build mode attaches. Every text field has
// a fixed capacity in bytes (N bytes keep at most N - 1 characters) and is cut
// there when copied in, so stored texts are exactly what the statements carry.
// The statement builders only read a definition; what they need of the run
// (the run timestamp, the affinity string) they are given as arguments.
#ifndef TORNVEL_DEFINITIONS_EXCEPTION_DEFINITION_H_
#define TORNVEL_DEFINITIONS_EXCEPTION_DEFINITION_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "definitions/given_texts.h"
#include "definitions/product.h"

namespace tornvel {

// An optional input: absent (std::nullopt) is not the same as an empty text.
using OptionalText = std::optional<std::string_view>;

// Capacities of the record's text fields, in bytes.
namespace field {
inline constexpr std::size_t kName = 9;
inline constexpr std::size_t kAttribute = 129;
inline constexpr std::size_t kSituation = 65;
inline constexpr std::size_t kValue = 24;
inline constexpr std::size_t kOperator = 4;
inline constexpr std::size_t kProduct = 4;
inline constexpr std::size_t kRelease = 5;
inline constexpr std::size_t kExtraPredicate = 128;
inline constexpr std::size_t kServiceClass = 20;
inline constexpr std::size_t kPeriod = 4;
inline constexpr std::size_t kWorkload = 8;
}  // namespace field

// The largest append-zeros count honoured; a larger count is treated as this.
inline constexpr std::int32_t kMaxAppendZeros = 1023;

// Inserts a decimal point before the last `decimals` characters of a numeric
// text (see the .cc for the exact rules and their worked values).
void insertImpliedDecimals(std::string& text, int decimals);

// True for a number as a profile writes one: an optional sign, digits and at
// most one decimal point. Defined here: it runs for every profile value.
inline bool isNumberText(std::string_view text) {
  const auto isDigitAt = [&text](std::size_t at) {
    return static_cast<unsigned char>(text[at] - '0') < 10;
  };
  std::size_t at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  std::size_t digits = 0;
  for (; at < text.size() && isDigitAt(at); ++at) ++digits;
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && isDigitAt(at); ++at) ++digits;
  }
  return at == text.size() && digits > 0;
}

// Each definition stands for two situations, a warning and a critical one.
enum class Severity { kWarning, kCritical };

// The four resources whose thresholds a workload service class carries, in the
// order their situations are written.
enum class ResourceKind { kPerformanceIndex, kIoRate, kStorage, kCpu };
inline constexpr std::array<ResourceKind, 4> kResourceKinds{
    ResourceKind::kPerformanceIndex, ResourceKind::kIoRate, ResourceKind::kStorage,
    ResourceKind::kCpu};

// A resource's warning and critical threshold.
struct ThresholdPair {
  std::string warning;
  std::string critical;

  const std::string& of(Severity severity) const {
    return severity == Severity::kWarning ? warning : critical;
  }
};

// What a workload service class's row gives: the class and period, a warning
// and a critical threshold for each resource, and the busy threshold.
struct ServiceClassThresholds {
  std::string className;
  std::string period;
  std::array<ThresholdPair, kResourceKinds.size()> resources;
  std::string busy;

  ThresholdPair& operator[](ResourceKind kind) { return resources[static_cast<std::size_t>(kind)]; }
  const ThresholdPair& operator[](ResourceKind kind) const {
    return resources[static_cast<std::size_t>(kind)];
  }
};

// The inputs of a definition. The first four are always given; every other one
// may be absent.
struct DefinitionInputs {
  Product product = Product::kUnsupported;
  std::string_view recordedCode;
  std::string_view release;
  std::string_view name;
  std::string_view attribute;
  OptionalText typeText;
  OptionalText warningSituation;
  OptionalText criticalSituation;
  // A workload row's class, period and thresholds: the definition becomes
  // "SVCL", a service class of the system product.
  std::optional<ServiceClassThresholds> serviceClass;
};

// The kind of a definition's values, from the first letter of the control
// file's type text: "I" numbers, "F" numbers written with a decimal point, "B"
// on/off values; any other letter, or none, values compared with "*EQ".
enum class ValueType { kInteger, kFloat, kBoolean, kOther };

// One situation of a definition: its name, the profile's threshold, the control
// file's value for "on", the comparison operator and whether it is written.
struct Condition {
  std::string situation;
  std::string onValue;
  std::string comparison;
  // For a definition that normalises its values, the profile text when it is
  // no number.
  std::string givenNonNumber;
  // What every profile value reads and writes stands in one cache line:
  // profiles give values to definitions in no order, and every further line
  // touched would be a further cache miss for every value.
  alignas(64) std::string value;
  bool enabled = true;
  // Where a value the profile gave as a text of its own (no on/off word) came
  // from: its line (0 for none).
  std::size_t line = 0;
  // The profile's texts for this situation while it was enabled, whatever
  // the setter made of them, but for those that disabled it.
  GivenTexts given;
};

// The top of the warning band: the operator and the control file's value.
struct UpperBound {
  std::string comparison;
  std::string value;
};

// What the advice file attaches for build mode: the $PARMS text and the
// situation text of both situations.
struct BuildModeExtras {
  std::string parmsText;
  std::string situationText;
};

// The name of every workload service class's definition.
inline constexpr std::string_view kServiceClassName = "SVCL";

class ExceptionDefinition {
 public:
  explicit ExceptionDefinition(const DefinitionInputs& inputs);

  // Fixed at construction: the table's name index relies on the name, and
  // the comparisons and scaling were derived from the type text.
  const std::string& name() const { return name_; }
  Product product() const { return product_; }
  ValueType valueType() const { return valueType_; }
  // The letter the table of migrated exceptions prints: "I" for types "I" and
  // "F", else the letter the control file gave ("\0" for an empty type text).
  char typeLetter() const { return typeLetter_; }
  std::int32_t impliedDecimals() const { return impliedDecimals_; }
  const std::string& attribute() const { return attribute_; }
  const std::string& recordedCode() const { return recordedCode_; }  // as in the situation names
  const std::string& release() const { return release_; }

  // What the advice file attached for build mode, if anything; a later line of
  // the advice file replaces what an earlier one attached.
  const std::optional<BuildModeExtras>& buildModeExtras() const { return buildModeExtras_; }
  void setBuildModeExtras(BuildModeExtras extras) { buildModeExtras_ = std::move(extras); }

  const Condition& condition(Severity severity) const {
    return severity == Severity::kWarning ? warning_ : critical_;
  }

  // Present exactly for the system product's "SVCL" definitions, which become
  // situations of their own instead of updates.
  const std::optional<ServiceClassThresholds>& serviceClass() const { return serviceClass_; }

  // The top of the warning band, the extra formula text and the count of
  // zeros appended to every profile value, as the control file set them.
  const UpperBound& warningUpper() const { return warningUpper_; }
  const std::string& extraPredicate() const { return extraPredicate_; }
  std::int32_t appendZeros() const { return appendZeros_; }

  // Configuration by the control-file loader, in this order.
  void setCriticalCondition(std::string_view op, OptionalText onValue);
  void setWarningCondition(std::string_view op, OptionalText onValue, OptionalText upperOperator,
                           OptionalText upperValue);
  void setExtraPredicate(std::string_view text);
  void setAppendZeros(std::string_view text);

  // Profile values, from profile line `line` (0 when none). Each interprets
  // on/off words and normalises numbers, and returns the text as it leaves it,
  // which a verbose run shows: the normalised text when it stores a number,
  // else `text` itself. A definition that normalises nothing stores `text`
  // without any copy on the way; one that does normalises a copy of its own,
  // which the returned view shows until the next value of the same severity.
  std::string_view setWarningFromProfile(std::string_view text, std::size_t line = 0);
  std::string_view setCriticalFromProfile(std::string_view text, std::size_t line = 0);

  // The profile text a definition of numbers compares with though it is no
  // number (`CPU ON 5` written the wrong way round), or empty: the value as
  // given, of a situation that is written. Only the last value given counts.
  std::string_view nonNumberValue(Severity severity) const;

  // True for a definition whose thresholds are numbers (type "I" or "F").
  bool takesNumbers() const {
    return valueType_ == ValueType::kInteger || valueType_ == ValueType::kFloat;
  }

  // True when profile numbers are stored as given: no implied decimals, no
  // appended zeros, no ".0" of a float type.
  bool keepsValuesAsGiven() const {
    return impliedDecimals_ == 0 && appendZeros_ == 0 && valueType_ != ValueType::kFloat;
  }

 private:
  // Stores a profile number in `condition`; returns the text as stored, before
  // the value field cuts it. `normalised` is the severity's own copy.
  std::string_view storeValue(Condition& condition, std::string& normalised, std::string_view text,
                              std::size_t line);
  // The part of storeValue for a type whose values are normalised. Kept out of
  // line so that a value stored as given, the common case, costs a short call.
  [[gnu::noinline]] std::string_view storeNormalised(Condition& condition, std::string& normalised,
                                                     std::string_view text);
  // Normalises a numeric profile text in place: implied decimals, else appended
  // zeros, else ".0" for a float type.
  void normaliseValue(std::string& text) const;
  void appendZerosTo(std::string& text) const;

  std::string name_;
  Product product_ = Product::kUnsupported;
  ValueType valueType_ = ValueType::kInteger;
  char typeLetter_ = 'I';
  std::int32_t impliedDecimals_ = 0;
  std::string attribute_;
  std::string recordedCode_;
  std::string release_;
  std::optional<BuildModeExtras> buildModeExtras_;
  Condition warning_;
  Condition critical_;
  UpperBound warningUpper_;
  std::string extraPredicate_;
  std::int32_t appendZeros_ = 0;
  std::optional<ServiceClassThresholds> serviceClass_;
  // Each severity's last normalised value, as its setter returned it.
  std::string warningNormalised_;
  std::string criticalNormalised_;
};

// A workload service class's definition.
inline bool isServiceClass(const ExceptionDefinition& definition) {
  return definition.serviceClass().has_value();
}

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_EXCEPTION_DEFINITION_H_
