#include "definitions/exception_definition.h"

#include <algorithm>
#include <utility>

#include "platform/text.h"

namespace tornvel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "ON", "On" and "on" are on-words; only the first two characters count.
// Both are asked of every profile value, so they look at the characters
// themselves instead of comparing whole texts three times.
bool beginsWithOnWord(std::string_view text) {
  if (text.size() < 2) return false;
  return (text[0] == 'O' && (text[1] == 'N' || text[1] == 'n')) ||
         (text[0] == 'o' && text[1] == 'n');
}

bool isOffWord(std::string_view text) {
  if (text.size() != 3) return false;
  return (text[0] == 'O' &&
          ((text[1] == 'F' && text[2] == 'F') || (text[1] == 'f' && text[2] == 'f'))) ||
         (text[0] == 'o' && text[1] == 'f' && text[2] == 'f');
}

// A field of `capacity` bytes keeps at most capacity - 1 characters.
void cutToFieldCapacity(std::string& text, std::size_t capacity) {
  if (text.size() >= capacity) text.resize(capacity - 1);
}

}  // namespace

// The point goes before the last `decimals` characters when the text has that
// many; one leading "0" of the result is dropped. Only the first character is
// checked for being a digit. "1000" with one decimal is the one exception: it
// becomes "100" (a percentage of 100.0 written without its decimal).
void insertImpliedDecimals(std::string& text, int decimals) {
  if (text.empty() || !isDigit(text[0]) || decimals == 0) return;
  if (decimals == 1 && text == "1000") {
    text = "100";
    return;
  }
  if (decimals > 0 && text.size() >= static_cast<std::size_t>(decimals)) {
    text.insert(text.size() - static_cast<std::size_t>(decimals), 1, '.');
  }
  if (!text.empty() && text[0] == '0') text.erase(0, 1);
}

ExceptionDefinition::ExceptionDefinition(const DefinitionInputs& in) : product_(in.product) {
  assignField(recordedCode_, in.recordedCode, field::kProduct);
  assignField(release_, in.release, field::kRelease);
  assignField(name_, in.name, field::kName);
  assignField(attribute_, in.attribute, field::kAttribute);

  if (in.typeText) {
    std::string_view type = *in.typeText;
    const char letter = type.empty() ? '\0' : type[0];
    switch (letter) {
      case 'I':
        break;
      case 'F':
        valueType_ = ValueType::kFloat;  // printed as "I", like an integer type
        break;
      case 'B':
        valueType_ = ValueType::kBoolean;
        typeLetter_ = letter;
        break;
      default:
        valueType_ = ValueType::kOther;
        typeLetter_ = letter;
    }
    if (type.size() == 2) impliedDecimals_ = type[1] - '0';
  }

  if (in.warningSituation) {
    assignField(warning_.situation, *in.warningSituation, field::kSituation);
  } else {
    assignField(warning_.situation, recordedCode_ + "_" + name_ + "_Warning", field::kSituation);
  }
  if (in.criticalSituation) {
    assignField(critical_.situation, *in.criticalSituation, field::kSituation);
  } else {
    assignField(critical_.situation, recordedCode_ + "_" + name_ + "_Critical", field::kSituation);
  }

  if (takesNumbers()) {
    critical_.comparison = "*GE";
    warning_.comparison = "*GE";
    warningUpper_.comparison = "*LT";
  } else {
    critical_.comparison = "*EQ";
  }

  // A row's definition is named "SVCL"; so may a control file name one, which
  // then takes the service-class path with empty texts.
  if (in.serviceClass) name_ = kServiceClassName;
  if (product_ != Product::kSystem || name_ != kServiceClassName) return;
  ServiceClassThresholds& thresholds =
      serviceClass_.emplace(in.serviceClass.value_or(ServiceClassThresholds{}));
  cutToFieldCapacity(thresholds.className, field::kServiceClass);
  cutToFieldCapacity(thresholds.period, field::kPeriod);
  for (ThresholdPair& pair : thresholds.resources) {
    cutToFieldCapacity(pair.warning, field::kWorkload);
    cutToFieldCapacity(pair.critical, field::kWorkload);
  }
  cutToFieldCapacity(thresholds.busy, field::kWorkload);
}

void ExceptionDefinition::setCriticalCondition(std::string_view op, OptionalText onValue) {
  assignField(critical_.comparison, op, field::kOperator);
  if (onValue) assignField(critical_.onValue, *onValue, field::kValue);
}

void ExceptionDefinition::setWarningCondition(std::string_view op, OptionalText onValue,
                                              OptionalText upperOperator, OptionalText upperValue) {
  if (op == "None") {
    warning_.enabled = false;
    return;
  }
  assignField(warning_.comparison, op, field::kOperator);
  if (onValue) assignField(warning_.onValue, *onValue, field::kValue);
  if (upperOperator) assignField(warningUpper_.comparison, *upperOperator, field::kOperator);
  if (upperValue) assignField(warningUpper_.value, *upperValue, field::kValue);
}

void ExceptionDefinition::setExtraPredicate(std::string_view text) {
  assignField(extraPredicate_, text, field::kExtraPredicate);
}

// A negative count means nothing sensible and appends no zeros; a huge one is
// capped so that a value cannot grow without bound.
void ExceptionDefinition::setAppendZeros(std::string_view text) {
  appendZeros_ = std::clamp(toInt32Saturating(text), 0, kMaxAppendZeros);
}

std::string_view ExceptionDefinition::setWarningFromProfile(std::string_view text,
                                                            std::size_t line) {
  if (!warning_.enabled) return text;
  if (valueType_ == ValueType::kBoolean) {
    if (beginsWithOnWord(text)) {
      warning_.value = warning_.onValue.empty() ? std::string("True") : warning_.onValue;
      warning_.enabled = true;
      warning_.line = 0;
    } else if (isOffWord(text)) {
      warning_.value = "0";
      warning_.enabled = false;
      return text;
    }
    warning_.given.note(text, line);
    return text;
  }
  if (isOffWord(text)) {
    warning_.enabled = false;
    return text;
  }
  return storeValue(warning_, warningNormalised_, text, line);
}

// Deliberately not the mirror image of the warning setter: it does not test its
// enable flag, a type "B" critical is switched off by anything but an on-word,
// and on-words are recognised for every type.
std::string_view ExceptionDefinition::setCriticalFromProfile(std::string_view text,
                                                             std::size_t line) {
  if (valueType_ == ValueType::kBoolean) {
    if (beginsWithOnWord(text)) {
      critical_.value = critical_.onValue.empty() ? std::string("True") : critical_.onValue;
      critical_.line = 0;
      critical_.given.note(text, line);
    } else {
      critical_.enabled = false;
    }
    return text;
  }
  if (beginsWithOnWord(text)) {
    critical_.value = critical_.onValue.empty() ? std::string("0") : critical_.onValue;
    critical_.line = 0;
    critical_.given.note(text, line);
    return text;
  }
  if (isOffWord(text)) {
    critical_.enabled = false;
    return text;
  }
  return storeValue(critical_, criticalNormalised_, text, line);
}

// A value stored as the profile gave it needs no look now: whether it is a
// number shows in the stored text (nonNumberValue). A normalised one is looked
// at before normalising changes it; that is rare, and is done on a copy anyway.
std::string_view ExceptionDefinition::storeValue(Condition& condition, std::string& normalised,
                                                 std::string_view text, std::size_t line) {
  condition.given.note(text, line);
  condition.line = line;
  if (keepsValuesAsGiven()) {
    assignField(condition.value, text, field::kValue);
    return text;
  }
  return storeNormalised(condition, normalised, text);
}

std::string_view ExceptionDefinition::storeNormalised(Condition& condition, std::string& normalised,
                                                      std::string_view text) {
  if (!condition.givenNonNumber.empty()) condition.givenNonNumber.clear();
  if (takesNumbers() && !isNumberText(text)) condition.givenNonNumber = text;
  // Normalised in the field itself; only a text that the field cuts is kept
  // whole in `normalised`, for the caller.
  condition.value.assign(text);
  normaliseValue(condition.value);
  if (condition.value.size() < field::kValue) return condition.value;
  normalised.swap(condition.value);
  assignField(condition.value, normalised, field::kValue);
  return normalised;
}

void ExceptionDefinition::normaliseValue(std::string& text) const {
  if (impliedDecimals_ != 0) {
    insertImpliedDecimals(text, impliedDecimals_);
  } else if (appendZeros_ != 0) {
    appendZerosTo(text);
  } else if (valueType_ == ValueType::kFloat) {
    text += ".0";
  }
}

std::string_view ExceptionDefinition::nonNumberValue(Severity severity) const {
  const Condition& condition = this->condition(severity);
  if (!takesNumbers() || condition.line == 0 || !condition.enabled || condition.value.empty()) {
    return {};
  }
  if (!keepsValuesAsGiven()) return condition.givenNonNumber;
  return isNumberText(condition.value) ? std::string_view() : std::string_view(condition.value);
}

void ExceptionDefinition::appendZerosTo(std::string& text) const {
  if (text.empty() || !isDigit(text[0]) || appendZeros_ == 0) return;
  if (valueType_ == ValueType::kFloat) text += '.';
  text.append(static_cast<std::size_t>(appendZeros_), '0');
}

}  // namespace tornvel
