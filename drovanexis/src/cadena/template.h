#pragma once

#include <span>
#include <string_view>

// The original strings are defined by templates: for one element, the
// ordered list of its attributes that contribute a field and of the children
// whose own templates follow. Each complement keeps its templates in its own
// file as constant tables that read like the definition they follow.
namespace drovanexis::cadena {

enum class StepKind : unsigned char {
  kRequired,        // "|" + value; an absent attribute still gives an empty field
  kOptional,        // "|" + value only when the attribute is present
  kEach,            // every element on a child path ("a/b/c"), in document order
  kEachDescendant,  // every descendant of that name, in document order
  kEachChild,       // every child element, by the template its name selects
};

struct Template;

struct Step {
  StepKind kind;
  std::string_view name;  // attribute name, child path or descendant name
  const Template* body;   // template applied to the elements found
};

struct Template {
  std::span<const Step> steps;
};

// Which template an element of a given qualified name gets when it is
// reached through kEachChild (the children of cfdi:Complemento).
struct Match {
  std::string_view element;
  const Template* body;
};

constexpr Step req(std::string_view attribute) { return {StepKind::kRequired, attribute, nullptr}; }
constexpr Step opt(std::string_view attribute) { return {StepKind::kOptional, attribute, nullptr}; }
constexpr Step each(std::string_view path, const Template& body) {
  return {StepKind::kEach, path, &body};
}
constexpr Step each_descendant(std::string_view name, const Template& body) {
  return {StepKind::kEachDescendant, name, &body};
}
constexpr Step each_child() { return {StepKind::kEachChild, {}, nullptr}; }

// The templates of each vocabulary, keyed by element name.
std::span<const Match> cfdi33_templates();
std::span<const Match> pagos10_templates();
std::span<const Match> nomina12_templates();
std::span<const Match> carta_porte10_templates();
std::span<const Match> carta_porte20_templates();
const Template& tfd11_template();

}  // namespace drovanexis::cadena
