// The IMS product's profile: one threshold statement per line, the exception
// name after the prefix "THR", then an unused value, the critical and the
// warning threshold.
//
//   THRABC1 5 90 80
//   THRABC2 5,N/A,N/A
//   * a comment line
//
// Exceptions that belong to a synonym group only record their values in the
// group; after the profile each group's combined values go to the definition
// named like the group.
#include "readers/threshold_statement_reader.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/name_index.h"
#include "platform/text.h"
#include "readers/repeated_values.h"

namespace tornvel {

namespace {

constexpr Delimiters kStatementDelimiters(" \n");
constexpr Delimiters kValueDelimiters(", \n");
constexpr std::string_view kStatementPrefix = "THR";

// Hands both texts of profile line `line` (0 for a group's combined values) to
// the definition, warning first, and in a verbose run shows them as the
// definition's setters left them.
void applyValues(ProfileContext& context, ExceptionDefinition& definition, std::string_view name,
                 std::string_view warning, std::string_view critical, std::size_t line) {
  const std::string_view warningShown = definition.setWarningFromProfile(warning, line);
  const std::string_view criticalShown = definition.setCriticalFromProfile(critical, line);
  if (context.verbose) {
    context.information.printRow(context.console, name, warningShown, criticalShown);
  }
}

// Where a profile name's values go: the synonym member, which comes first, or
// else the definition; both null for a name that is neither.
struct ValueTarget {
  SynonymMember* member = nullptr;
  ExceptionDefinition* definition = nullptr;
};

// Every name a line can reach, with its target as the synonym list and the
// definition table give it. Neither changes while this profile is read, so one
// look-up per line replaces the two, which half the lines (names that are
// neither) would otherwise both fail.
NameIndex<ValueTarget> indexValueTargets(ProfileContext& context) {
  NameIndex<ValueTarget> index;
  auto add = [&context, &index](std::string_view name) {
    ValueTarget target;
    target.member = context.synonyms.findFirstMember(name);
    if (target.member == nullptr) target.definition = context.table.findFirst(name);
    index.insertFirst(name, target);
  };
  for (SynonymGroup* group = context.synonyms.head(); group != nullptr; group = group->next) {
    for (int i = 0; i < group->count; ++i) add(group->members[static_cast<std::size_t>(i)].name);
  }
  for (std::size_t i = 0; i < context.table.size(); ++i) add(context.table.at(i).name());
  return index;
}

void applyGroups(ProfileContext& context) {
  std::string warning;
  std::string critical;
  for (SynonymGroup* group = context.synonyms.head(); group != nullptr; group = group->next) {
    if (group->combine() != 0) continue;  // no member had values
    warning = std::to_string(group->combinedWarning);
    critical = std::to_string(group->combinedCritical);
    if (ExceptionDefinition* definition = context.table.findFirst(group->name)) {
      applyValues(context, *definition, group->name, warning, critical, 0);
    } else {
      // A group's name comes from the control file: no mistyped profile name.
      if (context.keepUnhandled) context.findings.noteUnhandled(group->name, 0);
      if (context.verbose) context.unhandled.add(group->name, warning, critical);
    }
  }
}

}  // namespace

void readThresholdStatements(ProfileContext& context) {
  std::string_view line;
  const NameIndex<ValueTarget> targets = indexValueTargets(context);
  const ValueTarget neither;

  while (context.profile.readLineView(line)) {
    Tokenizer tokens(line);
    std::optional<std::string_view> statement = tokens.next(kStatementDelimiters);
    if (!statement || statement->front() == '*' || !startsWith(*statement, kStatementPrefix)) {
      continue;
    }
    std::string_view name = statement->substr(kStatementPrefix.size());
    // A synonym member records its values; otherwise a definition of the name
    // takes them. A name that is neither often leaves no trace, whatever
    // follows it: its values need not be looked for.
    const ValueTarget* found = targets.find(name);
    const ValueTarget& target = found != nullptr ? *found : neither;
    SynonymMember* member = target.member;
    ExceptionDefinition* definition = target.definition;
    if (member == nullptr && definition == nullptr && !context.unhandledLineMatters(name)) {
      continue;
    }
    std::optional<std::string_view> unused = tokens.next(kValueDelimiters);
    std::optional<std::string_view> criticalToken = tokens.next(kValueDelimiters);
    std::optional<std::string_view> warningToken = tokens.next(kValueDelimiters);
    if (!unused || !criticalToken || !warningToken) continue;

    // "N/A" leaves the warning off and the critical at its on-value.
    std::string_view warningText = *warningToken == "N/A" ? std::string_view("OFF") : *warningToken;
    std::string_view criticalText =
        *criticalToken == "N/A" ? std::string_view("ON") : *criticalToken;

    if (member != nullptr) {
      member->recordValues(warningText, criticalText);
    } else if (definition == nullptr) {
      context.noteUnhandled(name, context.profile.lineNumber());
      if (context.verbose) context.unhandled.add(name, warningText, criticalText);
    } else {
      applyValues(context, *definition, name, warningText, criticalText,
                  context.profile.lineNumber());
    }
  }

  applyGroups(context);
  // A group's values stand on no profile line: they are no value given twice.
  noteRepeatedValues(context.table, context.findings);
  if (context.verbose) context.unhandled.print(context.console);
}

}  // namespace tornvel
