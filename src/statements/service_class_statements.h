// The situations of one workload service class and period: for each of four
// kinds (0 performance index, 1 I/O rate, 2 storage, 3 CPU) a new warning and a
// new critical situation, and a row of the situation-template table for each.
//
// A threshold whose text is "OFF" in any letter case switches its kind off.
// Every threshold tested for that is written into the formula upper-cased, as
// it was tested; the definition itself is only read.
#ifndef TORNVEL_STATEMENTS_SERVICE_CLASS_STATEMENTS_H_
#define TORNVEL_STATEMENTS_SERVICE_CLASS_STATEMENTS_H_

#include <string>
#include <string_view>

#include "definitions/exception_definition.h"
#include "statements/build_results.h"

namespace tornvel {

// The number of kinds: performance index, I/O rate, storage, CPU.
inline constexpr int kServiceClassKinds = 4;

// The kind's INSERT of a new situation: `head` (kServiceClassInsertHead), then
// the timestamp, the situation text, the situation name and the formula.
// Returns kWritten, or kDeclined (output left empty) when the kind is not 0 to
// 3, the definition is not a service class, or the kind's tested threshold is
// off; kind 0 is never off. This is the
// service-class path of buildStatement, which tests the enable flag first.
BuildResult buildServiceClassStatement(const ExceptionDefinition& definition, Severity severity,
                                       std::string& output, std::string_view timestamp, int kind,
                                       std::string_view head);

// The template row of the kind's situation, one line with its line end.
// Produced exactly when the kind's threshold is on, whatever the enable flags;
// a definition that is not a service class has no rows. Returns kWritten or
// kDeclined.
BuildResult buildTemplateRow(const ExceptionDefinition& definition, Severity severity,
                             std::string& output, int kind);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_SERVICE_CLASS_STATEMENTS_H_
