// Micro-benchmarks of the pieces every profile line passes through: reading a
// line, splitting it into tokens, finding its definition and storing its values.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/definition_table.h"
#include "definitions/exception_definition.h"
#include "platform/line_reader.h"
#include "platform/text.h"
#include "statements/statement_writer.h"
#include "statements/update_statements.h"

namespace tornvel {
namespace {

// Plain-list profile text: "NAME WARNING CRITICAL" lines, some comments.
std::string plainListText(std::size_t lines, const char* lineEnd = "\n") {
  std::string text;
  char buffer[64];
  for (std::size_t i = 0; i < lines; ++i) {
    if (i % 10 == 9) {
      std::snprintf(buffer, sizeof buffer, "* reviewed by operations%s", lineEnd);
    } else {
      std::snprintf(buffer, sizeof buffer, "LKWT%04zu %zu %zu%s", i % 512, 10 + i % 80,
                    100 + i % 90, lineEnd);
    }
    text += buffer;
  }
  return text;
}

constexpr std::size_t kLines = 10000;

void readAllLines(benchmark::State& state, const std::string& text, std::size_t lines) {
  LineReader reader;
  std::string line;
  for (auto _ : state) {
    state.PauseTiming();
    reader.openText(text);
    state.ResumeTiming();
    while (reader.readLine(line)) benchmark::DoNotOptimize(line.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// Short lines, as in the plain list, threshold statements and numbered records.
void BM_LineReader_ShortLines(benchmark::State& state) {
  readAllLines(state, plainListText(kLines), kLines);
}
BENCHMARK(BM_LineReader_ShortLines);

// The same lines shown in place, as the profile readers take them.
void BM_LineReader_ShortLinesView(benchmark::State& state) {
  const std::string text = plainListText(kLines);
  LineReader reader;
  std::string_view line;
  for (auto _ : state) {
    state.PauseTiming();
    reader.openText(text);
    state.ResumeTiming();
    while (reader.readLineView(line)) benchmark::DoNotOptimize(line.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LineReader_ShortLinesView);

// The same lines with CR LF line ends (profiles written on the other platform).
void BM_LineReader_CrLf(benchmark::State& state) {
  readAllLines(state, plainListText(kLines, "\r\n"), kLines);
}
BENCHMARK(BM_LineReader_CrLf);

// Lines longer than the limit, read in pieces of 1023 characters.
void BM_LineReader_LongLines(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(2500, 'x') + "\n";
  readAllLines(state, text, 600);
}
BENCHMARK(BM_LineReader_LongLines);

// Reading through the file path (system reads into the reader's buffer).
void BM_LineReader_File(benchmark::State& state) {
  const std::string text = plainListText(100000);
  char name[] = "/tmp/tornvel-bench-XXXXXX";
  int fd = ::mkstemp(name);
  if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    state.SkipWithError("cannot write the temporary profile");
    if (fd >= 0) ::close(fd);
    return;
  }
  ::close(fd);
  LineReader reader;
  std::string line;
  for (auto _ : state) {
    if (!reader.open(name)) {
      state.SkipWithError("cannot open the temporary profile");
      break;
    }
    while (reader.readLine(line)) benchmark::DoNotOptimize(line.data());
    reader.close();
  }
  ::unlink(name);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 100000));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LineReader_File);

// The plain-list split: name at blank or line end, values also at commas.
void BM_Tokenizer_PlainListLine(benchmark::State& state) {
  static constexpr Delimiters kName(" \n");
  static constexpr Delimiters kValue(", \n");
  const std::string line = "LKWT0123 80, 95\n";
  for (auto _ : state) {
    Tokenizer tokens(line);
    auto name = tokens.next(kName);
    auto warning = tokens.next(kValue);
    auto critical = tokens.next(kValue);
    benchmark::DoNotOptimize(name);
    benchmark::DoNotOptimize(warning);
    benchmark::DoNotOptimize(critical);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_Tokenizer_PlainListLine);

// A full control-file definition line of thirteen fields.
void BM_Tokenizer_ControlLine(benchmark::State& state) {
  static constexpr Delimiters kField(", \n");
  const std::string line = "LKWT0123,DBLOCKS.WAITTIME,I2,~,~,*GE,~,*GE,~,*LT,500,~,2\n";
  for (auto _ : state) {
    Tokenizer tokens(line);
    int count = 0;
    while (auto token = tokens.next(kField)) {
      benchmark::DoNotOptimize(token);
      ++count;
    }
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_Tokenizer_ControlLine);

std::unique_ptr<ExceptionDefinition> makeDefinition(const char* name, OptionalText type) {
  DefinitionInputs inputs;
  inputs.recordedCode = "ZTQ";
  inputs.release = "V100";
  inputs.name = name;
  inputs.attribute = "DBLOCKS.WAITTIME";
  inputs.typeText = type;
  return std::make_unique<ExceptionDefinition>(inputs);
}

// Storing a warning and a critical value; the argument picks the normalisation:
// 0 none (type I), 1 implied decimals (I2), 2 ".0" (F), 3 appended zeros.
void BM_Definition_SetValues(benchmark::State& state) {
  std::unique_ptr<ExceptionDefinition> definition;
  switch (state.range(0)) {
    case 0:
      definition = makeDefinition("LKWT0123", std::nullopt);
      break;
    case 1:
      definition = makeDefinition("LKWT0123", "I2");
      break;
    case 2:
      definition = makeDefinition("LKWT0123", "F");
      break;
    default:
      definition = makeDefinition("LKWT0123", std::nullopt);
      definition->setAppendZeros("2");
      break;
  }
  // Views of the line read, as a reader hands them over.
  const std::string line = "1234 5678";
  const std::string_view warning = std::string_view(line).substr(0, 4);
  const std::string_view critical = std::string_view(line).substr(5);
  for (auto _ : state) {
    std::string_view warningShown = definition->setWarningFromProfile(warning);
    std::string_view criticalShown = definition->setCriticalFromProfile(critical);
    benchmark::DoNotOptimize(warningShown);
    benchmark::DoNotOptimize(criticalShown);
    benchmark::DoNotOptimize(definition->condition(Severity::kWarning).value.data());
    benchmark::DoNotOptimize(definition->condition(Severity::kCritical).value.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_Definition_SetValues)->DenseRange(0, 3)->ArgName("normalise");

// The free implied-decimals operation alone, as the service-class rows use it.
void BM_InsertImpliedDecimals(benchmark::State& state) {
  std::string text;
  text.reserve(16);
  for (auto _ : state) {
    text.assign("0150");
    insertImpliedDecimals(text, 2);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_InsertImpliedDecimals);

// Looking up a profile name in a full table: half the names are defined.
void BM_DefinitionTable_FindFirst(benchmark::State& state) {
  DefinitionTable table;
  std::vector<std::string> names;
  char buffer[16];
  for (int i = 0; i < 512; ++i) {
    std::snprintf(buffer, sizeof buffer, "LKWT%04d", i);
    table.append(makeDefinition(buffer, std::nullopt));
    names.emplace_back(buffer);
    std::snprintf(buffer, sizeof buffer, "OLDX%04d", i);
    names.emplace_back(buffer);
  }
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.findFirst(names[next]));
    next = (next + 7) % names.size();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_DefinitionTable_FindFirst);

// Building a definition's warning and critical update statements.
void BM_BuildUpdateStatements(benchmark::State& state) {
  std::unique_ptr<ExceptionDefinition> definition = makeDefinition("LKWT0123", std::nullopt);
  std::string warning = "50";
  std::string critical = "200";
  definition->setWarningFromProfile(warning);
  definition->setCriticalFromProfile(critical);
  for (auto _ : state) {
    Built warningUpdate = buildUpdate(*definition, Severity::kWarning, "1261207084522000");
    benchmark::DoNotOptimize(warningUpdate.text.data());
    Built criticalUpdate = buildUpdate(*definition, Severity::kCritical, "1261207084522000");
    benchmark::DoNotOptimize(criticalUpdate.text.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 2));
}
BENCHMARK(BM_BuildUpdateStatements);

// Cutting a statement of 176 characters into lines of 72, appended to the
// statement text.
void BM_StatementWriter_Write(benchmark::State& state) {
  const std::string statement =
      "UPDATE VORDA.TSITDESC SET LSTDATE = \"1261207093000000\", PDT = \"*IF *VALUE "
      "DBLOCKS.WAITTIME *GE 50 *AND *VALUE DBLOCKS.WAITTIME *LT 200\" WHERE SITNAME = "
      "\"ZT5_LOCKWAIT_Warning\";\n";
  std::string text;
  for (auto _ : state) {
    // A run holds at most 512 definitions' statements: start again well before
    // the text grows past that.
    if (text.size() > (1u << 20)) text.clear();
    appendStatement(text, statement);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * statement.size()));
}
BENCHMARK(BM_StatementWriter_Write);

}  // namespace
}  // namespace tornvel
