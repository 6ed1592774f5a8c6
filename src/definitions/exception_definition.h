// One migratable exception: what the control file says about it, the thresholds
// the profile gives it, and the extras build mode attaches. Every text field has
// a fixed capacity in bytes (N bytes keep at most N - 1 characters) and is cut
// there when copied in, so stored texts are exactly what the statements carry.
// The statement builders only read a definition; what they need of the run
// (the run timestamp, the affinity string) they are given as arguments.
#ifndef TORNVEL_DEFINITIONS_EXCEPTION_DEFINITION_H_
#define TORNVEL_DEFINITIONS_EXCEPTION_DEFINITION_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The inputs of a definition. The first four are always given; every other one
// may be absent.
struct DefinitionInputs {
  Product productId = Product::kUnsupported;
  std::string_view product;
  std::string_view release;
  std::string_view name;
  std::string_view attribute;
  OptionalText typeText;
  OptionalText warningSituation;
  OptionalText criticalSituation;
  OptionalText serviceClass;
  OptionalText period;
  OptionalText indexWarning;
  OptionalText indexCritical;
  OptionalText ioWarning;
  OptionalText ioCritical;
  OptionalText storageWarning;
  OptionalText storageCritical;
  OptionalText cpuWarning;
  OptionalText cpuCritical;
  OptionalText busyThreshold;
};

struct ExceptionDefinition;

// The name of every workload service class's definition.
inline constexpr std::string_view kServiceClassName = "SVCL";

// A workload service class's definition: the system product's "SVCL" records,
// which become situations of their own instead of updates.
bool isServiceClass(const ExceptionDefinition& definition);

struct ExceptionDefinition {
  explicit ExceptionDefinition(const DefinitionInputs& inputs);

  // Configuration by the control-file loader, in this order.
  void setCriticalCondition(std::string_view op, OptionalText onValue);
  void setWarningCondition(std::string_view op, OptionalText onValue, OptionalText upperOperator,
                           OptionalText upperValue);
  void setExtraPredicate(std::string_view text);
  void setAppendZeros(std::string_view text);

  // Profile values. Both interpret on/off words and normalise numbers; both may
  // lengthen `text` in place, so the caller passes a text of its own and
  // afterwards holds the normalised text.
  bool hasName(std::string_view text) const { return name == text; }
  void setWarningFromProfile(std::string& text);
  void setCriticalFromProfile(std::string& text);

  // The same for a read-only text, when the caller does not need the
  // normalised text back: a definition that normalises nothing stores the
  // text without any copy of it on the way, the others work on a copy.
  void setWarningFromProfile(std::string_view text);
  void setCriticalFromProfile(std::string_view text);

  // True when normaliseValue leaves every text as it is.
  bool keepsValuesAsGiven() const { return impliedDecimals == 0 && appendZeros == 0 && !isFloat; }

  // Normalises a numeric profile text in place: implied decimals, else appended
  // zeros, else ".0" for a float type, else nothing.
  // Defined here: it runs for every profile value, and most definitions
  // normalise nothing.
  void normaliseValue(std::string& text) const {
    if (impliedDecimals != 0) {
      insertImpliedDecimals(text, impliedDecimals);
    } else if (appendZeros != 0) {
      appendZerosTo(text);
    } else if (isFloat) {
      text += ".0";
    }
  }
  void appendZerosTo(std::string& text) const;

  const std::string& getName() const { return name; }
  const std::string& getWarningValue() const { return warningValue; }
  const std::string& getCriticalValue() const { return criticalValue; }

  // Build-mode extras.
  void setParmsText(std::string_view text) { parmsText = std::string(text); }
  void setSituationText(std::string_view text) { situationText = std::string(text); }

  // The rules of the value setters, shared by both forms of each.
 private:
  template <typename Normalised>
  void applyWarning(std::string_view text, Normalised normalised);
  template <typename Normalised>
  void applyCritical(std::string_view text, Normalised normalised);

 public:
  std::string name;
  char valueType = 'I';
  std::string attribute;
  std::string warningSituation;
  std::string criticalSituation;
  std::string warningValue;
  std::string criticalValue;
  std::string warningOnValue;
  std::string warningUpperValue;
  std::string warningOperator;
  std::string warningUpperOperator;
  std::string criticalOnValue;
  std::string criticalOperator;
  std::string product;  // the code the definition records, as in its situation names
  Product productId = Product::kUnsupported;
  std::string release;
  bool warningEnabled = true;
  bool criticalEnabled = true;
  std::string extraPredicate;
  std::string serviceClass;
  std::string period;
  std::string indexWarning;
  std::string indexCritical;
  std::string ioWarning;
  std::string ioCritical;
  std::string storageWarning;
  std::string storageCritical;
  std::string cpuWarning;
  std::string cpuCritical;
  std::string busyThreshold;
  std::int32_t impliedDecimals = 0;
  std::int32_t appendZeros = 0;
  bool isFloat = false;
  std::optional<std::string> parmsText;
  std::optional<std::string> situationText;
};

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_EXCEPTION_DEFINITION_H_
