#include "statements/service_class_statements.h"

#include <iterator>
#include <string_view>

#include "platform/text.h"
#include "statements/quoted_text.h"

namespace tornvel {

namespace {

using Threshold = std::string ServiceClassThresholds::*;

// What distinguishes the four kinds. The critical threshold doubles as the
// upper bound of the warning band.
struct Kind {
  std::string_view attribute;
  std::string_view textInfix;
  std::string_view namePart;  // follows "ZR5_" or "OS390_" in the situation name
  Threshold warning;
  Threshold critical;
};

constexpr Kind kKinds[] = {
    {"MWLMPR.PERHINDX", " ", "", &ServiceClassThresholds::indexWarning,
     &ServiceClassThresholds::indexCritical},
    {"MWLMPR.IORATE", " I/O ", "IO_", &ServiceClassThresholds::ioWarning,
     &ServiceClassThresholds::ioCritical},
    {"MWLMPR.AVGSTOR", " STG ", "STG_", &ServiceClassThresholds::storageWarning,
     &ServiceClassThresholds::storageCritical},
    {"MWLMPR.PCTCPU", " CPU ", "CPU_", &ServiceClassThresholds::cpuWarning,
     &ServiceClassThresholds::cpuCritical},
};

static_assert(std::size(kKinds) == kServiceClassKinds, "one entry per service-class kind");

const Kind* findKind(int kind) {
  if (kind < 0 || kind >= kServiceClassKinds) return nullptr;
  return &kKinds[kind];
}

// The threshold that decides whether the kind is on: the warning's lower bound
// or the critical value.
const std::string& testedThreshold(const ServiceClassThresholds& thresholds, const Kind& kind,
                                   Severity severity) {
  return thresholds.*(severity == Severity::kWarning ? kind.warning : kind.critical);
}

// A threshold as it is tested against "OFF", and as it is then written into the
// formula: upper-cased, so that "off" in any letter case switches it off. The
// definition keeps the text as the profile gave it.
std::string asTested(const std::string& threshold) {
  std::string tested = threshold;
  upperCaseInPlace(tested);
  return tested;
}

bool isOff(std::string_view tested) { return tested == "OFF"; }

// Kind 0 is never switched off and its thresholds are never tested.
bool kindSwitchedOff(const ServiceClassThresholds& thresholds, int kind, const Kind& traits,
                     Severity severity) {
  return kind != 0 && isOff(asTested(testedThreshold(thresholds, traits, severity)));
}

// Situations of release V100 keep the product's own names; later releases use
// the names of the OS390 situation set.
void appendSituationName(std::string& out, const ExceptionDefinition& definition, const Kind& kind,
                         Severity severity) {
  const bool v100 = definition.release == "V100";
  out += v100 ? "ZR5_" : "OS390_";
  out += kind.namePart;
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
std::string serviceClassFormula(const ServiceClassThresholds& thresholds, int kind,
                                const Kind& traits, Severity severity) {
  std::string formula = "*IF *VALUE MWLMPR.CLSNAME *EQ ";
  formula += thresholds.className;
  formula += " *AND *VALUE MWLMPR.PERIODNUM *EQ ";
  formula += thresholds.period;
  if (kind == 0) {
    const std::string busy = asTested(thresholds.busy);
    if (!isOff(busy)) appendGreaterOrEqual(formula, "MWLMPR.BUSY", busy);
  }
  const std::string& threshold = testedThreshold(thresholds, traits, severity);
  appendGreaterOrEqual(formula, traits.attribute, kind == 0 ? threshold : asTested(threshold));
  if (severity == Severity::kCritical) return formula;
  // The band's upper bound is the critical value; kind 0 always has one.
  const std::string& upper = thresholds.*traits.critical;
  const std::string tested = kind == 0 ? upper : asTested(upper);
  if (kind == 0 || !isOff(tested)) {
    formula += " *AND *VALUE ";
    formula += traits.attribute;
    formula += " *LT ";
    formula += tested;
  }
  return formula;
}

}  // namespace

BuildResult buildServiceClassStatement(const ExceptionDefinition& definition, Severity severity,
                                       std::string& output, std::string_view timestamp, int kind,
                                       std::string_view head) {
  output.clear();
  const Kind* traits = findKind(kind);
  if (traits == nullptr || !isServiceClass(definition)) return BuildResult::kDeclined;
  const ServiceClassThresholds& thresholds = *definition.serviceClass();
  if (kindSwitchedOff(thresholds, kind, *traits, severity)) {
    return BuildResult::kDeclined;
  }
  output.assign(head);
  output += '"';
  appendQuoted(output, timestamp);
  output += "\",\"";
  std::size_t quoted = output.size();
  output += "Service Class ";
  output += thresholds.className;
  output += " Period ";
  output += thresholds.period;
  output += traits->textInfix;
  output += severity == Severity::kWarning ? "Warning situation" : "Critical situation";
  quoteFrom(output, quoted);
  output += "\",\"";
  quoted = output.size();
  appendSituationName(output, definition, *traits, severity);
  quoteFrom(output, quoted);
  output += "\",\"";
  appendQuoted(output, serviceClassFormula(thresholds, kind, *traits, severity));
  output += "\");\n";
  return BuildResult::kWritten;
}

// A kind outside 0 to 3 has no situation, so it gets no row either.
BuildResult buildTemplateRow(const ExceptionDefinition& definition, Severity severity,
                             std::string& output, int kind) {
  output.clear();
  const Kind* traits = findKind(kind);
  if (traits == nullptr || !isServiceClass(definition)) return BuildResult::kDeclined;
  const ServiceClassThresholds& thresholds = *definition.serviceClass();
  if (kindSwitchedOff(thresholds, kind, *traits, severity)) {
    return BuildResult::kDeclined;
  }
  output.assign("INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"");
  const std::size_t name = output.size();
  appendSituationName(output, definition, *traits, severity);
  quoteFrom(output, name);
  output += severity == Severity::kWarning ? "\", \"Warning\"" : "\", \"Critical\"";
  output += ", \"WLM_Service_Class_Resources\", 0 );\n";
  return BuildResult::kWritten;
}

}  // namespace tornvel
