#include "driver/summary.h"

#include "platform/json_text.h"

namespace tornvel {
namespace {

// Appends `"name":` after a comma, or after the opening brace for the first
// member of an object; returns `out`, for the value to follow.
std::string& appendKey(std::string& out, std::string_view name) {
  if (out.back() != '{') out += ',';
  appendJsonString(out, name);
  out += ':';
  return out;
}

void appendCounts(std::string& out, const SummaryCounts& counts) {
  out += '{';
  appendJsonNumber(appendKey(out, "definitions"), counts.definitions);
  appendJsonNumber(appendKey(out, "thresholds"), counts.thresholds);
  appendJsonNumber(appendKey(out, "statements"), counts.statements);
  appendJsonNumber(appendKey(out, "templateRows"), counts.templateRows);
  appendJsonNumber(appendKey(out, "thresholdLines"), counts.thresholdLines);
  appendJsonNumber(appendKey(out, "unhandled"), counts.unhandled);
  out += '}';
}

void appendEntry(std::string& out, const SummaryUnhandled& entry) {
  out += '{';
  appendJsonString(appendKey(out, "name"), entry.name);
  appendJsonNumber(appendKey(out, "line"), entry.line);
  if (entry.table) {
    appendJsonString(appendKey(out, "table"), *entry.table);
  }
  out += '}';
}

void appendEntry(std::string& out, const SummaryDiagnostic& entry) {
  out += '{';
  appendJsonString(appendKey(out, "kind"), entry.kind);
  appendJsonStringOrNull(appendKey(out, "file"), entry.file);
  appendJsonNumberOrNull(appendKey(out, "line"), entry.line);
  appendJsonString(appendKey(out, "message"), entry.message);
  out += '}';
}

void appendEntry(std::string& out, const SummaryOutput& entry) {
  out += '{';
  appendJsonString(appendKey(out, "name"), entry.name);
  appendJsonString(appendKey(out, "path"), entry.path);
  appendJsonNumber(appendKey(out, "size"), entry.size);
  appendJsonString(appendKey(out, "fate"), fateWord(entry.fate));
  out += '}';
}

template <typename Entry>
void appendArray(std::string& out, const std::vector<Entry>& entries) {
  out += '[';
  for (const Entry& entry : entries) {
    if (out.back() != '[') out += ',';
    appendEntry(out, entry);
  }
  out += ']';
}

}  // namespace

std::string_view kindWord(DiagnosticKind kind) {
  switch (kind) {
    case DiagnosticKind::kNotASwitch:
      return "not-a-switch";
    case DiagnosticKind::kControlFileReplaced:
      return "control-file-replaced";
    case DiagnosticKind::kUnmarkedUtf16:
      return "unmarked-utf16";
    case DiagnosticKind::kLongLine:
      return "long-line";
    case DiagnosticKind::kCutField:
      return "cut-field";
    case DiagnosticKind::kReservedName:
      return "reserved-name";
    case DiagnosticKind::kNotANumber:
      return "not-a-number";
    case DiagnosticKind::kIncompleteRow:
      return "incomplete-row";
    case DiagnosticKind::kNoThresholds:
      return "no-thresholds";
    case DiagnosticKind::kEmptyProfile:
      return "empty-profile";
    case DiagnosticKind::kNoAdviceFile:
      return "no-advice-file";
    case DiagnosticKind::kNearMissName:
      return "near-miss-name";
    case DiagnosticKind::kRepeatedValue:
      return "repeated-value";
    case DiagnosticKind::kCannotOpen:
      return "cannot-open";
    case DiagnosticKind::kCannotRead:
      return "cannot-read";
    case DiagnosticKind::kCannotWrite:
      return "cannot-write";
    case DiagnosticKind::kSameFile:
      return "same-file";
    case DiagnosticKind::kLeftover:
      return "leftover";
    case DiagnosticKind::kLeftBehind:
      return "left-behind";
    case DiagnosticKind::kStandardOutput:
      return "standard-output";
    case DiagnosticKind::kNoDefinitions:
      return "no-definitions";
    case DiagnosticKind::kUnknownProduct:
      return "unknown-product";
  }
  return "";
}

std::string_view fateWord(OutputFate fate) {
  switch (fate) {
    case OutputFate::kReplaced:
      return "replaced";
    case OutputFate::kCreated:
      return "created";
    case OutputFate::kAppended:
      return "appended";
    case OutputFate::kWritten:
      return "written";
    case OutputFate::kUnchanged:
      return "unchanged";
  }
  return "";
}

std::string summaryLine(const RunSummary& summary) {
  std::string out = "{";
  appendJsonNumber(appendKey(out, "format"), kSummaryFormat);
  appendJsonString(appendKey(out, "version"), summary.version);
  appendJsonString(appendKey(out, "profile"), summary.profile);
  appendJsonString(appendKey(out, "product"), summary.product);
  appendJsonString(appendKey(out, "productCode"), summary.productCode);
  appendJsonString(appendKey(out, "fileCode"), summary.fileCode);
  appendJsonStringOrNull(appendKey(out, "control"), summary.control);
  appendJsonString(appendKey(out, "statementFile"), summary.statementFile);
  appendJsonNumber(appendKey(out, "exit"), static_cast<int>(summary.exitCode));
  appendJsonBool(appendKey(out, "dryRun"), summary.dryRun);
  appendJsonBool(appendKey(out, "strict"), summary.strict);
  appendCounts(appendKey(out, "counts"), summary.counts);
  appendArray(appendKey(out, "unhandled"), summary.unhandled);
  appendArray(appendKey(out, "warnings"), summary.warnings);
  appendArray(appendKey(out, "errors"), summary.errors);
  appendArray(appendKey(out, "outputs"), summary.outputs);
  out += "}\n";
  return out;
}

}  // namespace tornvel
