#include "statements/emission.h"

#include "statements/build_mode.h"
#include "statements/insert_heads.h"
#include "statements/migrated_row.h"
#include "statements/service_class_statements.h"
#include "statements/statement_writer.h"
#include "statements/threshold_csv.h"
#include "statements/update_statements.h"

namespace tornvel {

namespace {

// The warning statement, then the critical one; in build mode each becomes a
// DELETE, a $PARMS and an INSERT of the same formula. A situation that is not
// written leaves out its whole group, so build mode never deletes a row it
// does not make anew.
void emitOrdinary(const ExceptionDefinition& definition, const EmissionSettings& settings,
                  Emission& emission) {
  for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
    if (settings.buildMode) {
      if (situationStatus(definition, severity) != BuildResult::kWritten) continue;
      appendStatement(emission.statements, buildDelete(definition, severity));
      appendStatement(emission.statements, buildParmsStatement(definition));
      appendStatement(emission.statements, buildInsert(definition, severity, settings.timestamp,
                                                       settings.affinities, kBuildModeInsertHead));
      emission.counts.statements += 3;
    } else if (Built update = buildUpdate(definition, severity, settings.timestamp);
               update.written()) {
      appendStatement(emission.statements, update.text);
      ++emission.counts.statements;
    }
  }
}

// Four warning situations and then four critical ones, each followed by its
// template row.
void emitServiceClass(const ExceptionDefinition& definition, const EmissionSettings& settings,
                      Emission& emission) {
  for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
    for (ResourceKind kind : kResourceKinds) {
      const Built statement = buildServiceClassStatement(definition, severity, settings.timestamp,
                                                         kind, kServiceClassInsertHead);
      if (statement.written()) {
        appendStatement(emission.statements, statement.text);
        ++emission.counts.statements;
      }
      const Built row = buildTemplateRow(definition, severity, kind);
      if (row.written()) {
        emission.templateRows += row.text;
        ++emission.counts.templateRows;
      }
    }
  }
}

}  // namespace

Emission emit(const DefinitionTable& table, const EmissionSettings& settings) {
  Emission emission;
  emission.migratedRows.reserve(table.size());
  ThresholdCsv lines;
  lines.start(settings.fileCode, settings.inputName);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ExceptionDefinition& definition = table.at(i);
    emission.migratedRows.push_back(migratedRow(definition));
    if (settings.thresholdLines) lines.add(definition);
    if (givesThreshold(definition)) ++emission.counts.definitionsGivenThreshold;
    if (isServiceClass(definition)) {
      if (!emission.firstServiceClass) emission.firstServiceClass = i;
      emitServiceClass(definition, settings, emission);
    } else {
      emitOrdinary(definition, settings, emission);
    }
  }
  if (settings.thresholdLines) {
    emission.thresholdLines = lines.text(settings.thresholdHeader);
    emission.counts.thresholdLines = settings.thresholdHeader ? 3 : 2;
  }
  return emission;
}

bool givesThreshold(const ExceptionDefinition& definition) {
  // A service-class definition exists only for a workload row of the
  // profile, with its thresholds in fields of its own.
  return !definition.condition(Severity::kWarning).value.empty() ||
         !definition.condition(Severity::kCritical).value.empty() || isServiceClass(definition);
}

}  // namespace tornvel
