#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "document/element.h"
#include "validate/validation.h"

// The SAT's example documents and small helpers that the validation tests
// share: loading an example before its stamp, the facts of a sound
// processing, and editing an element by its path.
namespace drovanexis::testing_documents {

extern const std::filesystem::path kExamples;
extern const char* const kExampleFiles[5];

Element load_example(const std::string& file);
// Removes the TimbreFiscalDigital (and a Complemento left empty).
void remove_stamp(Element& root);
// The issuer's own CSD, valid a year around Fecha, a verified seal, stamped
// ten minutes after Fecha.
ValidationContext sound_context(const Element& root);
// An element by a path below the root: "cfdi:Conceptos/cfdi:Concepto[2]".
Element& at(Element& root, std::string_view path);
void set(Element& root, std::string_view path, std::string_view attribute, std::string value);
std::string describe(const std::vector<Failure>& failures);
std::set<std::string> codes_of(const std::vector<Failure>& failures);
// Every rule group after the structure stage, in validate_document's order:
// what the rules say of a document whatever the schema stage says of it.
std::vector<Failure> rule_groups_only(const Element& root, const ValidationContext& context);

}  // namespace drovanexis::testing_documents
