#include "statements/service_class_statements.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text.h"
#include "statements/quoted_text.h"

namespace tornvel {

namespace {

// What distinguishes the four resources' situations.
struct Traits {
  std::string_view attribute;
  std::string_view textInfix;
  std::string_view namePart;  // follows "ZR5_" or "OS390_" in the situation name
};

constexpr std::array<Traits, kResourceKinds.size()> kTraits{{
    {"MWLMPR.PERHINDX", " ", ""},
    {"MWLMPR.IORATE", " I/O ", "IO_"},
    {"MWLMPR.AVGSTOR", " STG ", "STG_"},
    {"MWLMPR.PCTCPU", " CPU ", "CPU_"},
}};

const Traits& traitsOf(ResourceKind kind) { return kTraits[static_cast<std::size_t>(kind)]; }

// A threshold as it is tested against "OFF", and as it is then written into the
// formula: upper-cased, so that "off" in any letter case switches it off. The
// definition keeps the text as the profile gave it.
std::string asTested(const std::string& threshold) {
  std::string tested = threshold;
  upperCaseInPlace(tested);
  return tested;
}

bool isOff(std::string_view tested) { return tested == "OFF"; }

// What the statement and the template row of a resource have in common: the
// definition's thresholds, or none when the definition is no service class or
// the tested threshold (the warning's lower bound, or the critical value) is
// off. The performance index is never switched off and never tested.
const ServiceClassThresholds* thresholdsWhenOn(const ExceptionDefinition& definition,
                                               Severity severity, ResourceKind kind) {
  if (!isServiceClass(definition)) return nullptr;
  const ServiceClassThresholds& thresholds = *definition.serviceClass();
  if (kind != ResourceKind::kPerformanceIndex && isOff(asTested(thresholds[kind].of(severity)))) {
    return nullptr;
  }
  return &thresholds;
}

// Situations of release V100 keep the product's own names; later releases use
// the names of the OS390 situation set.
void appendSituationName(std::string& out, const ExceptionDefinition& definition, ResourceKind kind,
                         Severity severity) {
  const bool v100 = definition.release() == "V100";
  out += v100 ? "ZR5_" : "OS390_";
  out += traitsOf(kind).namePart;
  out += definition.serviceClass()->className;
  out += 'P';
  out += definition.serviceClass()->period;
  if (severity == Severity::kWarning) {
    out += v100 ? "_Warning" : "_Warn";
  } else {
    out += v100 ? "_Critical" : "_Crit";
  }
}

void appendGreaterOrEqual(std::string& out, std::string_view attribute,
                          const std::string& threshold) {
  out += " *AND *VALUE ";
  out += attribute;
  out += " *GE ";
  out += threshold;
}

// Every threshold that is tested is written as tested, upper-cased; the two
// index values are never tested and are written as they stand.
std::string serviceClassFormula(const ServiceClassThresholds& thresholds, ResourceKind kind,
                                Severity severity) {
  const bool index = kind == ResourceKind::kPerformanceIndex;
  const std::string_view attribute = traitsOf(kind).attribute;
  std::string formula = "*IF *VALUE MWLMPR.CLSNAME *EQ ";
  formula += thresholds.className;
  formula += " *AND *VALUE MWLMPR.PERIODNUM *EQ ";
  formula += thresholds.period;
  if (index) {
    const std::string busy = asTested(thresholds.busy);
    if (!isOff(busy)) appendGreaterOrEqual(formula, "MWLMPR.BUSY", busy);
  }
  const std::string& threshold = thresholds[kind].of(severity);
  appendGreaterOrEqual(formula, attribute, index ? threshold : asTested(threshold));
  if (severity == Severity::kCritical) return formula;
  // The band's upper bound is the critical value; the index always has one.
  const std::string& upper = thresholds[kind].critical;
  const std::string tested = index ? upper : asTested(upper);
  if (index || !isOff(tested)) {
    formula += " *AND *VALUE ";
    formula += attribute;
    formula += " *LT ";
    formula += tested;
  }
  return formula;
}

}  // namespace

Built buildServiceClassStatement(const ExceptionDefinition& definition, Severity severity,
                                 std::string_view timestamp, ResourceKind kind,
                                 std::string_view head) {
  if (!definition.condition(severity).enabled) return {BuildResult::kDisabled, {}};
  const ServiceClassThresholds* thresholds = thresholdsWhenOn(definition, severity, kind);
  if (thresholds == nullptr) return {BuildResult::kDeclined, {}};
  Built built;
  std::string& output = built.text;
  output.assign(head);
  output += '"';
  appendQuoted(output, timestamp);
  output += "\",\"";
  std::size_t quoted = output.size();
  output += "Service Class ";
  output += thresholds->className;
  output += " Period ";
  output += thresholds->period;
  output += traitsOf(kind).textInfix;
  output += severity == Severity::kWarning ? "Warning situation" : "Critical situation";
  quoteFrom(output, quoted);
  output += "\",\"";
  quoted = output.size();
  appendSituationName(output, definition, kind, severity);
  quoteFrom(output, quoted);
  output += "\",\"";
  appendQuoted(output, serviceClassFormula(*thresholds, kind, severity));
  output += "\");\n";
  return built;
}

Built buildTemplateRow(const ExceptionDefinition& definition, Severity severity,
                       ResourceKind kind) {
  if (thresholdsWhenOn(definition, severity, kind) == nullptr) return {BuildResult::kDeclined, {}};
  Built built;
  std::string& output = built.text;
  output.assign("INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"");
  const std::size_t name = output.size();
  appendSituationName(output, definition, kind, severity);
  quoteFrom(output, name);
  output += severity == Severity::kWarning ? "\", \"Warning\"" : "\", \"Critical\"";
  output += ", \"WLM_Service_Class_Resources\", 0 );\n";
  return built;
}

}  // namespace tornvel
