#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "validate/schema_facts.h"

namespace drovanexis::schema {

// Buffers reused from one value to the next, so that checking a document
// allocates only when a value is longer than any before it.
struct ValueScratch {
  std::string normalized;
  std::wstring code_points;
};

// The value after the type's white-space handling: tabs, CR and LF become
// blanks ("replace"), and then runs of blanks shrink to one and leading and
// trailing ones go ("collapse"). Returns `value` itself when nothing changes,
// otherwise a view of scratch.normalized.
std::string_view apply_white_space(WhiteSpace rule, std::string_view value, ValueScratch& scratch);

// Why a value breaks a simple type: the rule's name ("longitud", "patrón",
// "enumeración", ...) and a Spanish sentence with what was found.
struct ValueProblem {
  std::string_view rule;
  std::string explanation;
};

// Checks an already normalised value against every facet of the type:
// lexical form of the base type, lengths (in characters), patterns,
// enumeration, digits and bounds (numbers compared by value, so "1.50" has
// one decimal and equals "1.5").
std::optional<ValueProblem> check_value(const SimpleType& type, std::string_view value,
                                        ValueScratch& scratch);

// -1, 0 or 1 as decimal `a` is below, equal to or above `b`; both must be
// valid decimals.
int compare_decimals(std::string_view a, std::string_view b);

}  // namespace drovanexis::schema
