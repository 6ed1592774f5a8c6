// The situations of one workload service class and period: for each resource
// (performance index, I/O rate, storage, CPU) a new warning and a new critical
// situation, and a row of the situation-template table for each.
//
// A threshold whose text is "OFF" in any letter case switches its kind off.
// Every threshold tested for that is written into the formula upper-cased, as
// it was tested; the definition itself is only read.
#ifndef TORNVEL_STATEMENTS_SERVICE_CLASS_STATEMENTS_H_
#define TORNVEL_STATEMENTS_SERVICE_CLASS_STATEMENTS_H_

#include <string_view>

#include "definitions/exception_definition.h"
#include "statements/build_results.h"

namespace tornvel {

// The resource's INSERT of a new situation: `head` (kServiceClassInsertHead),
// then the timestamp, the situation text, the situation name and the formula,
// ending with its line end (statement_writer.h).
// kDisabled when the situation is disabled; kDeclined when the definition is
// not a service class or the resource's tested threshold is off (the
// performance index is never off).
Built buildServiceClassStatement(const ExceptionDefinition& definition, Severity severity,
                                 std::string_view timestamp, ResourceKind kind,
                                 std::string_view head);

// The template row of the resource's situation, one line with its line end.
// Written exactly when the resource's threshold is on, whatever the enable
// flags; a definition that is not a service class has no rows.
Built buildTemplateRow(const ExceptionDefinition& definition, Severity severity, ResourceKind kind);

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_SERVICE_CLASS_STATEMENTS_H_
