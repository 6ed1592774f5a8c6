#include "driver/summary.h"

#include "platform/json_text.h"

namespace tornvel {
namespace {

// Appends `"name":` after a comma, or after the opening brace for the first
// member of an object.
void appendKey(std::string& out, std::string_view name) {
  if (out.back() != '{') out += ',';
  appendJsonString(out, name);
  out += ':';
}

void appendCounts(std::string& out, const SummaryCounts& counts) {
  out += '{';
  appendKey(out, "definitions");
  appendJsonNumber(out, counts.definitions);
  appendKey(out, "thresholds");
  appendJsonNumber(out, counts.thresholds);
  appendKey(out, "statements");
  appendJsonNumber(out, counts.statements);
  appendKey(out, "templateRows");
  appendJsonNumber(out, counts.templateRows);
  appendKey(out, "thresholdLines");
  appendJsonNumber(out, counts.thresholdLines);
  appendKey(out, "unhandled");
  appendJsonNumber(out, counts.unhandled);
  out += '}';
}

void appendEntry(std::string& out, const SummaryUnhandled& entry) {
  out += '{';
  appendKey(out, "name");
  appendJsonString(out, entry.name);
  appendKey(out, "line");
  appendJsonNumber(out, entry.line);
  if (entry.table) {
    appendKey(out, "table");
    appendJsonString(out, *entry.table);
  }
  out += '}';
}

void appendEntry(std::string& out, const SummaryDiagnostic& entry) {
  out += '{';
  appendKey(out, "kind");
  appendJsonString(out, entry.kind);
  appendKey(out, "file");
  appendJsonStringOrNull(out, entry.file);
  appendKey(out, "line");
  appendJsonNumberOrNull(out, entry.line);
  appendKey(out, "message");
  appendJsonString(out, entry.message);
  out += '}';
}

void appendEntry(std::string& out, const SummaryOutput& entry) {
  out += '{';
  appendKey(out, "name");
  appendJsonString(out, entry.name);
  appendKey(out, "path");
  appendJsonString(out, entry.path);
  appendKey(out, "size");
  appendJsonNumber(out, entry.size);
  appendKey(out, "fate");
  appendJsonString(out, fateWord(entry.fate));
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
  appendKey(out, "format");
  appendJsonNumber(out, kSummaryFormat);
  appendKey(out, "version");
  appendJsonString(out, summary.version);
  appendKey(out, "profile");
  appendJsonString(out, summary.profile);
  appendKey(out, "product");
  appendJsonString(out, summary.product);
  appendKey(out, "productCode");
  appendJsonString(out, summary.productCode);
  appendKey(out, "fileCode");
  appendJsonString(out, summary.fileCode);
  appendKey(out, "control");
  appendJsonStringOrNull(out, summary.control);
  appendKey(out, "statementFile");
  appendJsonString(out, summary.statementFile);
  appendKey(out, "exit");
  appendJsonNumber(out, static_cast<int>(summary.exitCode));
  appendKey(out, "dryRun");
  appendJsonBool(out, summary.dryRun);
  appendKey(out, "strict");
  appendJsonBool(out, summary.strict);
  appendKey(out, "counts");
  appendCounts(out, summary.counts);
  appendKey(out, "unhandled");
  appendArray(out, summary.unhandled);
  appendKey(out, "warnings");
  appendArray(out, summary.warnings);
  appendKey(out, "errors");
  appendArray(out, summary.errors);
  appendKey(out, "outputs");
  appendArray(out, summary.outputs);
  out += "}\n";
  return out;
}

}  // namespace tornvel
