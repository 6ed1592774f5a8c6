// Loads the files that tornvel writes into a real SQL engine (SQLite, in
// memory): the statement files of every golden end-to-end case, the statement
// files of the shipped examples, and a run whose inputs hold double quotes,
// whose rows are read back and compared with the texts the inputs wrote.
//
// A statement file holds each statement cut into lines of 72 characters and
// followed by an empty line, so joining a run of non-empty lines gives the
// statement back. $PARMS statements are for the loader of the monitoring
// product, not SQL, and are left out. A template seed file holds one row per
// line.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/run_tornvel.h"

namespace tornvel::testing {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

constexpr std::string_view kTemplateFileName = "UR5_ZPX.SQL";

// The situation table with every column that a build-mode or a service-class
// INSERT names, in a schema VORDA, and the situation-template table.
constexpr const char* kSchema =
    "ATTACH DATABASE ':memory:' AS VORDA;"
    "CREATE TABLE VORDA.TSITDESC (ADVISE, AFFINITIES, ALERTLIST, AUTOSOPT, AUTOSTART, CMD,"
    " DESTNODE, EVENTATTR, HUB, LOCFLAG, LSTCCSID, LSTRELEASE, LSTUSRPRF, NOCOL, NOTIFYARGS,"
    " NOTIFYOPTS, OBJECTLOCK, PRNAMES, QIBCLASSID, QIBSCOPE, REEV_DAYS, REEV_TIME, REFLEXOK,"
    " RESERVED, SENDMSGQ, SITINFO, SOURCE, LSTDATE, TEXT, SITNAME, PDT);"
    "CREATE TABLE ZHBTMPLSIT (NAME, STATE, TEMPLATE, TYPE);";

class Database {
 public:
  Database() {
    if (sqlite3_open(":memory:", &db_) != SQLITE_OK) {
      ADD_FAILURE() << "cannot open an in-memory database";
      return;
    }
    char* error = nullptr;
    if (sqlite3_exec(db_, kSchema, nullptr, nullptr, &error) != SQLITE_OK) {
      ADD_FAILURE() << "schema: " << error;
      sqlite3_free(error);
    }
  }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3* handle() const { return db_; }

  // Runs `sql`, which must be exactly one statement, with `params` bound to its
  // ? in order (an unbound ? is NULL). Empty when it ran to its end, otherwise
  // SQLite's message. Rows that a query yields are appended to `rows`.
  std::string run(const std::string& sql, const std::vector<std::string>& params = {},
                  Rows* rows = nullptr) {
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail) !=
        SQLITE_OK) {
      return sqlite3_errmsg(db_);
    }
    std::string error;
    const std::string_view rest(tail, sql.c_str() + sql.size() - tail);
    if (stmt == nullptr) {
      error = "no statement";
    } else if (!std::all_of(rest.begin(), rest.end(),
                            [](unsigned char c) { return std::isspace(c); })) {
      error = "more than one statement; the next one begins: " + std::string(rest);
    }
    for (std::size_t i = 0; error.empty() && i < params.size(); ++i) {
      sqlite3_bind_text(stmt, static_cast<int>(i + 1), params[i].data(),
                        static_cast<int>(params[i].size()), SQLITE_TRANSIENT);
    }
    for (int rc = SQLITE_ROW; error.empty() && rc != SQLITE_DONE;) {
      rc = sqlite3_step(stmt);
      if (rc == SQLITE_ROW && rows != nullptr) {
        auto& row = rows->emplace_back();
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
          const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
          row.emplace_back(text == nullptr ? "<null>"
                                           : std::string(text, sqlite3_column_bytes(stmt, c)));
        }
      } else if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        error = sqlite3_errmsg(db_);
      }
    }
    sqlite3_finalize(stmt);
    return error;
  }

  Rows query(const std::string& sql) {
    Rows rows;
    const std::string error = run(sql, {}, &rows);
    EXPECT_EQ(error, "") << sql;
    return rows;
  }

 private:
  sqlite3* db_ = nullptr;
};

// A statement file's statements; a template file's rows.
std::vector<std::string> StatementsOf(const fs::path& file) {
  const bool oneRowPerLine = file.filename() == kTemplateFileName;
  std::vector<std::string> statements;
  std::string current;
  std::istringstream in(readWholeFile(file));
  for (std::string line; std::getline(in, line);) {
    current += line;
    if ((oneRowPerLine || line.empty()) && !current.empty()) {
      statements.push_back(std::exchange(current, {}));
    }
  }
  if (!current.empty()) statements.push_back(current);
  return statements;
}

// Executes every statement of `file` but $PARMS; returns how many ran.
int Load(Database& db, const fs::path& file) {
  int count = 0;
  for (const std::string& statement : StatementsOf(file)) {
    if (statement.starts_with("$PARMS(")) continue;
    const std::string error = db.run(statement);
    EXPECT_EQ(error, "") << "file " << file.string() << "\nstatement: " << statement;
    ++count;
  }
  return count;
}

std::string TestName(const std::string& text) {
  std::string name = text;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

TEST(SqliteDialect, DoubleQuotedTextNamingNoColumnIsAString) {
  Database db;
  int accepted = -1;
  sqlite3_db_config(db.handle(), SQLITE_DBCONFIG_DQS_DML, -1, &accepted);
  ASSERT_EQ(accepted, 1) << "this SQLite library rejects double-quoted strings (SQLITE_DQS)";
  EXPECT_EQ(db.query("SELECT \"a\"\"b\", \"\""), (Rows{{"a\"b", ""}}));
}

// ---------------------------------------------------------------------------
// Every statement and template file of the golden end-to-end cases.

std::vector<std::string> GoldenSqlFiles() {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(E2E_CASES_DIR)) {
    const std::string path = entry.path().generic_string();
    if (entry.is_regular_file() && entry.path().extension() == ".SQL" &&
        path.find("/expected/files/") != std::string::npos) {
      files.push_back(fs::relative(entry.path(), E2E_CASES_DIR).generic_string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

class GoldenFile : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenFile, EveryStatementExecutes) {
  Database db;
  const fs::path file = fs::path(E2E_CASES_DIR) / GetParam();
  if (fs::file_size(file) > 0) {
    EXPECT_GT(Load(db, file), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenFile, ::testing::ValuesIn(GoldenSqlFiles()),
                         [](const auto& info) { return TestName(info.param); });

// ---------------------------------------------------------------------------
// The shipped examples, each run without and with build mode.

struct Example {
  const char* product;
  const char* profile;
  bool buildMode;
};

constexpr Example kExamples[] = {
    {"t5", "PROFILE.TXT", false}, {"t5", "PROFILE.TXT", true}, {"r5", "SYSAPROF.TXT", false},
    {"r5", "SYSAPROF.TXT", true}, {"w5", "TXPROD.TXT", false}, {"w5", "TXPROD.TXT", true},
    {"y5", "Y5PROF.TXT", false},  {"y5", "Y5PROF.TXT", true},
};

void PrintTo(const Example& example, std::ostream* out) {
  *out << example.product << (example.buildMode ? " -bd" : "");
}

class ShippedExample : public ::testing::TestWithParam<Example> {};

TEST_P(ShippedExample, EveryStatementExecutes) {
  const Example& example = GetParam();
  ScratchDirectory work;
  fs::copy(fs::path(EXAMPLES_DIR) / example.product, work.path(), fs::copy_options::recursive);
  fs::create_directory(work.path() / "SQLLIB");
  std::vector<std::string> args{example.profile, example.product};
  if (example.buildMode) args.insert(args.begin(), "-bd");
  const RunOutcome run = runTornvel(TORNVEL_BINARY, args, work.path());
  ASSERT_EQ(run.exitCode, 0) << run.failure << run.errors;

  Database db;
  int statements = 0;
  for (const auto& entry : fs::directory_iterator(work.path() / "SQLLIB")) {
    if (entry.path().extension() == ".SQL") statements += Load(db, entry.path());
  }
  EXPECT_GT(statements, 0);
}

INSTANTIATE_TEST_SUITE_P(Examples, ShippedExample, ::testing::ValuesIn(kExamples),
                         [](const auto& info) {
                           return std::string(info.param.product) +
                                  (info.param.buildMode ? "_build_mode" : "");
                         });

// ---------------------------------------------------------------------------
// Double quotes in every input text that reaches a quoted value: the texts
// read back from the tables are the texts as the inputs wrote them. The inputs
// are those of the golden cases t5_quotes_in_texts*: the control file names
// the situations ZT5_Q"1_Warning and ZT5_Q"1_Critical, sets the affinity
// string AFF"1 and gives LOCKWAIT the attribute DBLOCKS.WAITTIME, the band
// operators and an extra predicate; the profile line is LOCKWAIT 10";DROP 20;
// the advice line gives the text Lock "wait" too long. In the case
// r5_quotes_in_service_class the service class Q"A, period 1, has index
// thresholds 150 and 200 (1.50 and 2.00) and every other kind switched off.

constexpr const char* kWarningName = "ZT5_Q\"1_Warning";
constexpr const char* kCriticalName = "ZT5_Q\"1_Critical";
constexpr const char* kExtraPredicate = "*AND *VALUE A.B *EQ \"X\" WHERE SITNAME = Y";
// The warning band, lower bound *GE the warning value, upper bound *LT the
// critical value, then a blank and the extra predicate.
const std::string kWarningFormula = std::string("*IF *VALUE DBLOCKS.WAITTIME *GE 10\";DROP") +
                                    " *AND *VALUE DBLOCKS.WAITTIME *LT 20 " + kExtraPredicate;
const std::string kCriticalFormula =
    std::string("*IF *VALUE DBLOCKS.WAITTIME *GE 20 ") + kExtraPredicate;

const std::string kClassStart =
    "*IF *VALUE MWLMPR.CLSNAME *EQ Q\"A *AND *VALUE MWLMPR.PERIODNUM *EQ 1";
constexpr const char* kClassWarningName = "ZR5_Q\"AP1_Warning";
constexpr const char* kClassCriticalName = "ZR5_Q\"AP1_Critical";
constexpr const char* kServiceClassAffinities = "##################################000000000";

struct QuoteRun {
  const char* caseName;
  std::vector<const char*> files;  // loaded in this order
  Rows after;      // SITNAME, TEXT, LSTDATE, AFFINITIES, PDT in the order the rows were made
  Rows templates;  // NAME, STATE
};

// Before the run's statements the table holds the two situations and a third
// row that the extra predicate's WHERE SITNAME = Y must not reach.
const Rows kBefore = {
    {kWarningName, "old text", "", "", "old formula"},
    {kCriticalName, "old text", "", "", "old formula"},
    {"Y", "old text", "", "", "old formula"},
};

const QuoteRun kQuoteRuns[] = {
    {"t5_quotes_in_texts",
     {"SQLLIB/ZT5_UPD.SQL"},
     {{kWarningName, "old text", kRunTimestamp, "", kWarningFormula},
      {kCriticalName, "old text", kRunTimestamp, "", kCriticalFormula},
      kBefore[2]},
     {}},
    {"t5_quotes_in_texts_build_mode",
     {"SQLLIB/ZT5_INS.SQL"},
     {kBefore[2],
      {kWarningName, "Lock \"wait\" too long", kRunTimestamp, "AFF\"1", kWarningFormula},
      {kCriticalName, "Lock \"wait\" too long", kRunTimestamp, "AFF\"1", kCriticalFormula}},
     {}},
    {"r5_quotes_in_service_class",
     {"SQLLIB/ZR5_UPD.SQL", "SQLLIB/UR5_ZPX.SQL"},
     {kBefore[0],
      kBefore[1],
      kBefore[2],
      {kClassWarningName, "Service Class Q\"A Period 1 Warning situation", kRunTimestamp,
       kServiceClassAffinities,
       kClassStart + " *AND *VALUE MWLMPR.PERHINDX *GE 1.50 *AND *VALUE MWLMPR.PERHINDX *LT 2.00"},
      {kClassCriticalName, "Service Class Q\"A Period 1 Critical situation", kRunTimestamp,
       kServiceClassAffinities, kClassStart + " *AND *VALUE MWLMPR.PERHINDX *GE 2.00"}},
     {{kClassWarningName, "Warning"}, {kClassCriticalName, "Critical"}}},
};

void PrintTo(const QuoteRun& quoteRun, std::ostream* out) { *out << quoteRun.caseName; }

class QuotedTexts : public ::testing::TestWithParam<QuoteRun> {};

TEST_P(QuotedTexts, ReadBackAsTheInputsWroteThem) {
  const QuoteRun& quoteRun = GetParam();
  const fs::path caseDir = fs::path(E2E_CASES_DIR) / quoteRun.caseName;
  ScratchDirectory work;
  fs::copy(caseDir / "input", work.path(), fs::copy_options::recursive);
  std::vector<std::string> args;
  std::istringstream argLines(readWholeFile(caseDir / "args"));
  for (std::string line; std::getline(argLines, line);) args.push_back(line);
  const RunOutcome run = runTornvel(TORNVEL_BINARY, args, work.path());
  ASSERT_EQ(run.exitCode, 0) << run.failure << run.errors;

  Database db;
  for (const auto& row : kBefore) {
    ASSERT_EQ(db.run("INSERT INTO VORDA.TSITDESC (SITNAME, TEXT, LSTDATE, AFFINITIES, PDT)"
                     " VALUES (?, ?, ?, ?, ?)",
                     row),
              "");
  }
  for (const char* file : quoteRun.files) EXPECT_GT(Load(db, work.path() / file), 0);
  EXPECT_EQ(db.query("SELECT SITNAME, TEXT, LSTDATE, AFFINITIES, PDT FROM VORDA.TSITDESC"
                     " ORDER BY rowid"),
            quoteRun.after);
  EXPECT_EQ(db.query("SELECT NAME, STATE FROM ZHBTMPLSIT ORDER BY rowid"), quoteRun.templates);
}

INSTANTIATE_TEST_SUITE_P(Runs, QuotedTexts, ::testing::ValuesIn(kQuoteRuns),
                         [](const auto& info) { return std::string(info.param.caseName); });

}  // namespace
}  // namespace tornvel::testing
