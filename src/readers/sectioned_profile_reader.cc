#include "readers/sectioned_profile_reader.h"

#include <array>
#include <string>

#include "platform/text.h"
#include "readers/service_class_row_reader.h"

namespace tornvel {

namespace {

// Field sizes of the column token, the table name and a column value, in bytes.
constexpr std::size_t kColumnCapacity = 20;
constexpr std::size_t kTableNameCapacity = 40;
constexpr std::size_t kValueCapacity = 40;

constexpr Delimiters kColumnEnd("( \n");
constexpr Delimiters kValueEnd(")\n");
constexpr Delimiters kTableNameEnd(", \n");

constexpr std::string_view kBeginProfile = "Begin Profile";
constexpr std::string_view kBeginSection = "Begin Section";
constexpr std::string_view kBeginTable = "Begin Table PR.";
constexpr std::string_view kBeginRow = "Begin Row";
constexpr std::string_view kEndPrefix = "End ";
constexpr std::string_view kEndProfile = "End Profile";
constexpr std::string_view kEndSection = "End Section";
constexpr std::string_view kEndTable = "End Table";
constexpr std::string_view kEndRow = "End Row";
constexpr std::string_view kWorkloadTable = "WLM";

// Key columns and control tables whose columns are never thresholds, so an
// unmatched one is not worth reporting.
constexpr std::array<std::string_view, 3> kUntalliedColumns{"ID", "USERID", "NAME"};
constexpr std::array<std::string_view, 5> kUntalliedTables{"TERMINAL_CONTROL", "STATUS_CTL_V105",
                                                           "TRENDS", "CONSOLE_AND_HIST", "DOMAINS"};

bool contains(std::string_view line, std::string_view text) {
  return line.find(text) != std::string_view::npos;
}

template <std::size_t N>
bool isOneOf(std::string_view text, const std::array<std::string_view, N>& list) {
  for (std::string_view entry : list) {
    if (text == entry) return true;
  }
  return false;
}

bool isThresholdKind(char kind) { return kind == 'W' || kind == 'C'; }

// The two halves of splitColumnLine: the column token with the exception name
// and kind, then the value. The tokenizer that the first returns is where the
// second goes on.
Tokenizer splitColumnToken(std::string_view line, ColumnLine& result) {
  if (line.empty()) return Tokenizer(std::string_view());
  Tokenizer tokens(line.substr(1));
  auto column = tokens.next(kColumnEnd);
  if (!column) return tokens;
  result.column = cutToCapacity(*column, kColumnCapacity);
  result.exceptionName = result.column.substr(0, result.column.size() - 1);
  result.kind = result.column.back();
  return tokens;
}

void splitColumnValue(Tokenizer& tokens, ColumnLine& result) {
  if (auto value = tokens.next(kValueEnd)) result.value = cutToCapacity(*value, kValueCapacity);
}

class SectionedProfileReader {
 public:
  explicit SectionedProfileReader(ProfileContext& context) : context_(context) {}

  void run() {
    while (takeLine()) {
      if (!examine()) break;
    }
    tally_.print(context_.console);
  }

 private:
  // The line loop's next line: the look-ahead line left over, else a new one.
  bool takeLine() {
    if (lookAheadPending_) {
      line_ = lookAhead_;
      lookAheadPending_ = false;
      return true;
    }
    return context_.profile.readLineView(line_, LineReader::kLineLimit);
  }

  // Handles the current line; false when reading has to stop. The first rule
  // that applies decides: a level's Begin line counts only while that level is
  // off and its End line only while it is on, wherever the text stands.
  bool examine() {
    std::string_view line = line_;
    if (!line.empty() && line[0] == '*') return true;
    // Every End text begins with "End ": a line without it, as every column
    // line of a row is, needs no look for each of them.
    const bool mayEnd = contains(line, kEndPrefix);
    if (!inProfile_ && contains(line, kBeginProfile)) {
      inProfile_ = true;
    } else if (!inSection_ && contains(line, kBeginSection)) {
      inSection_ = true;
    } else if (!inTable_ && contains(line, kBeginTable)) {
      takeTableName(line.substr(line.find(kBeginTable) + kBeginTable.size()));
      inTable_ = true;
    } else if (!inRow_ && contains(line, kBeginRow)) {
      inRow_ = true;
    } else if (inProfile_ && mayEnd && contains(line, kEndProfile)) {
      inProfile_ = false;
    } else if (inSection_ && mayEnd && contains(line, kEndSection)) {
      inSection_ = false;
    } else if (inTable_ && mayEnd && contains(line, kEndTable)) {
      tableName_.clear();
      inTable_ = false;
    } else if (inRow_ && mayEnd && contains(line, kEndRow)) {
      inRow_ = false;
    } else if (!inRow_) {
      // Outside a row nothing is read.
    } else if (tableName_ == kWorkloadTable) {
      return readServiceClassRow();
    } else {
      return readThresholdColumn();
    }
    return true;
  }

  void takeTableName(std::string_view rest) {
    Tokenizer tokens(rest);
    auto name = tokens.next(kTableNameEnd);
    tableName_.assign(name ? cutToCapacity(*name, kTableNameCapacity) : std::string_view());
  }

  // The row reader takes the current line as the row's first line and reads the
  // rest of the row, its "End Row" line included.
  bool readServiceClassRow() {
    ServiceClassRow row =
        ServiceClassRowReader::read(context_.profile, line_, context_.currentRelease);
    if (!row.missing.empty()) {
      const ServiceClassThresholds& given = *row.definition->serviceClass();
      context_.findings.incompleteRows.push_back(
          {given.className, given.period, std::move(row.missing)});
    }
    context_.table.append(std::move(row.definition));
    if (context_.table.full()) {
      printLimitWarning(context_.console);
      return false;
    }
    inRow_ = false;
    clearHeld();
    return true;
  }

  bool readThresholdColumn() {
    ColumnLine column;
    Tokenizer rest = splitColumnToken(line_, column);
    if (column.column.empty()) return true;
    ExceptionDefinition* definition = context_.table.findFirst(column.exceptionName);
    if (definition == nullptr) {
      noteUnhandled(column);
      return true;
    }
    // A column of neither kind, or one without a value, holds nothing. Only
    // such a column's value is looked for.
    if (!isThresholdKind(column.kind)) return true;
    splitColumnValue(rest, column);
    if (!column.value) return true;
    heldDefinition_ = definition;
    heldName_.assign(column.exceptionName);
    hold(column.kind, *column.value);
    return pairByLookingAhead();
  }

  // The warning and critical columns of one exception usually stand on
  // consecutive lines; both are applied together. Lines of the same exception
  // are consumed; the first line that is not stays for the line loop. False
  // when the profile ended while looking ahead.
  bool pairByLookingAhead() {
    while (!(warningHeld_ && criticalHeld_)) {
      if (!context_.profile.readLineView(lookAhead_, LineReader::kLineLimit)) {
        apply();
        return false;
      }
      ColumnLine next = splitColumnLine(lookAhead_);
      if (!continuesHeldException(next)) {
        apply();
        lookAheadPending_ = true;
        return true;
      }
      hold(next.kind, *next.value);
    }
    apply();
    return true;
  }

  // A comment line never pairs: a commented-out column must not be applied
  // just because the other column of its exception stands right before it.
  bool continuesHeldException(const ColumnLine& next) const {
    if (!lookAhead_.empty() && lookAhead_[0] == '*') return false;
    return !next.column.empty() && next.exceptionName == heldName_ && isThresholdKind(next.kind) &&
           next.value.has_value();
  }

  // A later text of the same kind replaces the one held before.
  void hold(char kind, std::string_view value) {
    if (kind == 'W') {
      warning_.assign(value);
      warningLine_ = context_.profile.lineNumber();
      warningHeld_ = true;
    } else {
      critical_.assign(value);
      criticalLine_ = context_.profile.lineNumber();
      criticalHeld_ = true;
    }
  }

  // Hands the held texts, upper-cased, to the definition, warning first.
  void apply() {
    if (warningHeld_) {
      upperCaseInPlace(warning_);
      heldDefinition_->setWarningFromProfile(warning_, warningLine_);
    }
    if (criticalHeld_) {
      upperCaseInPlace(critical_);
      heldDefinition_->setCriticalFromProfile(critical_, criticalLine_);
    }
    clearHeld();
  }

  void clearHeld() {
    heldDefinition_ = nullptr;
    warningHeld_ = false;
    criticalHeld_ = false;
  }

  // Only columns inside a table count, key columns and control tables not.
  // A threshold column, of either letter case, that nearly names an
  // exception is told by its exception name; the rest are kept only when
  // asked for (the tally only in verbose runs), and then looked at further.
  void noteUnhandled(const ColumnLine& column) {
    if (!inTable_) return;
    const bool threshold = isThresholdKind(column.kind) || column.kind == 'w' || column.kind == 'c';
    const bool nearly = threshold && context_.nearMisses.nearMiss(column.exceptionName);
    if (!nearly && !context_.keepUnhandled && !context_.verbose) return;
    if (isOneOf(column.column, kUntalliedColumns) || isOneOf(tableName_, kUntalliedTables)) return;
    const std::size_t line = context_.profile.lineNumber();
    if (context_.keepUnhandled) context_.findings.noteUnhandled(column.column, line, tableName_);
    if (nearly) context_.noteNearMiss(column.exceptionName, line);
    if (context_.verbose) tally_.count(column.column, tableName_);
  }

  ProfileContext& context_;
  // The line being examined and the line read ahead, as the profile reader
  // shows them: valid until its next read. Whatever outlives a read (the held
  // name and texts) is copied; a pending look-ahead line is taken up before
  // anything else is read.
  std::string_view line_;
  std::string_view lookAhead_;
  bool lookAheadPending_ = false;

  bool inProfile_ = false;
  bool inSection_ = false;
  bool inTable_ = false;
  bool inRow_ = false;
  std::string tableName_;

  // The threshold held while an exception's columns are paired.
  ExceptionDefinition* heldDefinition_ = nullptr;
  std::string heldName_;
  std::string warning_;
  std::string critical_;
  bool warningHeld_ = false;
  bool criticalHeld_ = false;
  std::size_t warningLine_ = 0;
  std::size_t criticalLine_ = 0;

  UnhandledColumnTally tally_;
};

}  // namespace

ColumnLine splitColumnLine(std::string_view line) {
  ColumnLine result;
  Tokenizer tokens = splitColumnToken(line, result);
  if (!result.column.empty()) splitColumnValue(tokens, result);
  return result;
}

void readSectionedProfile(ProfileContext& context) { SectionedProfileReader(context).run(); }

}  // namespace tornvel
