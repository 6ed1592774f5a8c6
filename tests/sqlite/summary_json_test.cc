// The summary line read back by a JSON parser (SQLite's JSON functions): it
// is valid JSON, its members come in the agreed order, and its texts, also
// those of inputs that are no valid UTF-8, read back as written.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <utility>

#include "driver/summary.h"

namespace tornvel {
namespace {

// The value that the query `sql` gives with `line` bound to its ?, as text.
std::string valueOf(const char* sql, const std::string& line) {
  sqlite3* db = nullptr;
  sqlite3_stmt* stmt = nullptr;
  std::string value = "(no value)";
  if (sqlite3_open(":memory:", &db) == SQLITE_OK &&
      sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK) {
    sqlite3_bind_text(stmt, 1, line.data(), static_cast<int>(line.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0) != nullptr) {
      value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return value;
}

TEST(SummaryJsonTest, LineParsesWithMembersInOrderAndTextsAsWritten) {
  RunSummary summary;
  summary.profile = "PROF\xE9.TXT";  // a Latin-1 name: no valid UTF-8
  summary.unhandled = {{"QPX", 3, "DEVICE"}};
  summary.warnings = {{kindWord(DiagnosticKind::kLongLine), "PROF\xE9.TXT", 9, "line 9 \"cut\"\t\x01"}};
  const std::string line = summaryLine(summary);
  EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
  const std::pair<const char*, const char*> queries[] = {
      {"SELECT json_valid(?)", "1"},
      {"SELECT group_concat(key, ' ') FROM json_each(?)",
       "format version profile product productCode fileCode control statementFile exit dryRun "
       "strict counts unhandled warnings errors outputs"},
      {"SELECT json_extract(?, '$.profile')", "PROF\xEF\xBF\xBD.TXT"},
      {"SELECT json_type(?, '$.control')", "null"},
      {"SELECT json_extract(?, '$.unhandled[0].table')", "DEVICE"},
      {"SELECT json_extract(?, '$.warnings[0].kind')", "long-line"},
      {"SELECT json_extract(?, '$.warnings[0].message')", "line 9 \"cut\"\t\x01"},
  };
  for (const auto& [sql, expected] : queries) EXPECT_EQ(valueOf(sql, line), expected) << sql;
}

}  // namespace
}  // namespace tornvel
