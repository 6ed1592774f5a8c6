// Whole runs of the built binary on inputs that are empty, missing, of the
// wrong kind, binary, over-long, oddly ended or beyond the run's limits, and on
// outputs that cannot be opened or written. Every case states its exit code,
// its exact console output and, where the run gets that far, what it leaves in
// its files. Expected texts are written out from the file formats, not taken
// from the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "support/run_tornvel.h"

namespace tornvel::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;  // "..."s keeps NUL bytes inside a text

// ---------------------------------------------------------------------------
// Expected texts, from the formats of the statement, template and threshold
// files.

constexpr std::string_view kDefaultAffinities = "##################################000000000";

constexpr std::string_view kBuildModeInsertHead =
    "INSERT INTO VORDA.TSITDESC (ADVISE,AUTOSOPT,AUTOSTART,CMD,LSTRELEASE,LSTUSRPRF,QIBCLASSID,"
    "QIBSCOPE,REEV_DAYS,REEV_TIME,SENDMSGQ,SITINFO,TEXT,LSTDATE,AFFINITIES,SITNAME,PDT) VALUES(?,"
    "\"NNN\",\"*NO\",\"*NONE\",\"V100\",\"SYSADMIN\",\"UUUU\",\"E\",\"0\",\"001500\",\"*NONE\","
    "\"~\",\"";
static_assert(kBuildModeInsertHead.size() == 257);

constexpr std::string_view kServiceClassInsertHead =
    "INSERT INTO VORDA.TSITDESC (ADVISE,AFFINITIES,ALERTLIST,AUTOSOPT,AUTOSTART,CMD,DESTNODE,"
    "EVENTATTR,HUB,LOCFLAG,LSTCCSID,LSTRELEASE,LSTUSRPRF,NOCOL,NOTIFYARGS,NOTIFYOPTS,OBJECTLOCK,"
    "PRNAMES,QIBCLASSID,QIBSCOPE,REEV_DAYS,REEV_TIME,REFLEXOK,RESERVED,SENDMSGQ,SITINFO,SOURCE,"
    "LSTDATE,TEXT,SITNAME,PDT) VALUES(\"\",\"##################################000000000\",\"\","
    "\"NNN\",\"*NO\",\"*NONE\",\"\",\"\",\"\",\"\",\"\",\"V100\",\"SYSADMIN\",\"\",\"\",\"\",\"\","
    "\"\",\"UUUU\",\"E\",\"0\",\"001500\",\"\",\"\",\"*NONE\",\"~\",\"\",";
static_assert(kServiceClassInsertHead.size() == 467);

constexpr std::string_view kLimitWarning =
    "\nWarning:\tYou have exceeded the number of supported exceptions.\n"
    "        \tThe current limit is 512\n";

// A statement as the statement file holds it: cut into pieces of 72
// characters, each followed by a line end, and one more line end after the last.
std::string written(std::string_view statement) {
  std::string text;
  for (std::size_t at = 0; at < statement.size(); at += 72) {
    text.append(statement.substr(at, 72)).append("\n");
  }
  return text + "\n";
}

std::string update(std::string_view formula, std::string_view situation) {
  std::string text = "UPDATE VORDA.TSITDESC SET LSTDATE = \"";
  text.append(kRunTimestamp).append("\", PDT = \"").append(formula);
  text.append("\" WHERE SITNAME = \"").append(situation).append("\";\n");
  return text;
}

// The warning band of a type-I definition with the default operators and no
// upper value or extra predicate; its upper clause is left out without a
// critical value. Both formula forms agree on such a definition.
std::string warningFormula(std::string_view attribute, std::string_view warning,
                           std::string_view critical) {
  std::string formula = "*IF *VALUE " + std::string(attribute) + " *GE " + std::string(warning);
  if (!critical.empty()) {
    formula.append(" *AND *VALUE ").append(attribute).append(" *LT ").append(critical);
  }
  return formula;
}

std::string criticalFormula(std::string_view attribute, std::string_view critical) {
  return "*IF *VALUE " + std::string(attribute) + " *GE " + std::string(critical);
}

std::string situation(std::string_view product, std::string_view name, std::string_view suffix) {
  return std::string(product) + "_" + std::string(name) + "_" + std::string(suffix);
}

// The update statements that a type-I definition with default situation names
// gives, as written to the statement file: the warning, then the critical,
// each only when the profile gave it a value.
std::string updatePair(std::string_view product, std::string_view name, std::string_view attribute,
                       std::string_view warning, std::string_view critical) {
  std::string text;
  if (!warning.empty()) {
    text += written(
        update(warningFormula(attribute, warning, critical), situation(product, name, "Warning")));
  }
  if (!critical.empty()) {
    text +=
        written(update(criticalFormula(attribute, critical), situation(product, name, "Critical")));
  }
  return text;
}

// Build mode's DELETE, $PARMS and INSERT for one situation, as written.
std::string buildModeGroup(std::string_view situationName, std::string_view formula,
                           std::optional<std::string_view> situationText, std::string_view parms) {
  std::string remove = "DELETE FROM VORDA.TSITDESC WHERE SITNAME = \"";
  remove.append(situationName).append("\";");
  std::string parmsStatement = "$PARMS(\"" + std::string(parms) + "\");";
  std::string insert(kBuildModeInsertHead);
  insert.append(situationText ? *situationText : situationName).append("\",\"");
  insert.append(kRunTimestamp).append("\",\"").append(kDefaultAffinities).append("\",\"");
  insert.append(situationName).append("\",\"").append(formula).append("\");");
  return written(remove) + written(parmsStatement) + written(insert);
}

std::string buildModePair(std::string_view product, std::string_view name,
                          std::string_view attribute, std::string_view warning,
                          std::string_view critical, std::optional<std::string_view> situationText,
                          std::string_view parms) {
  return buildModeGroup(situation(product, name, "Warning"),
                        warningFormula(attribute, warning, critical), situationText, parms) +
         buildModeGroup(situation(product, name, "Critical"), criticalFormula(attribute, critical),
                        situationText, parms);
}

// The eight template rows of a service class under release V100 whose
// thresholds are all on: warning kinds 0 to 3, then critical kinds 0 to 3.
std::string templateRows(std::string_view serviceClass, std::string_view period) {
  std::string text;
  for (std::string_view state : {"Warning", "Critical"}) {
    for (std::string_view kind : {"", "IO_", "STG_", "CPU_"}) {
      text.append("INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_");
      text.append(kind).append(serviceClass).append("P").append(period).append("_");
      text.append(state).append("\", \"").append(state);
      text.append("\", \"WLM_Service_Class_Resources\", 0 );\n");
    }
  }
  return text;
}

// A workload row with every threshold given and no busy line. `firstLine` is
// the row's first line, on which the reader decides that a row has begun.
std::string workloadRow(std::string_view serviceClass) {
  std::string row = "Begin Row\n ID(1)\n PRWLMSC('";
  row.append(serviceClass).append("')\n");
  row.append(
      " PRWLMPD(1)\n PRWLMWI(150)\n PRWLMCI(200)\n PRWLMWO(500)\n PRWLMCO(900)\n"
      " PRWLMWS(1200)\n PRWLMCS(1500)\n PRWLMWC(800)\n PRWLMCC(950)\nEnd Row\n");
  return row;
}

// The kind 0 warning situation of such a row (index thresholds 1.50 and 2.00,
// busy off), as written.
std::string firstServiceClassStatement(std::string_view serviceClass) {
  std::string statement(kServiceClassInsertHead);
  const std::string sc(serviceClass);
  statement += "\"" + std::string(kRunTimestamp) + "\",\"Service Class " + sc +
               " Period 1 Warning situation\",\"ZR5_" + sc +
               "P1_Warning\",\"*IF *VALUE "
               "MWLMPR.CLSNAME *EQ " +
               sc +
               " *AND *VALUE MWLMPR.PERIODNUM *EQ 1 *AND *VALUE "
               "MWLMPR.PERHINDX *GE 1.50 *AND *VALUE MWLMPR.PERHINDX *LT 2.00\");\n";
  return written(statement);
}

// Bytes that are no letter, digit, blank, comma, star or tilde of any format,
// with a line end now and then: deterministic binary garbage.
std::string binaryGarbage(std::size_t size) {
  std::string text;
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    unsigned byte = (state >> 16) & 0xff;
    if (i % 61 == 60) {
      text += (state & 0x100) ? '\n' : '\r';
    } else if (byte >= 0x80 || byte < 0x09 || (byte >= 0x0e && byte < 0x20) || byte == 0x7f) {
      text += static_cast<char>(byte);
    } else {
      text += static_cast<char>(byte | 0x80);
    }
  }
  return text;
}

std::string repeated(char c, std::size_t count) { return std::string(count, c); }

// The same text with every line ended by CR LF.
std::string withCrLf(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
}

std::string numbered(char letter, int number, int width) {
  std::string digits = std::to_string(number);
  return letter + std::string(width - static_cast<int>(digits.size()), '0') + digits;
}

// ---------------------------------------------------------------------------
// The cases.

struct Entry {
  enum class Kind { kFile, kDirectory, kSymlink };
  std::string path;     // relative to the run directory, "/" separated
  std::string content;  // file content, or the target of a symbolic link
  Kind kind = Kind::kFile;
};

Entry file(std::string path, std::string content) {
  return {std::move(path), std::move(content), Entry::Kind::kFile};
}
Entry directory(std::string path) { return {std::move(path), "", Entry::Kind::kDirectory}; }
Entry symlinkTo(std::string path, std::string target) {
  return {std::move(path), std::move(target), Entry::Kind::kSymlink};
}

using ExtraCheck = std::function<void(const fs::path& directory, const RunOutcome& outcome)>;
// Files a run leaves: exact content, or std::nullopt for "not there".
using Outputs = std::vector<std::pair<std::string, std::optional<std::string>>>;

struct Case {
  std::string name;
  std::vector<std::string> args;
  std::vector<Entry> setup;
  bool withSqllib = true;  // the run directory holds an SQLLIB directory
  int exitCode = 0;
  std::optional<std::string> console;  // exact; a check covers it when absent
  Outputs outputs;
  ExtraCheck check;  // further properties of the run
  std::string sourceDateEpoch = kSourceDateEpoch;
  std::string posixOnly;  // why the case cannot be set up on Windows, if it cannot
  // Standard error, exact; when absent, every line of it must still be a
  // diagnostic ("tornvel: " before it).
  std::optional<std::string> errors;
};

Case makeCase(std::string name, std::vector<std::string> args, std::vector<Entry> setup,
              bool withSqllib, int exitCode, std::optional<std::string> console,
              Outputs outputs = {}, ExtraCheck check = {}) {
  Case made;
  made.name = std::move(name);
  made.args = std::move(args);
  made.setup = std::move(setup);
  made.withSqllib = withSqllib;
  made.exitCode = exitCode;
  made.console = std::move(console);
  made.outputs = std::move(outputs);
  made.check = std::move(check);
  return made;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// Product argument, control-file name and statement file of each product.
struct Product {
  std::string argument;
  std::string controlFile;
  std::string statementFile;
};

const Product kPlainList{"T5", "ZTQPROD.TXT", "SQLLIB/ZT5_UPD.SQL"};
const Product kNumbered{"W5", "ZWQPROD.TXT", "SQLLIB/ZW5_UPD.SQL"};
const Product kStatements{"Y5", "ZYQPROD.TXT", "SQLLIB/ZY5_UPD.SQL"};
const Product kSectioned{"R5", "ZR5PROD.TXT", "SQLLIB/ZR5_UPD.SQL"};
const Product* const kProducts[] = {&kPlainList, &kNumbered, &kStatements, &kSectioned};

constexpr std::string_view kOneDefinition = "ABC1,TAB.COL,I\n";

// Missing, empty and wrong-kind input files.
void addInputFileCases(std::vector<Case>& cases) {
  cases.push_back(makeCase("EmptyControlFileEndsWith16BeforeTheProfile", {"MISSING.TXT", "T5"},
                           {file("ZTQPROD.TXT", "")}, true, 16,
                           "Unable to find any threshold values in: ZTQPROD.TXT\n",
                           {{"SQLLIB/ZT5_UPD.SQL", std::nullopt}}));
  // Lines of garbage without a blank or comma are lone words: no definition.
  cases.push_back(
      makeCase("ControlFileOfBinaryGarbageHasNoDefinitions", {"PROF.TXT", "T5"},
               {file("ZTQPROD.TXT", binaryGarbage(5000)), file("PROF.TXT", "ABC1 80 95\n")}, true,
               16, "Unable to find any threshold values in: ZTQPROD.TXT\n",
               {{"SQLLIB/ZT5_UPD.SQL", std::nullopt}}));
  for (const Product* product : kProducts) {
    Outputs outputs{{product->statementFile, ""}, {"SQLLIB/UR5_ZPX.SQL", std::nullopt}};
    cases.push_back(
        makeCase("EmptyProfileGivesAnEmptyStatementFile" + product->argument,
                 {"PROF.TXT", product->argument},
                 {file(product->controlFile, std::string(kOneDefinition)), file("PROF.TXT", "")},
                 true, 0, "", outputs));
    // Blank lines, however they end, after a byte-order mark, are empty too.
    cases.push_back(makeCase("BlankLinesProfileGivesAnEmptyStatementFile" + product->argument,
                             {"PROF.TXT", product->argument},
                             {file(product->controlFile, std::string(kOneDefinition)),
                              file("PROF.TXT", "\xEF\xBB\xBF \t\r\n\n\t  \r\n")},
                             true, 0, "", outputs));
    cases.push_back(makeCase("BinaryGarbageProfileMatchesNothing" + product->argument,
                             {"PROF.TXT", product->argument},
                             {file(product->controlFile, std::string(kOneDefinition)),
                              file("PROF.TXT", binaryGarbage(20000))},
                             true, 0, "", outputs));
  }
  cases.push_back(makeCase(
      "MissingProfile", {"MISSING.TXT", "T5"}, {file("ZTQPROD.TXT", std::string(kOneDefinition))},
      true, 12, "Unable to open file:MISSING.TXT\n", {{"SQLLIB/ZT5_UPD.SQL", std::nullopt}}));
  cases.push_back(
      makeCase("ProfileThatIsADirectory", {"PROF.TXT", "T5"},
               {file("ZTQPROD.TXT", std::string(kOneDefinition)), directory("PROF.TXT")}, true, 12,
               "Unable to open file:PROF.TXT\n", {{"SQLLIB/ZT5_UPD.SQL", std::nullopt}}));
  // The back-slash of a name is a directory separator when the file is opened.
  cases.push_back(makeCase(
      "ProfileNamedWithABackSlashOpensInItsDirectory", {"IN\\PROF.TXT", "T5"},
      {file("ZTQPROD.TXT", std::string(kOneDefinition)), directory("IN"),
       file("IN/PROF.TXT", "ABC1 80 95\n")},
      true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95")}}));
  cases.push_back(makeCase("MissingControlFileNamesTheFallbackCandidate", {"PROF.TXT", "W5"},
                           {file("PROF.TXT", "")}, true, 12,
                           "Unable to open control file: ZW5PROD.TXT\n",
                           {{"SQLLIB/ZW5_UPD.SQL", std::nullopt}}));
  cases.push_back(makeCase("ControlFileThatIsADirectoryWithoutFallback", {"PROF.TXT", "R5"},
                           {directory("ZR5PROD.TXT"), file("PROF.TXT", "")}, true, 12,
                           "Unable to open control file: ZR5PROD.TXT\n",
                           {{"SQLLIB/ZR5_UPD.SQL", std::nullopt}}));
  cases.push_back(makeCase("ControlFileThatIsADirectoryAndNoFallbackFile", {"PROF.TXT", "T5"},
                           {directory("ZTQPROD.TXT"), file("PROF.TXT", "")}, true, 12,
                           "Unable to open control file: ZT5PROD.TXT\n",
                           {{"SQLLIB/ZT5_UPD.SQL", std::nullopt}}));
  cases.push_back(makeCase(
      "ControlFileThatIsADirectoryFallsBackToTheOtherFamily", {"PROF.TXT", "T5"},
      {directory("ZTQPROD.TXT"), file("ZT5PROD.TXT", std::string(kOneDefinition)),
       file("PROF.TXT", "ABC1 80 95\n")},
      true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95")}}));
  cases.push_back(
      makeCase("TypedControlFileThatIsADirectoryFallsBack", {"PROF.TXT", "T5", "OUT.SQL", "MYCTL"},
               {directory("MYCTL"), file("PROF.TXT", "")}, true, 12,
               "Unable to open control file: ZT5PROD.TXT\n", {{"OUT.SQL", std::nullopt}}));
  // The advice file is optional: a directory of that name is passed over.
  cases.push_back(makeCase("AdviceFileThatIsADirectoryIsPassedOver", {"-bd", "PROF.TXT", "T5"},
                           {file("ZTQPROD.TXT", std::string(kOneDefinition)),
                            file("PROF.TXT", "ABC1 80 95\n"), directory("ZT5_ADVICE.TXT")},
                           true, 0, "",
                           {{"SQLLIB/ZT5_INS.SQL", buildModePair("ZTQ", "ABC1", "TAB.COL", "80",
                                                                 "95", std::nullopt, "")}}));
  cases.push_back(makeCase("UnsupportedProductWithAControlFile", {"PROF.TXT", "ab"},
                           {file("ZABPROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", "")},
                           true, 20, "Unsupported product ZAB\n",
                           {{"SQLLIB/ZAB_UPD.SQL", std::nullopt}}));
}

// NUL bytes end a line's text; the rest of the line is ignored.
void addNulByteCases(std::vector<Case>& cases) {
  // Were the NUL an ordinary character, "B" would name ABC1's warning
  // situation, ABC1's critical would carry the NUL and ABC2 would get values.
  std::string control = "ABC1,TAB.COL,I\0,B\nABC2,TAB.C2\n"s;
  std::string profile = "ABC1 80 95\0 99\nABC2 80\0 95\n"s;
  cases.push_back(
      makeCase("NulBytesEndTheTextOfTheirLine", {"PROF.TXT", "T5"},
               {file("ZTQPROD.TXT", control), file("PROF.TXT", profile)}, true, 0, "",
               {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95")}}));
  // The ignored rest still counts toward the 1023 characters of a line, so
  // what stands beyond them is the next line.
  std::string tail = "ABC1 80 95\0"s + repeated('x', 1012) + "ABC2 70 90\n";
  cases.push_back(makeCase(
      "NulBytesStillCountTowardTheLineLimit", {"PROF.TXT", "T5"},
      {file("ZTQPROD.TXT", "ABC1,TAB.COL,I\nABC2,TAB.C2,I\n"), file("PROF.TXT", tail)}, true, 0, "",
      {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95") +
                                  updatePair("ZTQ", "ABC2", "TAB.C2", "70", "90")}}));
  std::string records = "4THR_NAME\n5   ABC1\0ABC2\n4THR_WARN\n580\0.5\n4THR_CRIT\n595\n"s;
  cases.push_back(
      makeCase("NulBytesInNumberedRecords", {"PROF.TXT", "W5"},
               {file("ZWQPROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", records)}, true,
               0, "", {{"SQLLIB/ZW5_UPD.SQL", updatePair("ZWQ", "ABC1", "TAB.COL", "80", "95")}}));
}

// Lines of 1022 and 1023 characters are read whole; a longer one is read in
// pieces of 1023 characters, each piece a line of its own.
void addLineLengthCases(std::vector<Case>& cases) {
  struct Length {
    std::size_t characters;
    const char* label;
  };
  const Length lengths[] = {{1022, "1022"}, {1023, "1023"}, {1024, "1024"}, {100000, "100000"}};
  for (const Length& length : lengths) {
    const std::size_t n = length.characters;
    const std::string label = length.label;
    const bool whole = n <= 1023;

    // Plain list: the critical value stands at the very end of the line.
    std::string plain = "ABC1 80" + repeated(' ', n - 9) + "95\n";
    std::string plainOut = whole       ? updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95")
                           : n == 1024 ? updatePair("ZTQ", "ABC1", "TAB.COL", "80", "9")
                                       : "";  // the first piece is short, the last a lone word
    cases.push_back(
        makeCase("PlainListLineOf" + label, {"PROF.TXT", "T5"},
                 {file("ZTQPROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", plain)}, true,
                 0, "", {{"SQLLIB/ZT5_UPD.SQL", plainOut}}));

    // Threshold statement: the warning value stands at the end.
    std::string statement = "THRABC1 5 90" + repeated(' ', n - 14) + "80\n";
    std::string statementOut = whole       ? updatePair("IMS", "ABC1", "TAB.COL", "80", "90")
                               : n == 1024 ? updatePair("IMS", "ABC1", "TAB.COL", "8", "90")
                                           : "";
    cases.push_back(
        makeCase("ThresholdStatementLineOf" + label, {"PROF.TXT", "Y5"},
                 {file("ZYQPROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", statement)},
                 true, 0, "", {{"SQLLIB/ZY5_UPD.SQL", statementOut}}));

    // Numbered records: a keyword record padded with fives. A piece that
    // begins with a five is a value record: one with nothing after its type
    // cancels what was expected; a longer one is taken as the warning.
    std::string records =
        "4THR_NAME\n5   ABC1\n4THR_WARN " + repeated('5', n - 10) + "\n580.\n4THR_CRIT\n595.\n";
    std::string recordsOut = whole ? updatePair("ZWQ", "ABC1", "TAB.COL", "80", "95")
                             : n == 1024
                                 ? ""
                                 : updatePair("ZWQ", "ABC1", "TAB.COL", repeated('5', 23), "95");
    cases.push_back(
        makeCase("NumberedRecordLineOf" + label, {"PROF.TXT", "W5"},
                 {file("ZWQPROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", records)},
                 true, 0, "", {{"SQLLIB/ZW5_UPD.SQL", recordsOut}}));

    // Sectioned profile: a warning column whose line ends with "End Row". Read
    // whole, the line closes the row and its column is never looked at; cut,
    // the column counts and the row stays open only when the cut splits the
    // words "End Row".
    std::string sectioned = "Begin Table PR.SYS\nBegin Row\n ABC1W(85)" + repeated(' ', n - 17) +
                            "End Row\n ABC1C(95)\nEnd Row\nEnd Table\n";
    std::string sectionedOut = whole       ? ""
                               : n == 1024 ? updatePair("ZR5", "ABC1", "TAB.COL", "85", "95")
                                           : updatePair("ZR5", "ABC1", "TAB.COL", "85", "");
    cases.push_back(makeCase(
        "SectionedProfileLineOf" + label, {"PROF.TXT", "R5"},
        {file("ZR5PROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", sectioned)}, true, 0,
        "", {{"SQLLIB/ZR5_UPD.SQL", sectionedOut}, {"SQLLIB/UR5_ZPX.SQL", std::nullopt}}));

    // Control file: the type text I2 (two implied decimals) ends the line.
    std::string control = "ABC1,TAB.COL" + repeated(' ', n - 14) + "I2\n";
    std::string controlOut = whole ? updatePair("ZTQ", "ABC1", "TAB.COL", "80.00", "95.00")
                                   : updatePair("ZTQ", "ABC1", "TAB.COL", "8000", "9500");
    cases.push_back(makeCase("ControlFileLineOf" + label, {"PROF.TXT", "T5"},
                             {file("ZTQPROD.TXT", control), file("PROF.TXT", "ABC1 8000 9500\n")},
                             true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", controlOut}}));

    // Advice file: the parameter text runs to the end of the line, so it keeps
    // what the first piece holds; the pieces after it are lone names.
    std::string advice = "ABC1~T~" + repeated('P', n - 7) + "\n";
    std::string parms = repeated('P', std::min<std::size_t>(n, 1023) - 7);
    cases.push_back(makeCase(
        "AdviceFileLineOf" + label, {"-bd", "PROF.TXT", "T5"},
        {file("ZTQPROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", "ABC1 80 95\n"),
         file("ZT5_ADVICE.TXT", advice)},
        true, 0, "",
        {{"SQLLIB/ZT5_INS.SQL", buildModePair("ZTQ", "ABC1", "TAB.COL", "80", "95", "T", parms)}}));
  }

  // A workload row line holds at most 255 characters: the rest is a line of
  // its own, here one that names the service class anew.
  std::string rowLine = " PRWLMSC(ALPHA)" + repeated(' ', 240) + " PRWLMSC(BETA)\n";
  std::string rows = "Begin Table PR.WLM\nBegin Row\n ID(1)\n" + rowLine +
                     " PRWLMPD(1)\n PRWLMWI(150)\n PRWLMCI(200)\n PRWLMWO(500)\n PRWLMCO(900)\n"
                     " PRWLMWS(1200)\n PRWLMCS(1500)\n PRWLMWC(800)\n PRWLMCC(950)\nEnd Row\n"
                     "End Table\n";
  cases.push_back(
      makeCase("WorkloadRowLineOver255CharactersContinues", {"PROF.TXT", "R5"},
               {file("ZR5PROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", rows)}, true, 0,
               "", {{"SQLLIB/UR5_ZPX.SQL", templateRows("BETA", "1")}}));
}

// CR LF ends a line like LF alone; a lone CR is an ordinary character.
void addLineEndCases(std::vector<Case>& cases) {
  const std::string control = "ABC1,TAB.COL,I\r\n";
  cases.push_back(
      makeCase("CarriageReturnLineFeedInAPlainList", {"PROF.TXT", "T5"},
               {file("ZTQPROD.TXT", control), file("PROF.TXT", "ABC1 80 95\r\n")}, true, 0, "",
               {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95")}}));
  cases.push_back(
      makeCase("CarriageReturnLineFeedInThresholdStatements", {"PROF.TXT", "Y5"},
               {file("ZYQPROD.TXT", control), file("PROF.TXT", "THRABC1 5 90 80\r\n")}, true, 0, "",
               {{"SQLLIB/ZY5_UPD.SQL", updatePair("IMS", "ABC1", "TAB.COL", "80", "90")}}));
  cases.push_back(makeCase(
      "CarriageReturnLineFeedInNumberedRecords", {"PROF.TXT", "W5"},
      {file("ZWQPROD.TXT", control),
       file("PROF.TXT", "4THR_NAME\r\n5   ABC1\r\n4THR_WARN\r\n580\r\n4THR_CRIT\r\n595\r\n")},
      true, 0, "", {{"SQLLIB/ZW5_UPD.SQL", updatePair("ZWQ", "ABC1", "TAB.COL", "80", "95")}}));
  // The table name is WLM only when the CR is not part of the line.
  std::string sectioned = withCrLf(
      "Begin Table PR.SYS\nBegin Row\n ABC1W(85)\n ABC1C(95)\nEnd Row\nEnd Table\n"
      "Begin Table PR.WLM\n" +
      workloadRow("BATCH") + "End Table\n");
  cases.push_back(makeCase(
      "CarriageReturnLineFeedInASectionedProfile", {"PROF.TXT", "R5"},
      {file("ZR5PROD.TXT", control), file("PROF.TXT", sectioned)}, true, 0, "",
      {{"SQLLIB/UR5_ZPX.SQL", templateRows("BATCH", "1")}},
      [](const fs::path& dir, const RunOutcome&) {
        std::string statements = readWholeFile(dir / "SQLLIB/ZR5_UPD.SQL");
        std::string pair = withNativeLineEnds(updatePair("ZR5", "ABC1", "TAB.COL", "85", "95"));
        EXPECT_EQ(statements.substr(0, pair.size()), pair);
        std::string first = withNativeLineEnds(firstServiceClassStatement("BATCH"));
        EXPECT_EQ(statements.substr(pair.size(), first.size()), first);
      }));
  // The CR of a line end does not count toward the 1023 characters: a line
  // of 1022 characters and CR LF is one line, its critical value without CR.
  cases.push_back(makeCase(
      "CarriageReturnLineFeedAfter1022Characters", {"PROF.TXT", "T5"},
      {file("ZTQPROD.TXT", std::string(kOneDefinition)),
       file("PROF.TXT", "ABC1 80" + repeated(' ', 1013) + "95\r\n")},
      true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95")}}));
  // A 0x1A byte (an end-of-file mark to some systems' text mode) is an
  // ordinary character wherever it stands: in a token, as a line of its own
  // in the control file and in the profile, and as the last byte of a file.
  cases.push_back(
      makeCase("ControlZIsAnOrdinaryCharacter", {"PROF.TXT", "T5"},
               {file("ZTQPROD.TXT", "ABC1,TAB.COL,I\n\x1a\nABC2,TAB.C2,I\n\x1a"),
                file("PROF.TXT", "ABC1 80 95\x1a\n\x1a\nABC2 70 90\n\x1a")},
               true, 0, "",
               {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95\x1a") +
                                           updatePair("ZTQ", "ABC2", "TAB.C2", "70", "90")}}));
  // "95\rABC2" is one token: the lone CR neither ends the line nor separates.
  cases.push_back(
      makeCase("LoneCarriageReturnIsAnOrdinaryCharacter", {"PROF.TXT", "T5"},
               {file("ZTQPROD.TXT", "ABC1,TAB.COL,I\nABC2,TAB.C2,I\n"),
                file("PROF.TXT", "ABC1 80 95\rABC2 70 90\nABC2 60 70\r")},
               true, 0, "",
               {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95\rABC2") +
                                           updatePair("ZTQ", "ABC2", "TAB.C2", "60", "70\r")}}));
}

// Begin and End lines of a sectioned profile out of order: each level follows
// its own lines only, rows count without a table, and a Begin line met while
// its level is on is an ordinary line.
void addStructureCases(std::vector<Case>& cases) {
  std::string profile =
      "End Row\nEnd Table\nBegin Profile A\nBegin Profile B\nBegin Section S\nEnd Profile\n"
      "Begin Row\n ABC1W(85)\n ABC1C(95)\nEnd Section\nEnd Row\n"
      "Begin Table PR.WLM\nBegin Table PR.SYS\n" +
      workloadRow("BATCH") + "End Table\nEnd Profile\n";
  cases.push_back(makeCase(
      "UnbalancedBeginAndEndLines", {"PROF.TXT", "R5"},
      {file("ZR5PROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", profile)}, true, 0, "",
      {{"SQLLIB/UR5_ZPX.SQL", templateRows("BATCH", "1")}},
      [](const fs::path& dir, const RunOutcome&) {
        std::string statements = readWholeFile(dir / "SQLLIB/ZR5_UPD.SQL");
        std::string expected = withNativeLineEnds(updatePair("ZR5", "ABC1", "TAB.COL", "85", "95") +
                                                  firstServiceClassStatement("BATCH"));
        EXPECT_EQ(statements.substr(0, expected.size()), expected);
      }));
}

// A run time that cannot be broken down into a calendar date (the year does
// not fit) still gives a run with a 16-digit timestamp.
void addClockCases(std::vector<Case>& cases) {
  Case farFuture =
      makeCase("RunTimeBeyondTheCalendar", {"PROF.TXT", "T5"},
               {file("ZTQPROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", "ABC1 80 95\n")},
               true, 0, "", {}, [](const fs::path& dir, const RunOutcome&) {
                 std::string statements = readWholeFile(dir / "SQLLIB/ZT5_UPD.SQL");
                 const std::string head = "UPDATE VORDA.TSITDESC SET LSTDATE = \"";
                 ASSERT_EQ(statements.substr(0, head.size()), head);
                 std::string stamp = statements.substr(head.size(), 17);
                 EXPECT_EQ(stamp.find_first_not_of("0123456789"), 16u) << stamp;
                 EXPECT_EQ(stamp.back(), '"');
               });
  farFuture.sourceDateEpoch = "999999999999999999";
  cases.push_back(farFuture);
}

// The 512-definition limit, many synonym groups, and lists that grow past 512.
void addLimitCases(std::vector<Case>& cases) {
  {
    std::string control;
    for (int i = 1; i <= 600; ++i) {
      control += numbered('D', i, 3) + ",TAB." + numbered('C', i, 3) + "\n";
    }
    // Never read: loading stops at the 513th definition line.
    control += ":SYNONYM X,NOT,READ\n";
    std::string csvHeader = "ZT5,Threshold";
    std::string csvCritical = "PROF.TXT,Critical";
    std::string csvWarning = "PROF.TXT,Warning";
    for (int i = 1; i <= 512; ++i) {
      csvHeader += "," + numbered('D', i, 3);
      csvCritical += i == 1 ? ",2" : i == 512 ? ",4" : ",";
      csvWarning += i == 1 ? ",1" : i == 512 ? ",3" : ",";
    }
    cases.push_back(makeCase(
        "SixHundredDefinitionsKeepTheFirst512", {"-dh", "PROF.TXT", "T5"},
        {file("ZTQPROD.TXT", control), file("PROF.TXT", "D001 1 2\nD512 3 4\nD513 5 6\n")}, true, 0,
        std::string(kLimitWarning),
        {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "D001", "TAB.C001", "1", "2") +
                                    updatePair("ZTQ", "D512", "TAB.C512", "3", "4")},
         {"SQLLIB/ZT5_CDF.TXT", csvHeader + "\n" + csvCritical + "\n" + csvWarning + "\n"}}));
  }
  {
    std::string control = "ABC1,TAB.COL\nGRP,TAB.G\n";
    std::string errors;
    for (int i = 0; i < 10000; ++i) {
      if (i == 5000) {
        control += ":SYNONYM L GRP,SA,SB\n";
      } else if (i % 1000 == 999) {
        control += ":SYNONYM X,A,B\n";
        errors += "Error 2 From Init for  X\n";
      } else {
        control += ":SYNONYM H " + numbered('G', i, 4) + "," + numbered('M', i, 4) + "\n";
      }
    }
    cases.push_back(makeCase(
        "TenThousandSynonymDirectives", {"PROF.TXT", "Y5"},
        {file("ZYQPROD.TXT", control),
         file("PROF.TXT", "THRSA 0 90 80\nTHRSB 0 95 70\nTHRM0001 0 1 1\nTHRABC1 0 50 40\n")},
        true, 0, errors,
        {{"SQLLIB/ZY5_UPD.SQL", updatePair("IMS", "ABC1", "TAB.COL", "40", "50") +
                                    updatePair("IMS", "GRP", "TAB.G", "80", "95")}}));
  }
  {
    // A verbose run lists every group, newest first, in one line each.
    std::string control = "ABC1,TAB.COL\n";
    std::string listing;
    for (int i = 0; i < 1000; ++i) {
      std::string number = numbered('G', i, 4).substr(1);
      control += ":SYNONYM H G" + number + ",M" + number + ";N" + number + "\n";
      listing.insert(0, "G" + number + " <== M" + number + " N" + number + " \n");
    }
    std::string console =
        "\n\nTORNVEL Version: 03.323\n\nOptions:\tVerbose\n"
        "         \tGenerate Warnings\n"
        "         \tInput Profile Name:\tPROF.TXT\n"
        "         \tOutput file Name:  \tSQLLIB\\ZY5_UPD.SQL\n"
        "         \tProduct Code:      \tZYQ\n"
        "         \tControl file Name: \tZYQPROD.TXT\n"
        "\n\n\n"
        "\nSupported exceptions for product:\n\nException\tAttribute\n"
        "ABC1      \tTAB.COL\n"
        "\nA total of 1 definitions processed\n\n"
        "\nDefined Synonyms:\n\n" +
        listing +
        "\n"
        "\n\nExceptions in profile migrated:\n\nName   \tType\tWarnVal\tCritVal\n"
        "ABC1\tI\t\t\n";
    cases.push_back(makeCase("VerboseListingOfAThousandSynonymGroups", {"-v", "PROF.TXT", "Y5"},
                             {file("ZYQPROD.TXT", control), file("PROF.TXT", "")}, true, 0, console,
                             {{"SQLLIB/ZY5_UPD.SQL", ""}}));
  }
  {
    // One control-file definition and 1,000 workload rows: the 511th row fills
    // the table, the warning follows and nothing after that row is read.
    std::string profile = "Begin Table PR.WLM\n";
    std::string rows;
    for (int i = 1; i <= 1000; ++i) profile += workloadRow(numbered('C', i, 4));
    for (int i = 1; i <= 511; ++i) rows += templateRows(numbered('C', i, 4), "1");
    profile += "End Table\nBegin Table PR.SYS\nBegin Row\n ABC1W(85)\n ABC1C(95)\nEnd Row\n";
    cases.push_back(makeCase(
        "WorkloadTableOfAThousandRowsFillsTheTable", {"PROF.TXT", "R5"},
        {file("ZR5PROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", profile)}, true, 0,
        std::string(kLimitWarning), {{"SQLLIB/UR5_ZPX.SQL", rows}},
        [](const fs::path& dir, const RunOutcome&) {
          std::string statements = readWholeFile(dir / "SQLLIB/ZR5_UPD.SQL");
          std::string first = withNativeLineEnds(firstServiceClassStatement("C0001"));
          EXPECT_EQ(statements.substr(0, first.size()), first);
          std::size_t inserts = 0;
          for (std::size_t at = 0;
               (at = statements.find("\nINSERT INTO VORDA.TSITDESC (", at)) != std::string::npos;
               ++at) {
            ++inserts;
          }
          EXPECT_EQ(inserts + 1, 511u * 8u);  // the first stands at the start
          EXPECT_EQ(statements.find("C0512"), std::string::npos);
          EXPECT_EQ(statements.find("UPDATE"), std::string::npos);
        }));
  }
  {
    // Verbose runs list every unmatched exception, also past 512 of them.
    std::string profile;
    std::string table = "\n\nExceptions in profile not handled:\n\nName    \tWarning\tCritical\n";
    for (int i = 1; i <= 600; ++i) {
      profile += numbered('U', i, 4) + " 1 2\n";
      table += numbered('U', i, 4) + "    \t1\t2\n";
    }
    cases.push_back(
        makeCase("UnhandledListKeepsEveryEntry", {"-v", "PROF.TXT", "T5"},
                 {file("ZTQPROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", profile)},
                 true, 0, std::nullopt, {{"SQLLIB/ZT5_UPD.SQL", ""}},
                 [table](const fs::path&, const RunOutcome& outcome) {
                   EXPECT_NE(outcome.console.find(
                                 withNativeLineEnds(table + "\n\nExceptions in profile migrated")),
                             std::string::npos);
                 }));
  }
  {
    // And every unmatched column of a sectioned profile, counted per table.
    std::string profile = "Begin Table PR.DEVICE\nBegin Row\n";
    std::string tally =
        "\n\nExceptions in profile not handled:\n\nName            \tTable           \tCount\n";
    for (int i = 1; i <= 600; ++i) {
      profile += " " + numbered('U', i, 4) + "W(1)\n";
      tally += numbered('U', i, 4) + "W" + repeated(' ', 10) + "    \tDEVICE" + repeated(' ', 10) +
               "    \t" + (i == 1 ? "2" : "1") + "\n";
    }
    profile += " U0001W(1)\nEnd Row\nEnd Table\n";
    cases.push_back(makeCase(
        "UnhandledColumnTallyKeepsEveryEntry", {"-v", "PROF.TXT", "R5"},
        {file("ZR5PROD.TXT", std::string(kOneDefinition)), file("PROF.TXT", profile)}, true, 0,
        std::nullopt, {{"SQLLIB/ZR5_UPD.SQL", ""}},
        [tally](const fs::path&, const RunOutcome& outcome) {
          EXPECT_NE(outcome.console.find(
                        withNativeLineEnds(tally + "\n\n\nExceptions in profile migrated")),
                    std::string::npos);
        }));
  }
  {
    // Values beyond the 32-bit range saturate when a synonym group records
    // them; the highest critical and the highest warning win in kind L.
    cases.push_back(makeCase(
        "SynonymValuesSaturate", {"PROF.TXT", "Y5"},
        {file("ZYQPROD.TXT", "GRP,TAB.G\n:SYNONYM L GRP,SA\n"),
         file("PROF.TXT", "THRSA 0 99999999999 -99999999999\n")},
        true, 0, "",
        {{"SQLLIB/ZY5_UPD.SQL", updatePair("IMS", "GRP", "TAB.G", "-2147483648", "2147483647")}}));
    // A huge append-zeros count: values are cut at 23 characters all the same.
    cases.push_back(makeCase(
        "HugeAppendZerosCount", {"PROF.TXT", "T5"},
        {file("ZTQPROD.TXT", "ABC1,TAB.COL,I,~,~,~,~,~,~,~,~,~,99999999999\n"),
         file("PROF.TXT", "ABC1 5 7\n")},
        true, 0, "",
        {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "5" + repeated('0', 22),
                                           "7" + repeated('0', 22))}}));
  }
}

// Output files that cannot be opened or written.
void addOutputCases(std::vector<Case>& cases) {
  const Entry control = file("ZTQPROD.TXT", std::string(kOneDefinition));
  const Entry profile = file("PROF.TXT", "ABC1 80 95\n");
  // A device that takes no byte, reached by name or by a symbolic link.
  const std::string noFullDevice = "Windows has no device that is always full";
  cases.push_back(makeCase("StatementFileOnAFullDevice", {"PROF.TXT", "T5", "/dev/full"},
                           {control, profile}, true, 12, "Unable to write file /dev/full\n"));
  cases.back().posixOnly = noFullDevice;
  cases.push_back(makeCase(
      "ThresholdFileOnAFullDevice", {"-d", "PROF.TXT", "T5"},
      {control, profile, directory("SQLLIB"), symlinkTo("SQLLIB/ZT5_CDF.TXT", "/dev/full")}, false,
      12, "Unable to write file SQLLIB\\ZT5_CDF.TXT\n", {{"SQLLIB/ZT5_UPD.SQL", std::nullopt}}));
  cases.back().posixOnly = noFullDevice + " (nor symbolic links without privileges)";
  const Entry workload = file("PROF.TXT", "Begin Table PR.WLM\n" + workloadRow("BATCH"));
  cases.push_back(makeCase("TemplateSeedFileOnAFullDevice", {"PROF.TXT", "R5"},
                           {file("ZR5PROD.TXT", std::string(kOneDefinition)), workload,
                            directory("SQLLIB"), symlinkTo("SQLLIB/UR5_ZPX.SQL", "/dev/full")},
                           false, 12, "Unable to write file SQLLIB\\UR5_ZPX.SQL\n"));
  cases.back().posixOnly = noFullDevice + " (nor symbolic links without privileges)";
  cases.push_back(makeCase("NoSqllibDirectoryWithThresholdFile", {"-d", "PROF.TXT", "T5"},
                           {control, profile}, false, 12,
                           "Unable to open file SQLLIB\\ZT5_CDF.TXT for output.\n"));
  cases.push_back(makeCase("NoSqllibDirectoryForTheStatementFile", {"PROF.TXT", "T5"},
                           {control, profile}, false, 12,
                           "Unable to open file SQLLIB\\ZT5_UPD.SQL for output.\n"));
  cases.push_back(makeCase("NoSqllibDirectoryInBuildMode", {"-bd", "PROF.TXT", "T5"},
                           {control, profile}, false, 12,
                           "Unable to open file SQLLIB\\ZT5_INS.SQL for output.\n"));
  cases.push_back(makeCase("NoSqllibDirectoryForTheTemplateSeedFile", {"PROF.TXT", "R5", "OUT.SQL"},
                           {file("ZR5PROD.TXT", std::string(kOneDefinition)), workload}, false, 12,
                           "Unable to open file SQLLIB\\UR5_ZPX.SQL for output.\n"));
  cases.push_back(makeCase("StatementFileThatIsADirectory", {"PROF.TXT", "T5", "SQLLIB"},
                           {control, profile}, true, 12,
                           "Unable to open file SQLLIB for output.\n"));
}

// Outputs are whole or not there: a failed run leaves no temporary file and
// the earlier files as they were, a link keeps its link, and no output may
// overwrite one of the run's inputs.
void noTemporaryFiles(const fs::path& directory, const RunOutcome&) {
  for (const std::string& name : namesUnder(directory)) {
    const std::size_t slash = name.rfind('/');
    EXPECT_NE(name[slash == std::string::npos ? 0 : slash + 1], '.') << name << " was left";
  }
}

void addIntegrityCases(std::vector<Case>& cases) {
  const std::string definition(kOneDefinition);
  const Entry control = file("ZTQPROD.TXT", definition);
  const Entry profile = file("PROF.TXT", "ABC1 80 95\n");
  const std::string statements = updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95");
  cases.push_back(makeCase(
      "FailedRunKeepsTheEarlierStatementFile", {"PROF.TXT", "R5"},
      {file("ZR5PROD.TXT", definition), file("PROF.TXT", "Begin Table PR.WLM\n" + workloadRow("B")),
       file("SQLLIB/ZR5_UPD.SQL", "earlier\n"), directory("SQLLIB/UR5_ZPX.SQL")},
      true, 12, "Unable to open file SQLLIB\\UR5_ZPX.SQL for output.\n",
      {{"SQLLIB/ZR5_UPD.SQL", "earlier\n"}}, noTemporaryFiles));
  // A failed run through a link leaves the file the link names as it was.
  cases.push_back(makeCase(
      "FailedRunKeepsTheFileALinkedStatementFileNames", {"PROF.TXT", "R5"},
      {file("ZR5PROD.TXT", definition), file("PROF.TXT", "Begin Table PR.WLM\n" + workloadRow("B")),
       file("real.sql", "earlier\n"), symlinkTo("SQLLIB/ZR5_UPD.SQL", "../real.sql"),
       directory("SQLLIB/UR5_ZPX.SQL")},
      true, 12, "Unable to open file SQLLIB\\UR5_ZPX.SQL for output.\n",
      {{"real.sql", "earlier\n"}}, [](const fs::path& directory, const RunOutcome& run) {
        EXPECT_TRUE(fs::is_symlink(directory / "SQLLIB/ZR5_UPD.SQL"));
        noTemporaryFiles(directory, run);
      }));
  cases.back().posixOnly = "symbolic links need privileges on Windows";
  cases.push_back(makeCase("LinkedStatementFileKeepsItsLink", {"PROF.TXT", "T5"},
                           {control, profile, file("real.sql", "earlier\n"),
                            symlinkTo("SQLLIB/ZT5_UPD.SQL", "../real.sql")},
                           true, 0, "", {{"real.sql", statements}},
                           [](const fs::path& directory, const RunOutcome& run) {
                             EXPECT_TRUE(fs::is_symlink(directory / "SQLLIB/ZT5_UPD.SQL"));
                             noTemporaryFiles(directory, run);
                           }));
  cases.back().posixOnly = "symbolic links need privileges on Windows";
  // A profile that opens but cannot be read (the kernel refuses to read this
  // file at its start) is no short profile: nothing takes its name.
  cases.push_back(makeCase("ProfileThatCannotBeReadEndsWith12", {"/proc/self/mem", "T5"},
                           {control, file("SQLLIB/ZT5_UPD.SQL", "earlier\n")}, true, 12,
                           "Unable to read file /proc/self/mem\n",
                           {{"SQLLIB/ZT5_UPD.SQL", "earlier\n"}}, noTemporaryFiles));
  cases.back().posixOnly = "Windows has no file that opens and fails to read";
  // What a name reaches decides how it is written: a device or a pipe as it
  // stands, even when the name is a link to it.
  cases.push_back(makeCase("StatementFileThatIsTheNullDevice", {"PROF.TXT", "T5", "/dev/null"},
                           {control, profile}, true, 0, "", {}, noTemporaryFiles));
  cases.back().posixOnly = "the null device is NUL on Windows";
  cases.push_back(makeCase("StatementFileThatIsStandardOutputOnAPipe",
                           {"PROF.TXT", "T5", "/dev/stdout"}, {control, profile}, true, 0,
                           statements, {}, noTemporaryFiles));
  cases.back().posixOnly = "Windows has no /dev/stdout";
  struct Refused {
    const char* name;
    std::vector<std::string> args;
    std::vector<Entry> setup;
    const char* output;  // as the message names it
    Outputs unchanged;
  };
  const Refused refused[] = {
      {"OutputThatIsTheControlFileIsRefused",
       {"PROF.TXT", "T5", "ZT5PROD.TXT"},
       {file("ZT5PROD.TXT", definition), profile},
       "ZT5PROD.TXT",
       {{"ZT5PROD.TXT", definition}}},
      {"OutputThatIsTheProfileIsRefused",
       {"PROF.TXT", "T5", "PROF.TXT"},
       {control, profile},
       "PROF.TXT",
       {{"PROF.TXT", "ABC1 80 95\n"}}},
      {"OutputLinkedToTheControlFileIsRefused",
       {"PROF.TXT", "T5", "OUT.SQL"},
       {control, profile, symlinkTo("OUT.SQL", "ZTQPROD.TXT")},
       "OUT.SQL",
       {{"ZTQPROD.TXT", definition}}},
      {"OutputThatIsTheAdviceFileIsRefused",
       {"-bd", "PROF.TXT", "T5", "ZT5_ADVICE.TXT"},
       {control, profile, file("ZT5_ADVICE.TXT", "ABC1~Text~P\n")},
       "ZT5_ADVICE.TXT",
       {{"ZT5_ADVICE.TXT", "ABC1~Text~P\n"}}},
      {"ThresholdFileThatIsTheProfileIsRefused",
       {"-d", "SQLLIB/ZT5_CDF.TXT", "T5"},
       {control, file("SQLLIB/ZT5_CDF.TXT", "ABC1 80 95\n")},
       "SQLLIB\\ZT5_CDF.TXT",
       {{"SQLLIB/ZT5_CDF.TXT", "ABC1 80 95\n"}, {"SQLLIB/ZT5_UPD.SQL", std::nullopt}}},
  };
  for (const Refused& r : refused) {
    cases.push_back(makeCase(r.name, r.args, r.setup, true, 12,
                             "Unable to open file " + std::string(r.output) + " for output.\n",
                             r.unchanged, noTemporaryFiles));
    for (const Entry& entry : r.setup) {
      if (entry.kind == Entry::Kind::kSymlink) {
        cases.back().posixOnly = "symbolic links need privileges on Windows";
      }
    }
  }
  // Build mode turns UPD into INS in the file name only, not in its folders.
  for (const char* output : {"UPDATES/db1_UPD.SQL", "UPDATES\\db1_UPD.SQL"}) {
    cases.push_back(makeCase(
        std::string("BuildModeKeepsTheFolderName") +
            (output[7] == '/' ? "AfterASlash" : "AfterABackSlash"),
        {"-bd", "PROF.TXT", "T5", output}, {control, profile, directory("UPDATES")}, true, 0, "",
        {{"UPDATES/db1_INS.SQL",
          buildModePair("ZTQ", "ABC1", "TAB.COL", "80", "95", std::nullopt, "")},
         {"INSATES", std::nullopt}}));
  }
}

// A text's UTF-16 bytes, in either byte order, with or without the mark.
std::string utf16(std::u16string_view text, bool bigEndian, bool marked) {
  std::string bytes;
  if (marked) bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// A UTF-8 byte-order mark is no data in any input; after a UTF-16 one the
// input is read as its text.
void addByteOrderMarkCases(std::vector<Case>& cases) {
  const std::string mark = "\xEF\xBB\xBF";
  const std::string definition(kOneDefinition);
  const std::string statements = updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95");
  cases.push_back(
      makeCase("ByteOrderMarkBeforeTheFirstProfileValue", {"PROF.TXT", "T5"},
               {file("ZTQPROD.TXT", definition), file("PROF.TXT", mark + "ABC1 80 95\n")}, true, 0,
               "", {{"SQLLIB/ZT5_UPD.SQL", statements}}));
  cases.push_back(
      makeCase("ByteOrderMarkBeforeTheFirstDefinition", {"PROF.TXT", "T5"},
               {file("ZTQPROD.TXT", mark + definition), file("PROF.TXT", "ABC1 80 95\n")}, true, 0,
               "", {{"SQLLIB/ZT5_UPD.SQL", statements}}));
  cases.push_back(makeCase(
      "ByteOrderMarkBeforeTheFirstAdvice", {"-bd", "PROF.TXT", "T5"},
      {file("ZTQPROD.TXT", definition), file("PROF.TXT", "ABC1 80 95\n"),
       file("ZT5_ADVICE.TXT", mark + "ABC1~T~P\n")},
      true, 0, "",
      {{"SQLLIB/ZT5_INS.SQL", buildModePair("ZTQ", "ABC1", "TAB.COL", "80", "95", "T", "P")}}));
  // UTF-16 with a mark is read as its text, whatever its byte order and line
  // ends (an accented name matches the control file's UTF-8); without a mark,
  // or cut short, it is told.
  const std::u16string profileText = u"ABC1 80 95\r\nABC\u00C9 70 90\r\n";
  const std::string twoDefinitions = definition + "ABC\xC3\x89,TAB.E,I\n";
  const std::string both = statements + updatePair("ZTQ", "ABC\xC3\x89", "TAB.E", "70", "90");
  cases.push_back(makeCase(
      "ProfileInUtf16WithCrLf", {"PROF.TXT", "T5"},
      {file("ZTQPROD.TXT", twoDefinitions), file("PROF.TXT", utf16(profileText, false, true))},
      true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", both}}));
  cases.push_back(makeCase("ControlFileInUtf16BigEndian", {"PROF.TXT", "T5"},
                           {file("ZTQPROD.TXT", utf16(u"ABC1,TAB.COL,I\n", true, true)),
                            file("PROF.TXT", "ABC1 80 95\n")},
                           true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", statements}}));
  cases.push_back(makeCase("AdviceFileInUtf16", {"-bd", "PROF.TXT", "T5"},
                           {file("ZTQPROD.TXT", definition), file("PROF.TXT", "ABC1 80 95\n"),
                            file("ZT5_ADVICE.TXT", utf16(u"ABC1~T\u00E9xt~P\n", false, true))},
                           true, 0, "",
                           {{"SQLLIB/ZT5_INS.SQL", buildModePair("ZTQ", "ABC1", "TAB.COL", "80",
                                                                 "95", "T\xC3\xA9xt", "P")}}));
  for (const auto& [name, tail] : {std::pair{"Utf16ProfileOfAnOddLength", "X"s},
                                   std::pair{"Utf16ProfileWithAnUnpairedSurrogate", "\0\xD8"s}}) {
    cases.push_back(makeCase(name, {"PROF.TXT", "T5"},
                             {file("ZTQPROD.TXT", definition),
                              file("PROF.TXT", utf16(u"ABC1 80 95\n", false, true) + tail),
                              file("SQLLIB/ZT5_UPD.SQL", "earlier\n")},
                             true, 12, "Unable to read file PROF.TXT\n",
                             {{"SQLLIB/ZT5_UPD.SQL", "earlier\n"}}, noTemporaryFiles));
  }
  cases.push_back(makeCase(
      "ProfileInUtf16WithoutAMark", {"PROF.TXT", "T5"},
      {file("ZTQPROD.TXT", definition), file("PROF.TXT", utf16(u"ABC1 80 95\n", false, false))},
      true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", ""}}));
  // Its warning counts like any other: under --strict nothing is written.
  cases.push_back(makeCase("StrictBuildModeWithAnAdviceFileInUtf16WithoutAMark",
                           {"--strict", "-bd", "PROF.TXT", "T5"},
                           {file("ZTQPROD.TXT", definition), file("PROF.TXT", "ABC1 80 95\n"),
                            file("ZT5_ADVICE.TXT", utf16(u"ABC1~T~P\n", false, false))},
                           true, 24, "", {}, [](const fs::path& dir, const RunOutcome&) {
                             EXPECT_TRUE(namesUnder(dir / "SQLLIB").empty());
                           }));
}

// Everyday mistakes with the command line and the files: a diagnostic on
// standard error, the reports on standard output as they always were.
void addDiagnosticCases(std::vector<Case>& cases) {
  const Entry control = file("ZTQPROD.TXT", std::string(kOneDefinition));
  const Entry profile = file("PROF.TXT", "ABC1 80 95\n");
  const std::string statements = updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95");
  cases.push_back(makeCase("SwitchTypedInUpperCaseIsAnOutputName", {"PROF.TXT", "T5", "-V"},
                           {control, profile}, true, 0, "", {{"-V", statements}}));
  cases.push_back(makeCase("UnknownSwitchIsTheInputName", {"-x", "PROF.TXT", "T5"},
                           {control, profile}, true, 8,
                           "Invalid or missing product code ZPROF.TXT\n"));
  cases.push_back(makeCase("TypedControlFileReplacedByTheNewFamilysFile",
                           {"PROF.TXT", "T5", "OUT.SQL", "MYTYPO.TXT"},
                           {file("ZT5PROD.TXT", std::string(kOneDefinition)), profile}, true, 0, "",
                           {{"OUT.SQL", statements}}));
  std::string longLines;
  for (int i = 0; i < 7; ++i) longLines += "ABC1" + repeated(' ', 1100) + "80 95\n";
  cases.push_back(makeCase("SevenOverlongProfileLines", {"PROF.TXT", "T5"},
                           {control, file("PROF.TXT", "ABC2 1 2\n" + longLines)}, true, 0, ""));
  // A value of a numeric definition that is no number is compared as it
  // stands; a sign and a point make a number.
  cases.push_back(makeCase(
      "ValuesThatAreNotNumbers", {"NAN.TXT", "T5"},
      {file("ZTQPROD.TXT", "LOCKWAIT,DBLOCKS.WAITTIME,I\nCPU,SYS.CPU,I\nDISK,SYS.DISK,I\n"),
       file("NAN.TXT", "LOCKWAIT 5O 90\nCPU ON 5\nDISK -1.5 +2.\n")},
      true, 0, "",
      {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "LOCKWAIT", "DBLOCKS.WAITTIME", "5O", "90") +
                                  updatePair("ZTQ", "CPU", "SYS.CPU", "ON", "5") +
                                  updatePair("ZTQ", "DISK", "SYS.DISK", "-1.5", "+2.")}}));
  // The other layouts tell it too, in quiet runs; a normalised value is told
  // with what the statement compares with.
  cases.push_back(
      makeCase("ValuesThatAreNotNumbersInThresholdStatements", {"PROF.TXT", "Y5"},
               {file("ZYQPROD.TXT", "ABC1,TAB.COL,I\nABC2,TAB.C2,I2\n"),
                file("PROF.TXT", "THRABC1 5 9O 80\nTHRABC2 5 950 5X\n")},
               true, 0, "",
               {{"SQLLIB/ZY5_UPD.SQL", updatePair("IMS", "ABC1", "TAB.COL", "80", "9O") +
                                           updatePair("IMS", "ABC2", "TAB.C2", ".5X", "9.50")}}));
  cases.push_back(makeCase(
      "ValueThatIsNotANumberInASectionedProfile", {"PROF.TXT", "R5"},
      {file("ZR5PROD.TXT", std::string(kOneDefinition)),
       file("PROF.TXT", "Begin Table PR.SYS\nBegin Row\n ABC1W(8o)\n ABC1C(95)\nEnd Row\n")},
      true, 0, "", {{"SQLLIB/ZR5_UPD.SQL", updatePair("ZR5", "ABC1", "TAB.COL", "8O", "95")}}));
  // Five values that are no number are told one by one; from the sixth on,
  // one line counts the rest.
  for (int count : {5, 6, 7}) {
    std::string control;
    std::string profile;
    std::string statements;
    std::string errors;
    for (int i = 1; i <= count; ++i) {
      const std::string name = "D" + std::to_string(i);
      const std::string value = std::to_string(i) + "O";
      control += name + ",TAB.C" + std::to_string(i) + ",I\n";
      profile += name + " " + value + " 90\n";
      statements += updatePair("ZTQ", name, "TAB.C" + std::to_string(i), value, "90");
      if (i <= 5) {
        errors += "tornvel: PROF.TXT line " + std::to_string(i) + ": " + name + " warning value " +
                  value + " is not a number; the statement compares with it as it stands\n";
      }
    }
    if (count == 6) errors += "tornvel: PROF.TXT: 1 more value was not a number\n";
    if (count == 7) errors += "tornvel: PROF.TXT: 2 more values were not a number\n";
    cases.push_back(makeCase("ValuesThatAreNotNumbersCount" + std::to_string(count),
                             {"PROF.TXT", "T5"},
                             {file("ZTQPROD.TXT", control), file("PROF.TXT", profile)}, true, 0, "",
                             {{"SQLLIB/ZT5_UPD.SQL", statements}}));
    cases.back().errors = errors;
  }
  cases.push_back(makeCase(
      "ControlFieldCutAtItsCapacity", {"PROF.TXT", "T5"},
      {file("ZTQPROD.TXT", "LOCKWAITTIME,DBLOCKS.WAITTIME,I\n"),
       file("PROF.TXT", "LOCKWAIT 50 200\n")},
      true, 0, "",
      {{"SQLLIB/ZT5_UPD.SQL", updatePair("ZTQ", "LOCKWAIT", "DBLOCKS.WAITTIME", "50", "200")}}));
  // A system-product definition named like the service classes takes their path.
  cases.push_back(
      makeCase("SystemDefinitionNamedLikeTheServiceClasses", {"PROF.TXT", "R5"},
               {file("ZR5PROD.TXT", "ABC1,TAB.COL,I\nSVCL,TAB.S,I\n"),
                file("PROF.TXT", "Begin Table PR.X\nBegin Row\n ABC1W(85)\n ABC1C(95)\n")},
               true, 0, "", {}, [](const fs::path& dir, const RunOutcome&) {
                 const std::string rows = readWholeFile(dir / "SQLLIB/UR5_ZPX.SQL");
                 EXPECT_NE(rows.find("\"ZR5_P_Warning\""), std::string::npos) << rows;
               }));
  // A workload row without an index warning or an I/O critical: no I/O
  // critical situation or template row.
  std::string row = workloadRow("BATCH");
  for (std::string_view keyword : {" PRWLMWI(150)\n", " PRWLMCO(900)\n"}) {
    row.erase(row.find(keyword), keyword.size());
  }
  std::string rows = templateRows("BATCH", "1");
  const std::string ioCritical =
      "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_IO_BATCHP1_Critical\", "
      "\"Critical\", \"WLM_Service_Class_Resources\", 0 );\n";
  rows.erase(rows.find(ioCritical), ioCritical.size());
  cases.push_back(makeCase(
      "WorkloadRowThatLeavesKeywordsOut", {"PROF.TXT", "R5"},
      {file("ZR5PROD.TXT", std::string(kOneDefinition)),
       file("PROF.TXT", "Begin Table PR.WLM\n" + row)},
      true, 0, "", {{"SQLLIB/UR5_ZPX.SQL", rows}}, [](const fs::path& dir, const RunOutcome&) {
        std::string statements = readWholeFile(dir / "SQLLIB/ZR5_UPD.SQL");
        std::erase(statements, '\n');
        std::erase(statements, '\r');
        EXPECT_NE(statements.find("MWLMPR.PERHINDX *GE  *AND *VALUE MWLMPR.PERHINDX *LT 2.00"),
                  std::string::npos);
        EXPECT_NE(statements.find("*VALUE MWLMPR.IORATE *GE 50.0\");"), std::string::npos);
        EXPECT_EQ(statements.find("ZR5_IO_BATCHP1_Critical"), std::string::npos);
      }));
  // A keyword without a value is left out all the same: no I/O warning.
  row = workloadRow("BATCH");
  row.replace(row.find(" PRWLMWO(500)\n"), 14, " PRWLMWO\n");
  rows = templateRows("BATCH", "1");
  const std::string ioWarning =
      "INSERT INTO ZHBTMPLSIT (NAME,STATE,TEMPLATE,TYPE) VALUES(\"ZR5_IO_BATCHP1_Warning\", "
      "\"Warning\", \"WLM_Service_Class_Resources\", 0 );\n";
  rows.erase(rows.find(ioWarning), ioWarning.size());
  cases.push_back(makeCase("WorkloadRowKeywordWithoutAValue", {"PROF.TXT", "R5"},
                           {file("ZR5PROD.TXT", std::string(kOneDefinition)),
                            file("PROF.TXT", "Begin Table PR.WLM\n" + row)},
                           true, 0, "", {{"SQLLIB/UR5_ZPX.SQL", rows}}));
  cases.back().errors =
      "tornvel: PROF.TXT: service class BATCH period 1 gives no PRWLMWO; its I/O warning is off\n";
}

// A profile name that would reach a definition but for letter case or two
// neighbouring letters swapped is told, and stays unhandled; a name that
// differs otherwise is not. A definition given two different values for one
// severity is told with the value its statement uses, where it is written.
void addNearMissAndRepeatedValueCases(std::vector<Case>& cases) {
  const std::string lockwait = "LOCKWAIT,DBLOCKS.WAITTIME,I\n";
  const std::string bphit = updatePair("ZTQ", "BPHIT1", "BUF.HIT", "70", "90");
  const auto migrated = [](const char* warning) {
    return updatePair("ZTQ", "LOCKWAIT", "DBLOCKS.WAITTIME", warning, "95");
  };
  const auto nearly = [](const std::string& at, const char* how) {
    return "tornvel: PROF.TXT " + at + " reaches no definition, but would reach LOCKWAIT " + how +
           "; names compare exactly, so its values are not migrated\n";
  };
  const std::string byCase = nearly("line 1: Lockwait", "in other letter case");
  const std::string bySwap = nearly("line 1: LOCKWIAT", "with two neighbouring letters swapped");
  const std::string twice =
      "tornvel: PROF.TXT lines 1 and 2: LOCKWAIT warning value 80, then 90; "
      "the statement uses 90\n";
  const std::string strict = "tornvel: --strict: 1 warning; nothing was written\n";
  const std::string given80then90 = "LOCKWAIT 80 95\nLOCKWAIT 90 95\n";
  struct Run {
    const char* name;
    const char* option;
    std::string profile;  // before a line for BPHIT1
    int exitCode;
    std::optional<std::string> statements;
    std::string errors;
  };
  const Run runs[] = {
      {"NameInOtherLetterCase", "", "Lockwait 80 95\n", 0, bphit, byCase},
      {"StrictNameInOtherLetterCase", "--strict", "Lockwait 80 95\n", 24, {}, byCase + strict},
      {"NameWithNeighbouringLettersSwapped", "", "LOCKWIAT 80 95\n", 0, bphit, bySwap},
      {"StrictNameWithNeighboursSwapped", "--strict", "LOCKWIAT 80 95\n", 24, {}, bySwap + strict},
      // Another digit, a letter more or less, a swap on a short line.
      {"NamesThatDifferOtherwise", "", "BPHIT3 1 2\nLOCKWAITS 1 2\nLOCKWAT 1 2\nLOCKWIAT 1\n", 0,
       bphit, ""},
      {"ValueGivenTwice", "", given80then90, 0, migrated("90") + bphit, twice},
      {"StrictValueGivenTwice", "--strict", given80then90, 24, {}, twice + strict},
      {"SameValueGivenTwice", "", "LOCKWAIT 80 95\nLOCKWAIT 80 95\n", 0, migrated("80") + bphit,
       ""},
      // -nw: no warning is written, so none is given twice.
      {"ValueGivenTwiceToNoWarning", "-nw", given80then90, 0,
       migrated("") + updatePair("ZTQ", "BPHIT1", "BUF.HIT", "", "90"), ""},
  };
  for (const Run& run : runs) {
    std::vector<std::string> args{"PROF.TXT", "T5"};
    if (*run.option != '\0') args.insert(args.begin(), run.option);
    cases.push_back(makeCase(run.name, args,
                             {file("ZTQPROD.TXT", lockwait + "BPHIT1,BUF.HIT,I\n"),
                              file("PROF.TXT", run.profile + "BPHIT1 70 90\n")},
                             true, run.exitCode, "", {{"SQLLIB/ZT5_UPD.SQL", run.statements}}));
    cases.back().errors = run.errors;
  }
  // A column by its exception name; a table gives a column once per row.
  cases.push_back(makeCase(
      "NearMissAndRowsRepeatingAColumnInASectionedProfile", {"PROF.TXT", "R5"},
      {file("ZR5PROD.TXT", lockwait + "DASDQLEN,IO.QLEN,I\n"),
       file("PROF.TXT",
            "Begin Table PR.IO\nBegin Row\n LOCKWIATW(80)\n DASDQLENW(3)\nEnd Row\n"
            "Begin Row\n DASDQLENW(4)\nEnd Row\n")},
      true, 0, "", {{"SQLLIB/ZR5_UPD.SQL", updatePair("ZR5", "DASDQLEN", "IO.QLEN", "4", "")}}));
  cases.back().errors = nearly("line 3: LOCKWIAT", "with two neighbouring letters swapped");
  // A synonym member reaches its group's definition, however it looks.
  cases.push_back(makeCase(
      "SynonymMemberReachedThroughItsGroup", {"PROF.TXT", "Y5"},
      {file("ZYQPROD.TXT", lockwait + ":SYNONYM H LOCKWAIT,LOCKWIAT\n"),
       file("PROF.TXT", "THRLOCKWIAT 0 90 80\n")},
      true, 0, "",
      {{"SQLLIB/ZY5_UPD.SQL", updatePair("IMS", "LOCKWAIT", "DBLOCKS.WAITTIME", "80", "90")}}));
  cases.back().errors = "";
  // Five of each are told one by one, the rest counted; a statement uses its
  // value as stored, normalised.
  std::string control;
  std::string profile[3];
  std::string statements;
  std::string nearMisses;
  std::string repeated;
  for (int i = 1; i <= 7; ++i) {
    const std::string n = std::to_string(i);
    control += "D" + n + ",TAB.C" + n + ",I1\nWAIT" + n + ",TAB.W" + n + ",I\n";
    profile[0] += "D" + n + " 1" + n + " 90\n";
    profile[1] += "D" + n + " 2" + n + " 90\n";
    profile[2] += i < 7 ? "WIAT" + n + " 1 2\n" : "";
    statements += updatePair("ZTQ", "D" + n, "TAB.C" + n, "2." + n, "9.0");
    if (i > 5) continue;
    nearMisses += "tornvel: PROF.TXT line " + std::to_string(14 + i) + ": WIAT" + n +
                  " reaches no definition, but would reach WAIT" + n +
                  " with two neighbouring letters swapped; names compare exactly, so its values "
                  "are not migrated\n";
    repeated += "tornvel: PROF.TXT lines " + n + " and " + std::to_string(7 + i) + ": D" + n +
                " warning value 1" + n + ", then 2" + n + "; the statement uses 2." + n + "\n";
  }
  cases.push_back(makeCase(
      "NearMissesAndValuesGivenTwiceCounted", {"PROF.TXT", "T5"},
      {file("ZTQPROD.TXT", control), file("PROF.TXT", profile[0] + profile[1] + profile[2])}, true,
      0, "", {{"SQLLIB/ZT5_UPD.SQL", statements}}));
  cases.back().errors = nearMisses +
                        "tornvel: PROF.TXT: 1 more name nearly reaches a definition\n" + repeated +
                        "tornvel: PROF.TXT: 2 more values were given twice\n";
}

// --dry-run: everything but the writing, with the same messages and exit
// code; --strict: a warning ends the run with 24, nothing written.
void addDryRunAndStrictCases(std::vector<Case>& cases) {
  const Entry control = file("ZTQPROD.TXT", std::string(kOneDefinition));
  const Entry profile = file("PROF.TXT", "ABC1 80 95\n");
  const Entry earlierCsv = file("SQLLIB/ZT5_CDF.TXT", "earlier\n");
  const std::string statements = updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95");
  // Nothing is created: the folder keeps what it held, and nothing else.
  const auto onlyEarlierCsv = [](const fs::path& dir, const RunOutcome&) {
    EXPECT_EQ(namesUnder(dir / "SQLLIB"), std::vector<std::string>{"ZT5_CDF.TXT"});
  };
  cases.push_back(makeCase("DryRunWritesNothing", {"-dh", "PROF.TXT", "--dry-run", "T5"},
                           {control, profile, earlierCsv}, true, 0, "",
                           {{"SQLLIB/ZT5_CDF.TXT", "earlier\n"}}, onlyEarlierCsv));
  cases.back().errors =
      "tornvel: dry run: would replace SQLLIB\\ZT5_UPD.SQL (2 statements) and append 3 lines to "
      "SQLLIB\\ZT5_CDF.TXT; nothing was written\n";
  const Entry workload = file("PROF.TXT", "Begin Table PR.WLM\n" + workloadRow("BATCH"));
  cases.push_back(
      makeCase("DryRunOfServiceClasses", {"--dry-run", "-v", "PROF.TXT", "R5"},
               {file("ZR5PROD.TXT", std::string(kOneDefinition)), workload}, true, 0, std::nullopt,
               {}, [](const fs::path& dir, const RunOutcome& dry) {
                 EXPECT_TRUE(namesUnder(dir / "SQLLIB").empty());
                 // Standard output is the real run's, byte for byte.
                 RunOutcome real = runTornvel(TORNVEL_BINARY, {"-v", "PROF.TXT", "R5"}, dir);
                 EXPECT_EQ(real.exitCode, 0);
                 EXPECT_EQ(dry.console, real.console);
               }));
  cases.back().errors =
      "tornvel: dry run: would replace SQLLIB\\ZR5_UPD.SQL (8 statements) and "
      "SQLLIB\\UR5_ZPX.SQL (8 template rows); nothing was written\n";
  // A threshold file that is not there is not made either.
  cases.push_back(makeCase("DryRunOfAThresholdFileThatIsNotThere",
                           {"--dry-run", "-d", "PROF.TXT", "T5"}, {control, profile}, true, 0, "",
                           {}, [](const fs::path& dir, const RunOutcome&) {
                             EXPECT_TRUE(namesUnder(dir / "SQLLIB").empty());
                           }));
  cases.back().errors =
      "tornvel: dry run: would replace SQLLIB\\ZT5_UPD.SQL (2 statements) and append 2 lines to "
      "SQLLIB\\ZT5_CDF.TXT; nothing was written\n";
  cases.push_back(makeCase("DryRunWithoutTheOutputFolder", {"--dry-run", "PROF.TXT", "T5"},
                           {control, profile}, false, 12,
                           "Unable to open file SQLLIB\\ZT5_UPD.SQL for output.\n"));
  cases.push_back(makeCase("DryRunOfAnOutputThatIsAnInput",
                           {"--dry-run", "PROF.TXT", "T5", "PROF.TXT"}, {control, profile}, true,
                           12, "Unable to open file PROF.TXT for output.\n",
                           {{"PROF.TXT", "ABC1 80 95\n"}}));
  cases.push_back(makeCase("DryRunOfAnOutputThatIsAFolder", {"--dry-run", "-d", "PROF.TXT", "T5"},
                           {control, profile, directory("SQLLIB/ZT5_CDF.TXT")}, true, 12,
                           "Unable to open file SQLLIB\\ZT5_CDF.TXT for output.\n"));
  cases.push_back(makeCase(
      "StrictRunWithAWarningWritesNothing",
      {"-d", "PROF.TXT", "T5", "OUT.SQL", "MYTYPO.TXT", "--strict"},
      {file("ZT5PROD.TXT", std::string(kOneDefinition)), profile, earlierCsv}, true, 24, "",
      {{"OUT.SQL", std::nullopt}, {"SQLLIB/ZT5_CDF.TXT", "earlier\n"}}, onlyEarlierCsv));
  // Nothing reaches a pipe, and a threshold file that was not there is not made.
  cases.push_back(makeCase("StrictRunWritesNothingToAPipe",
                           {"--strict", "-d", "PROF.TXT", "T5", "/dev/stdout", "TYPO.TXT"},
                           {file("ZT5PROD.TXT", std::string(kOneDefinition)), profile}, true, 24,
                           "", {{"SQLLIB/ZT5_CDF.TXT", std::nullopt}}));
  cases.back().posixOnly = "Windows has no /dev/stdout";
  cases.push_back(makeCase("StrictRunWithoutAWarningIsThePlainRun", {"--strict", "PROF.TXT", "T5"},
                           {control, profile}, true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", statements}}));
  cases.back().errors = "";
  cases.push_back(
      makeCase("StrictDryRunCountsEveryWarning", {"--strict", "--dry-run", "PROF.TXT", "T5", "-V"},
               {control, file("PROF.TXT", "ABC1 8O 95\n")}, true, 24, "", {{"-V", std::nullopt}}));
}

// ---------------------------------------------------------------------------
// --summary: one JSON line per run, written out here from its layout.

// A JSON string of a text that holds no control character.
std::string json(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string jsonArray(const std::vector<std::string>& values) {
  std::string out = "[";
  for (const std::string& value : values) out += (out.size() > 1 ? "," : "") + value;
  return out + "]";
}

// A name as built, as the host opens it: a back-slash is a folder separator.
std::string hostPathOf(std::string name) {
#ifndef _WIN32
  std::replace(name.begin(), name.end(), '\\', '/');
#endif
  return name;
}

struct SummaryDiagnostic {
  std::string kind;
  std::optional<std::string> file;
  std::optional<int> line;
  std::string message;
};

// An output with the text the run has for it, written with "\n" line ends.
struct SummaryOutput {
  std::string name;
  std::string text;
  std::string fate;
};

// The parts of a run's line; the codes and the statement file follow from
// the product.
struct Summary {
  std::string product = "T5";
  std::string productCode = "ZTQ";
  std::optional<std::string> control = "ZTQPROD.TXT";
  int exitCode = 0;
  bool dryRun = false;
  bool strict = false;
  // definitions, thresholds, statements, templateRows, thresholdLines, unhandled
  std::array<int, 6> counts{};
  std::vector<std::pair<std::string, int>> unhandled;  // name and profile line
  std::vector<SummaryDiagnostic> warnings;
  std::vector<SummaryDiagnostic> errors;
  std::vector<SummaryOutput> outputs;
};

std::string diagnosticsJson(const std::vector<SummaryDiagnostic>& entries) {
  std::vector<std::string> objects;
  for (const SummaryDiagnostic& d : entries) {
    objects.push_back("{\"kind\":" + json(d.kind) +
                      ",\"file\":" + (d.file ? json(*d.file) : "null") +
                      ",\"line\":" + (d.line ? std::to_string(*d.line) : "null") +
                      ",\"message\":" + json(d.message) + "}");
  }
  return jsonArray(objects);
}

// The line of a run of PROF.TXT, "\n" at its end on every system (it is the
// summary's own line end, not a text line of an output); sizes count the
// system's line ends.
std::string summaryLine(const Summary& s) {
  const std::string fileCode = "Z" + s.product;
  const auto flag = [](bool on) { return std::string(on ? "true" : "false"); };
  std::string line = "{\"format\":1,\"version\":\"3.323\",\"profile\":\"PROF.TXT\",\"product\":" +
                     json(s.product) + ",\"productCode\":" + json(s.productCode) +
                     ",\"fileCode\":" + json(fileCode) +
                     ",\"control\":" + (s.control ? json(*s.control) : "null") +
                     ",\"statementFile\":" + json("SQLLIB\\" + fileCode + "_UPD.SQL") +
                     ",\"exit\":" + std::to_string(s.exitCode) + ",\"dryRun\":" + flag(s.dryRun) +
                     ",\"strict\":" + flag(s.strict) + ",\"counts\":{";
  const char* const countNames[] = {"definitions",  "thresholds",     "statements",
                                    "templateRows", "thresholdLines", "unhandled"};
  for (std::size_t i = 0; i < s.counts.size(); ++i) {
    line += (i > 0 ? "," : "") + json(countNames[i]) + ":" + std::to_string(s.counts[i]);
  }
  std::vector<std::string> unhandled;
  for (const auto& [name, profileLine] : s.unhandled) {
    unhandled.push_back("{\"name\":" + json(name) + ",\"line\":" + std::to_string(profileLine) +
                        "}");
  }
  std::vector<std::string> outputs;
  for (const SummaryOutput& o : s.outputs) {
    outputs.push_back("{\"name\":" + json(o.name) + ",\"path\":" + json(hostPathOf(o.name)) +
                      ",\"size\":" + std::to_string(withNativeLineEnds(o.text).size()) +
                      ",\"fate\":" + json(o.fate) + "}");
  }
  return line + "},\"unhandled\":" + jsonArray(unhandled) +
         ",\"warnings\":" + diagnosticsJson(s.warnings) +
         ",\"errors\":" + diagnosticsJson(s.errors) + ",\"outputs\":" + jsonArray(outputs) + "}\n";
}

void expectSummaryFile(const fs::path& directory, const std::vector<Summary>& runs) {
  std::string expected;
  for (const Summary& run : runs) expected += summaryLine(run);
  EXPECT_EQ(readWholeFile(directory / "RUNS.JSON"), expected);
}

ExtraCheck summaryFileHolds(Summary run) {
  return
      [run](const fs::path& directory, const RunOutcome&) { expectSummaryFile(directory, {run}); };
}

void addSummaryCases(std::vector<Case>& cases) {
  const Entry control = file("ZTQPROD.TXT", std::string(kOneDefinition));
  const Entry profile = file("PROF.TXT", "ABC1 80 95\n");
  const std::string statements = updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95");
  const std::string thresholds = "PROF.TXT,Critical,95\nPROF.TXT,Warning,80\n";
  Summary replaced;
  replaced.counts = {1, 1, 2, 0, 2, 0};
  replaced.outputs = {{"SQLLIB\\ZT5_UPD.SQL", statements, "replaced"},
                      {"SQLLIB\\ZT5_CDF.TXT", thresholds, "appended"}};
  cases.push_back(makeCase("SummaryOfARunThatReplacesAndAppends",
                           {"-d", "--summary=RUNS.JSON", "PROF.TXT", "T5"},
                           {control, profile, file("SQLLIB/ZT5_UPD.SQL", "earlier\n")}, true, 0, "",
                           {{"SQLLIB/ZT5_UPD.SQL", statements}, {"SQLLIB/ZT5_CDF.TXT", thresholds}},
                           summaryFileHolds(replaced)));
  cases.back().errors = "";

  // The warning is in the line; the run's last line, printed after it, is not.
  const std::string notANumber =
      "PROF.TXT line 1: ABC1 warning value 8O is not a number; the statement compares with it "
      "as it stands";
  Summary strict;
  strict.exitCode = 24;
  strict.dryRun = strict.strict = true;
  strict.counts = {1, 1, 2, 0, 0, 0};
  strict.warnings = {{"not-a-number", "PROF.TXT", 1, notANumber}};
  strict.outputs = {
      {"SQLLIB\\ZT5_UPD.SQL", updatePair("ZTQ", "ABC1", "TAB.COL", "8O", "95"), "unchanged"}};
  cases.push_back(makeCase("SummaryOfAStrictDryRunThatWarns",
                           {"--strict", "--dry-run", "--summary=RUNS.JSON", "PROF.TXT", "T5"},
                           {control, file("PROF.TXT", "ABC1 8O 95\n")}, true, 24, "", {},
                           [strict](const fs::path& dir, const RunOutcome& run) {
                             EXPECT_TRUE(namesUnder(dir / "SQLLIB").empty());
                             summaryFileHolds(strict)(dir, run);
                           }));
  cases.back().errors =
      "tornvel: " + notANumber +
      "\ntornvel: --strict: 1 warning; nothing was written but the summary line\n";

  // Neither family's control file opens: no control, nothing counted or written.
  Summary noControl;
  noControl.product = "W5";
  noControl.productCode = "ZWQ";
  noControl.control = std::nullopt;
  noControl.exitCode = 12;
  for (const char* name : {"ZWQPROD.TXT", "ZW5PROD.TXT"}) {
    noControl.errors.push_back(
        {"cannot-open", name, std::nullopt,
         "cannot open the control file " + std::string(name) + ": No such file or directory"});
  }
  cases.push_back(makeCase("SummaryOfARunWhoseControlFileDoesNotOpen",
                           {"--summary=RUNS.JSON", "PROF.TXT", "W5"}, {profile}, true, 12,
                           "Unable to open control file: ZW5PROD.TXT\n", {},
                           summaryFileHolds(noControl)));
  cases.back().errors = "tornvel: " + noControl.errors[0].message +
                        "\ntornvel: " + noControl.errors[1].message + "\n";

  // The first run creates the file, the second (a dry run, the file named
  // in the next argument) appends its line.
  Summary created;
  created.counts = {1, 1, 2, 0, 0, 0};
  created.outputs = {{"SQLLIB\\ZT5_UPD.SQL", statements, "created"}};
  Summary dry = created;
  dry.dryRun = true;
  dry.outputs[0].fate = "unchanged";
  cases.push_back(makeCase(
      "SummaryLinesOfTwoRunsFollowEachOther", {"--summary=RUNS.JSON", "PROF.TXT", "T5"},
      {control, profile}, true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", statements}},
      [created, dry](const fs::path& dir, const RunOutcome&) {
        const RunOutcome again = runTornvel(
            TORNVEL_BINARY, {"--dry-run", "PROF.TXT", "--summary", "RUNS.JSON", "T5"}, dir);
        EXPECT_EQ(again.exitCode, 0);
        EXPECT_EQ(again.errors, withNativeLineEnds("tornvel: dry run: would replace "
                                                   "SQLLIB\\ZT5_UPD.SQL (2 statements); nothing "
                                                   "was written but the summary line\n"));
        expectSummaryFile(dir, {created, dry});
      }));
  cases.back().errors = "";

  // A summary that cannot be written turns a run's 0 into 12, and says
  // whether the outputs were written.
  const std::string cannotAppend =
      "tornvel: cannot append the summary line to the summary file NOWHERE/RUNS.JSON: No such "
      "file or directory; the run's outputs were ";
  cases.push_back(makeCase("SummaryFileInAMissingFolderAfterARunThatWrote",
                           {"--summary=NOWHERE/RUNS.JSON", "PROF.TXT", "T5"}, {control, profile},
                           true, 12, "",
                           {{"SQLLIB/ZT5_UPD.SQL", statements}, {"NOWHERE", std::nullopt}}));
  cases.back().errors = cannotAppend + "written\n";
  cases.push_back(makeCase("SummaryFileInAMissingFolderAfterADryRun",
                           {"--dry-run", "--summary=NOWHERE/RUNS.JSON", "PROF.TXT", "T5"},
                           {control, profile}, true, 12, "",
                           {{"SQLLIB/ZT5_UPD.SQL", std::nullopt}, {"NOWHERE", std::nullopt}}));
  cases.back().errors = cannotAppend +
                        "not written\ntornvel: dry run: would replace SQLLIB\\ZT5_UPD.SQL (2 "
                        "statements); nothing was written\n";

  // A summary file that is one of the run's own files is left as it is.
  cases.push_back(makeCase("SummaryFileThatIsTheProfile", {"--summary=PROF.TXT", "PROF.TXT", "T5"},
                           {control, profile}, true, 12, "",
                           {{"PROF.TXT", "ABC1 80 95\n"}, {"SQLLIB/ZT5_UPD.SQL", statements}}));
  cases.back().errors =
      "tornvel: cannot append the summary line to the summary file PROF.TXT: it is the same file "
      "as the profile PROF.TXT; the run's outputs were written\n";
  cases.push_back(makeCase("SummaryFileThatIsTheStatementFile",
                           {"--dry-run", "--summary=SQLLIB/ZT5_UPD.SQL", "PROF.TXT", "T5"},
                           {control, profile, file("SQLLIB/ZT5_UPD.SQL", "earlier\n")}, true, 12,
                           "", {{"SQLLIB/ZT5_UPD.SQL", "earlier\n"}}));
  cases.back().errors =
      "tornvel: cannot append the summary line to the summary file SQLLIB/ZT5_UPD.SQL: it is the "
      "same file as the statement file SQLLIB\\ZT5_UPD.SQL; the run's outputs were not written\n"
      "tornvel: dry run: would replace SQLLIB\\ZT5_UPD.SQL (2 statements); nothing was written\n";

  // A profile name that reaches no definition is listed with its line; its
  // Latin-1 byte, no UTF-8, is written as U+FFFD.
  Summary unhandled = created;
  unhandled.counts[5] = 1;
  unhandled.unhandled = {{"AB\xEF\xBF\xBDX", 2}};
  cases.push_back(makeCase("SummaryWritesAByteThatIsNoUtf8AsAReplacementCharacter",
                           {"--summary=RUNS.JSON", "PROF.TXT", "T5"},
                           {control, file("PROF.TXT", "ABC1 80 95\nAB\xE9X 70 90\n")}, true, 0, "",
                           {{"SQLLIB/ZT5_UPD.SQL", statements}}, summaryFileHolds(unhandled)));
  cases.back().errors = "";

  // A command-line fault ends the run before any summary.
  cases.push_back(makeCase("SummaryWithoutAFileNameIsACommandLineFault",
                           {"--summary=RUNS.JSON", "PROF.TXT", "T5", "--summary"},
                           {control, profile}, true, 8, "Missing the name of the summary file\n",
                           {{"RUNS.JSON", std::nullopt}, {"SQLLIB/ZT5_UPD.SQL", std::nullopt}}));
  cases.back().errors = "";
}

// The exact standard error of cases, each line a diagnostic. Where a name as
// built differs from the path it is opened by, the diagnostic shows both.
void expectDiagnostics(std::vector<Case>& cases) {
#ifdef _WIN32
  const std::string sqllibPath;
#else
  const std::string sqllibPath = " (SQLLIB/ZT5_UPD.SQL)";
#endif
  const std::string noSwitch =
      " is not a switch (-v, -nw, -d, -dh, -bd, -?, --dry-run, --strict, --summary, --help, "
      "--version); ";
  const std::string products =
      " is not a product code; the products are R5, T5, W5 and Y5 (TQ, WQ and YQ are the legacy "
      "forms of T5, W5 and Y5)\n";
  std::string overlong;
  for (int line = 2; line <= 6; ++line) {
    overlong += "tornvel: PROF.TXT line " + std::to_string(line) +
                " is longer than 1023 characters; the rest of it is read as the next line\n";
  }
  overlong +=
      "tornvel: PROF.TXT: 2 more lines were longer than the line limit and read as two or "
      "more lines\n";
  const std::string noThreshold =
      "tornvel: no line of the profile PROF.TXT gave a threshold to a definition of T5, so the "
      "statement file SQLLIB\\ZT5_UPD.SQL holds no statement; the profile may belong to another "
      "product\n";
  const auto emptyProfile = [](std::string_view fileCode) {
    return "tornvel: the profile PROF.TXT is empty (no bytes, or blank lines only), so the "
           "statement file SQLLIB\\" +
           std::string(fileCode) + "_UPD.SQL holds no statement\n";
  };
  const std::pair<const char*, std::string> expected[] = {
      {"MissingProfile",
       "tornvel: cannot open the profile MISSING.TXT: No such file or directory\n"},
      {"ProfileThatIsADirectory", "tornvel: cannot open the profile PROF.TXT: Is a directory\n"},
      {"ProfileThatCannotBeReadEndsWith12",
       "tornvel: cannot read the profile /proc/self/mem: Input/output error; nothing was "
       "written\n"},
      {"NoSqllibDirectoryForTheStatementFile",
       "tornvel: cannot open the statement file SQLLIB\\ZT5_UPD.SQL" + sqllibPath +
           ": No such file or directory; the folder SQLLIB must exist (mkdir SQLLIB)\n"},
      {"OutputThatIsTheProfileIsRefused",
       "tornvel: cannot write the statement file PROF.TXT: it is the same file as the profile "
       "PROF.TXT\n"},
      {"StatementFileOnAFullDevice",
       "tornvel: cannot write the statement file /dev/full: No space left on device; the earlier "
       "outputs are kept\n"},
      {"TypedControlFileThatIsADirectoryFallsBack",
       "tornvel: the control file MYCTL did not open (Is a directory); the run reads ZT5PROD.TXT "
       "instead\ntornvel: cannot open the control file ZT5PROD.TXT: No such file or directory\n"},
      {"TypedControlFileReplacedByTheNewFamilysFile",
       "tornvel: the control file MYTYPO.TXT did not open (No such file or directory); the run "
       "reads ZT5PROD.TXT instead\n"},
      {"MissingControlFileNamesTheFallbackCandidate",
       "tornvel: cannot open the control file ZWQPROD.TXT: No such file or directory\n"
       "tornvel: cannot open the control file ZW5PROD.TXT: No such file or directory\n"},
      {"AdviceFileThatIsADirectoryIsPassedOver",
       "tornvel: no advice file ZT5_ADVICE.TXT (Is a directory): the situations get no texts or "
       "parameters from it\n"},
      {"UnsupportedProductWithAControlFile", "tornvel: ab" + products},
      {"SwitchTypedInUpperCaseIsAnOutputName",
       "tornvel: -V" + noSwitch + "it is taken as the output file name\n"},
      {"UnknownSwitchIsTheInputName", "tornvel: -x" + noSwitch +
                                          "it is taken as the input file name\ntornvel: PROF.TXT" +
                                          products},
      {"EmptyProfileGivesAnEmptyStatementFileT5", emptyProfile("ZT5")},
      {"EmptyProfileGivesAnEmptyStatementFileR5", emptyProfile("ZR5")},
      {"BlankLinesProfileGivesAnEmptyStatementFileW5", emptyProfile("ZW5")},
      {"BlankLinesProfileGivesAnEmptyStatementFileY5", emptyProfile("ZY5")},
      {"ProfileInUtf16WithCrLf", ""},
      {"ControlFileInUtf16BigEndian", ""},
      {"AdviceFileInUtf16", ""},
      {"Utf16ProfileOfAnOddLength",
       "tornvel: cannot read the profile PROF.TXT: it is not UTF-16LE to its end (an odd number of "
       "bytes); nothing was written\n"},
      {"Utf16ProfileWithAnUnpairedSurrogate",
       "tornvel: cannot read the profile PROF.TXT: it is not UTF-16LE to its end (an unpaired "
       "surrogate at byte 24); nothing was written\n"},
      {"ProfileInUtf16WithoutAMark",
       "tornvel: the profile PROF.TXT looks like UTF-16LE without a byte-order mark, and is read "
       "as bytes; save it as UTF-8, or as UTF-16 with a byte-order mark\n" +
           noThreshold},
      {"ValuesThatAreNotNumbers",
       "tornvel: NAN.TXT line 1: LOCKWAIT warning value 5O is not a number; the statement "
       "compares with it as it stands\n"
       "tornvel: NAN.TXT line 2: CPU warning value ON is not a number; the statement compares "
       "with it as it stands\n"},
      {"ValuesThatAreNotNumbersInThresholdStatements",
       "tornvel: PROF.TXT line 1: ABC1 critical value 9O is not a number; the statement compares "
       "with it as it stands\ntornvel: PROF.TXT line 2: ABC2 warning value 5X is not a number; the "
       "statement compares with .5X\n"},
      {"ValueThatIsNotANumberInASectionedProfile",
       "tornvel: PROF.TXT line 3: ABC1 warning value 8O is not a number; the statement compares "
       "with it as it stands\n"},
      {"ControlFieldCutAtItsCapacity",
       "tornvel: ZTQPROD.TXT line 1: the exception name LOCKWAITTIME is longer than 8 "
       "characters; it is kept as LOCKWAIT\n"},
      {"SystemDefinitionNamedLikeTheServiceClasses",
       "tornvel: ZR5PROD.TXT line 2: SVCL is the name of the service classes' definitions; this "
       "one writes service-class situations with an empty class and period, not statements of "
       "its own\n"},
      {"WorkloadRowThatLeavesKeywordsOut",
       "tornvel: PROF.TXT: service class BATCH period 1 gives no PRWLMWI, PRWLMCO; its index "
       "situations compare with an empty value, its I/O critical is off\n"},
      {"EmptyControlFileEndsWith16BeforeTheProfile",
       "tornvel: the control file ZTQPROD.TXT holds no definition line; a definition is an "
       "exception name and an attribute, then optional fields, such as "
       "LOCKWAIT,DBLOCKS.WAITTIME,I (see man 5 tornvel)\n"},
      {"DryRunWithoutTheOutputFolder",
       "tornvel: cannot open the statement file SQLLIB\\ZT5_UPD.SQL" + sqllibPath +
           ": No such file or directory; the folder SQLLIB must exist (mkdir SQLLIB)\n"
           "tornvel: dry run: a real run would end with 12; nothing was written\n"},
      {"DryRunOfAnOutputThatIsAnInput",
       "tornvel: cannot write the statement file PROF.TXT: it is the same file as the profile "
       "PROF.TXT\ntornvel: dry run: a real run would end with 12; nothing was written\n"},
      {"StrictRunWithAWarningWritesNothing",
       "tornvel: the control file MYTYPO.TXT did not open (No such file or directory); the run "
       "reads ZT5PROD.TXT instead\ntornvel: --strict: 1 warning; nothing was written\n"},
      {"StrictRunWritesNothingToAPipe",
       "tornvel: the control file TYPO.TXT did not open (No such file or directory); the run "
       "reads ZT5PROD.TXT instead\ntornvel: --strict: 1 warning; nothing was written\n"},
      {"StrictDryRunCountsEveryWarning",
       "tornvel: -V" + noSwitch +
           "it is taken as the output file name\n"
           "tornvel: PROF.TXT line 1: ABC1 warning value 8O is not a number; the statement "
           "compares with it as it stands\ntornvel: --strict: 2 warnings; nothing was written\n"},
      {"SevenOverlongProfileLines", overlong + noThreshold},
      {"StrictBuildModeWithAnAdviceFileInUtf16WithoutAMark",
       "tornvel: the advice file ZT5_ADVICE.TXT looks like UTF-16LE without a byte-order mark, "
       "and is read as bytes; save it as UTF-8, or as UTF-16 with a byte-order mark\n"
       "tornvel: --strict: 1 warning; nothing was written\n"},
      {"ByteOrderMarkBeforeTheFirstProfileValue", ""},
      {"ByteOrderMarkBeforeTheFirstDefinition", ""},
  };
  for (const auto& [name, errors] : expected) {
    auto found =
        std::find_if(cases.begin(), cases.end(), [&](const Case& c) { return c.name == name; });
    ASSERT_NE(found, cases.end()) << name;
    found->errors = errors;
  }
}

// Names of any characters and any length. The names are written as their
// UTF-8 bytes, which a run takes, opens and shows as they are on every system
// (on Windows through its UTF-16 command line and file calls).
void addNameCases(std::vector<Case>& cases) {
  const std::string profileName =
      "\xD0\x9F\xD0\xA0\xD0\x9E\xD0\xA4\xD0\x98\xD0\x9B\xD0\xAC_\xD0\xB6.TXT";
  const std::string controlName =
      "\xD0\x9A\xD0\x9E\xD0\x9D\xD0\xA2\xD0\xA0\xD0\x9E\xD0\x9B\xD0\xAC.TXT";
  const std::string outputName = "\xE5\x87\xBA\xE5\x8A\x9B_UPD.SQL";
  const std::string statements = updatePair("ZTQ", "ABC1", "TAB.COL", "80", "95");
  const std::vector<Entry> named{file(controlName, std::string(kOneDefinition)),
                                 file(profileName, "ABC1 80 95\n")};
  // The typed control file is read: were it not found, the run would fall
  // back to ZT5PROD.TXT, which is not there, and end with 12.
  cases.push_back(makeCase("ProfileControlAndStatementFileNamedInCyrillicAndCjk",
                           {profileName, "T5", outputName, controlName}, named, true, 0, "",
                           {{outputName, statements}}, noTemporaryFiles));
  cases.back().errors = "";
  const std::string banner =
      "\n\nTORNVEL Version: 03.323\n\nOptions:\tVerbose\n"
      "         \tGenerate Warnings\n"
      "         \tInput Profile Name:\t" +
      profileName +
      "\n"
      "         \tOutput file Name:  \t" +
      outputName +
      "\n"
      "         \tProduct Code:      \tZTQ\n"
      "         \tControl file Name: \t" +
      controlName + "\n\n\n\n";
  cases.push_back(makeCase("VerboseBannerShowsCyrillicAndCjkNamesAsUtf8",
                           {"-v", profileName, "T5", outputName, controlName}, named, true, 0,
                           std::nullopt, {{outputName, statements}},
                           [banner](const fs::path&, const RunOutcome& run) {
                             const std::string expected = withNativeLineEnds(banner);
                             EXPECT_EQ(run.console.substr(0, expected.size()), expected);
                           }));
  cases.back().errors = "";

  // Five folders of 60 characters: the names alone pass 260 characters.
  std::string deep;
  for (char letter : {'A', 'B', 'C', 'D', 'E'}) deep += std::string(60, letter) + "/";
  // Three folders of 65: a name under 240 characters that passes 260 only
  // with the run's folder before it.
  std::string fairlyDeep;
  for (char letter : {'F', 'G', 'H'}) fairlyDeep += std::string(65, letter) + "/";
  const Entry control = file("ZTQPROD.TXT", std::string(kOneDefinition));
  const Entry profile = file("PROF.TXT", "ABC1 80 95\n");
  for (const auto& [name, folders] : {std::pair{"StatementFileDeepInFolders", deep},
                                      {"StatementFileFairlyDeepInFolders", fairlyDeep}}) {
    const std::string output = folders + "ZT5_UPD.SQL";
    cases.push_back(makeCase(name, {"PROF.TXT", "T5", output},
                             {control, profile, directory(folders), file(output, "earlier\n")},
                             true, 0, "", {{output, statements}}, noTemporaryFiles));
    cases.back().errors = "";
  }
  cases.push_back(makeCase("ProfileDeepInFolders", {deep + profileName, "T5"},
                           {control, directory(deep), file(deep + profileName, "ABC1 80 95\n")},
                           true, 0, "", {{"SQLLIB/ZT5_UPD.SQL", statements}}));
  cases.back().errors = "";
}

std::vector<Case> allCases() {
  std::vector<Case> cases;
  addInputFileCases(cases);
  addNulByteCases(cases);
  addLineLengthCases(cases);
  addLineEndCases(cases);
  addStructureCases(cases);
  addClockCases(cases);
  addLimitCases(cases);
  addOutputCases(cases);
  addIntegrityCases(cases);
  addByteOrderMarkCases(cases);
  addDiagnosticCases(cases);
  addNearMissAndRepeatedValueCases(cases);
  addDryRunAndStrictCases(cases);
  addSummaryCases(cases);
  addNameCases(cases);
  expectDiagnostics(cases);
  return cases;
}

// ---------------------------------------------------------------------------

class BadInputTest : public ::testing::TestWithParam<Case> {};

void lay(const fs::path& root, const Entry& entry) {
  fs::path path = root / utf8Path(entry.path);
  switch (entry.kind) {
    case Entry::Kind::kDirectory:
      fs::create_directories(path);
      break;
    case Entry::Kind::kSymlink:
      fs::create_symlink(utf8Path(entry.content), path);
      break;
    case Entry::Kind::kFile: {
      std::ofstream out(path, std::ios::binary);
      out << entry.content;
      ASSERT_TRUE(out.good()) << utf8Name(path);
      break;
    }
  }
}

TEST_P(BadInputTest, EndsWithItsExitCodeMessageAndOutput) {
  const Case& c = GetParam();
#ifdef _WIN32
  if (!c.posixOnly.empty()) GTEST_SKIP() << c.posixOnly;
#endif
  ScratchDirectory scratch;
  const fs::path runDirectory = scratch.path() / "run";
  fs::create_directory(runDirectory);
  if (c.withSqllib) fs::create_directory(runDirectory / "SQLLIB");
  for (const Entry& entry : c.setup) lay(runDirectory, entry);

  RunOutcome outcome =
      runTornvel(TORNVEL_BINARY, c.args, runDirectory, {{"SOURCE_DATE_EPOCH", c.sourceDateEpoch}});
  ASSERT_TRUE(outcome.failure.empty()) << outcome.failure;
  ASSERT_FALSE(outcome.timedOut);

  EXPECT_EQ(outcome.exitCode, c.exitCode);
  if (c.errors) {
    EXPECT_EQ(outcome.errors, withNativeLineEnds(*c.errors));
  } else {
    std::size_t at = 0;
    while (at < outcome.errors.size()) {
      EXPECT_EQ(outcome.errors.compare(at, 9, "tornvel: "), 0)
          << "not a diagnostic: " << outcome.errors.substr(at);
      const std::size_t end = outcome.errors.find('\n', at);
      at = end == std::string::npos ? outcome.errors.size() : end + 1;
    }
  }
  if (c.console) {
    EXPECT_EQ(outcome.console, withNativeLineEnds(*c.console));
  }
  for (const auto& [name, written] : c.outputs) {
    fs::path path = runDirectory / utf8Path(name);
    // A file the case laid down and expects as it was is compared byte for
    // byte; what the run writes has the system's line ends.
    const bool leftAsLaid = std::any_of(c.setup.begin(), c.setup.end(), [&](const Entry& entry) {
      return entry.kind == Entry::Kind::kFile && entry.path == name && written &&
             entry.content == *written;
    });
    const std::optional<std::string> expected =
        written ? std::optional(leftAsLaid ? *written : withNativeLineEnds(*written))
                : std::nullopt;
    if (!expected) {
      EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << name << " should not exist";
      continue;
    }
    ASSERT_TRUE(fs::is_regular_file(path)) << name << " should exist";
    std::string actual = readWholeFile(path);
    if (actual.size() > 4096 || expected->size() > 4096) {
      // Avoid printing megabytes: report where the two texts part.
      std::size_t at = 0;
      while (at < actual.size() && at < expected->size() && actual[at] == (*expected)[at]) ++at;
      EXPECT_TRUE(actual == *expected)
          << name << ": " << actual.size() << " bytes, expected " << expected->size()
          << "; first difference at byte " << at << ": "
          << ::testing::PrintToString(actual.substr(at, 80)) << " instead of "
          << ::testing::PrintToString(expected->substr(at, 80));
    } else {
      EXPECT_EQ(actual, *expected) << name;
    }
  }
  if (c.check) c.check(runDirectory, outcome);
}

INSTANTIATE_TEST_SUITE_P(WholeRuns, BadInputTest, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace tornvel::testing
