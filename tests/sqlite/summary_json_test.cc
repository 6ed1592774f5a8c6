// The summary line read back by a JSON parser (SQLite's JSON functions): it
// is valid JSON, its members come in the agreed order, and its texts, also
// those of inputs that are no valid UTF-8, read back as written; and the
// lines of an estate of whole runs, queried as a script would.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "driver/summary.h"
#include "support/run_tornvel.h"

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
  summary.warnings = {
      {kindWord(DiagnosticKind::kLongLine), "PROF\xE9.TXT", 9, "line 9 \"cut\"\t\x01"}};
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

// ---------------------------------------------------------------------------
// An estate: the shipped examples, a run whose profile is missing and a strict
// dry run that warns, each in a folder of its own, all with one summary file,
// read back with the queries a script over the estate would run.

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

struct EstateRun {
  const char* folder;   // under the estate
  const char* example;  // the shipped example copied into it, also the product typed
  const char* profile;
  const char* profileText;  // written into the folder, or nullptr for the example's
  std::vector<std::string> switches;
  int exitCode;
};

const EstateRun kEstate[] = {
    {"t5", "t5", "PROFILE.TXT", nullptr, {}, 0},
    {"w5", "w5", "TXPROD.TXT", nullptr, {}, 0},
    {"y5", "y5", "Y5PROF.TXT", nullptr, {}, 0},
    {"r5", "r5", "SYSAPROF.TXT", nullptr, {}, 0},
    {"lost", "w5", "MISSING.TXT", nullptr, {}, 12},
    {"orders", "t5", "ORDERS.TXT", "LOCKWAIT 5O 200\n", {"--strict", "--dry-run"}, 24},
};

// The rows of `sql`, each value as text ("<null>" for NULL).
Rows query(sqlite3* db, const char* sql) {
  Rows rows;
  sqlite3_stmt* stmt = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  while (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW) {
    auto& row = rows.emplace_back();
    for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
      row.emplace_back(text == nullptr ? "<null>" : text);
    }
  }
  sqlite3_finalize(stmt);
  return rows;
}

// The statements of a statement file, or the rows of a template seed file:
// the lines that begin one.
std::int64_t statementsIn(const fs::path& file) {
  const std::string text = "\n" + testing::readWholeFile(file);
  std::int64_t count = 0;
  for (const char* start : {"\nUPDATE VORDA", "\nINSERT INTO ", "\nDELETE FROM"}) {
    for (std::size_t at = text.find(start); at != std::string::npos;
         at = text.find(start, at + 1)) {
      ++count;
    }
  }
  return count;
}

TEST(SummaryEstateTest, EveryRunsLineReadsBackWithTheJsonFunctions) {
  testing::ScratchDirectory estate;
  const fs::path summaryFile = estate.path() / "runs.jsonl";
  for (const EstateRun& run : kEstate) {
    const fs::path folder = estate.path() / run.folder;
    fs::copy(fs::path(EXAMPLES_DIR) / run.example, folder, fs::copy_options::recursive);
    fs::create_directory(folder / "SQLLIB");
    if (run.profileText != nullptr) std::ofstream(folder / run.profile) << run.profileText;
    std::vector<std::string> args{"--summary=" + summaryFile.string()};
    args.insert(args.end(), run.switches.begin(), run.switches.end());
    args.insert(args.end(), {run.profile, run.example});
    const testing::RunOutcome outcome = testing::runTornvel(TORNVEL_BINARY, args, folder);
    EXPECT_EQ(outcome.exitCode, run.exitCode) << run.folder << outcome.failure << outcome.errors;
  }

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  sqlite3_exec(db, "CREATE TABLE runs (line TEXT)", nullptr, nullptr, nullptr);
  const std::string lines = testing::readWholeFile(summaryFile);
  ASSERT_TRUE(lines.ends_with("\n"));
  for (std::size_t at = 0; at < lines.size();) {
    const std::size_t end = lines.find('\n', at);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO runs VALUES (?)", -1, &insert, nullptr);
    sqlite3_bind_text(insert, 1, lines.data() + at, static_cast<int>(end - at), SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_finalize(insert);
    at = end + 1;
  }

  // One valid line per run, in the order of the runs.
  Rows expectedRuns;
  for (const EstateRun& run : kEstate) {
    std::string product = run.example;
    for (char& c : product) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    expectedRuns.push_back({"1", run.profile, product, std::to_string(run.exitCode)});
  }
  EXPECT_EQ(query(db,
                  "SELECT json_valid(line), json_extract(line, '$.profile'),"
                  " json_extract(line, '$.product'), json_extract(line, '$.exit')"
                  " FROM runs ORDER BY rowid"),
            expectedRuns);

  // Each output of a run that ended with 0: its size is the file's, and the
  // statement file holds counts.statements statements, the template seed
  // file counts.templateRows rows.
  const Rows outputs =
      query(db,
            "SELECT lower(json_extract(r.line, '$.product')), json_extract(o.value, '$.path'),"
            " json_extract(o.value, '$.fate'), json_extract(o.value, '$.size'),"
            " CASE json_extract(o.value, '$.name') WHEN json_extract(r.line, '$.statementFile')"
            " THEN json_extract(r.line, '$.counts.statements')"
            " ELSE json_extract(r.line, '$.counts.templateRows') END"
            " FROM runs r, json_each(r.line, '$.outputs') o"
            " WHERE json_extract(r.line, '$.exit') = 0 ORDER BY r.rowid, o.key");
  Rows outputNames;
  for (const auto& row : outputs) {
    outputNames.push_back({row[0], row[1], row[2]});
    const fs::path file = estate.path() / row[0] / row[1];
    EXPECT_EQ(row[3], std::to_string(fs::file_size(file))) << file;
    EXPECT_EQ(row[4], std::to_string(statementsIn(file))) << file;
    EXPECT_GT(statementsIn(file), 0) << file;
  }
  EXPECT_EQ(outputNames, (Rows{{"t5", "SQLLIB/ZT5_UPD.SQL", "created"},
                               {"w5", "SQLLIB/ZW5_UPD.SQL", "created"},
                               {"y5", "SQLLIB/ZY5_UPD.SQL", "created"},
                               {"r5", "SQLLIB/ZR5_UPD.SQL", "created"},
                               {"r5", "SQLLIB/UR5_ZPX.SQL", "created"}}));

  // The runs that failed, each with every error and warning that says why.
  EXPECT_EQ(query(db,
                  "WITH reasons AS ("
                  " SELECT r.rowid AS run, r.line AS line, d.value AS reason"
                  " FROM runs r, json_each(r.line, '$.errors') d"
                  " UNION ALL SELECT r.rowid, r.line, d.value"
                  " FROM runs r, json_each(r.line, '$.warnings') d)"
                  " SELECT json_extract(line, '$.profile'), json_extract(line, '$.exit'),"
                  " json_extract(reason, '$.kind'), json_extract(reason, '$.file'),"
                  " json_extract(reason, '$.line'), json_extract(reason, '$.message')"
                  " FROM reasons WHERE json_extract(line, '$.exit') <> 0 ORDER BY run"),
            (Rows{{"MISSING.TXT", "12", "cannot-open", "MISSING.TXT", "<null>",
                   "cannot open the profile MISSING.TXT: No such file or directory"},
                  {"ORDERS.TXT", "24", "not-a-number", "ORDERS.TXT", "1",
                   "ORDERS.TXT line 1: LOCKWAIT warning value 5O is not a number; the statement "
                   "compares with it as it stands"}}));
  // And the warnings of the whole estate by kind: the W5 example gives MAXTASK
  // a second warning and critical pair of other values, 80 and 90 after 85
  // and 95.
  EXPECT_EQ(query(db,
                  "SELECT json_extract(w.value, '$.kind'), count(*)"
                  " FROM runs r, json_each(r.line, '$.warnings') w GROUP BY 1"),
            (Rows{{"not-a-number", "1"}, {"repeated-value", "2"}}));
  sqlite3_close(db);
}

}  // namespace
}  // namespace tornvel
