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
  kRequiredText,    // "|" + the text of the first element on a path ("." the element itself)
  kOptionalText,    // the same, only when the path reaches an element
  kWhenEquals,      // the body, on this element, when the attribute has exactly that value
};

struct Template;

struct Step {
  StepKind kind;
  std::string_view name;        // attribute name, child path or descendant name
  const Template* body;         // template applied to the elements found
  std::string_view value = {};  // the value kWhenEquals compares with
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
constexpr Step req_text(std::string_view path) { return {StepKind::kRequiredText, path, nullptr}; }
constexpr Step opt_text(std::string_view path) { return {StepKind::kOptionalText, path, nullptr}; }
constexpr Step when_equals(std::string_view attribute, std::string_view value,
                           const Template& body) {
  return {StepKind::kWhenEquals, attribute, &body, value};
}

// The templates of each vocabulary, keyed by element name.
std::span<const Match> cfdi33_templates();
std::span<const Match> cfdi40_templates();
std::span<const Match> pagos10_templates();
std::span<const Match> nomina12_templates();
std::span<const Match> carta_porte10_templates();
std::span<const Match> carta_porte20_templates();
std::span<const Match> ecc11_templates();
std::span<const Match> donat11_templates();
std::span<const Match> divisas10_templates();
std::span<const Match> implocal10_templates();
std::span<const Match> leyendas_fiscales10_templates();
std::span<const Match> pfic10_templates();
std::span<const Match> turista_pasajero10_templates();
std::span<const Match> registro_fiscal10_templates();
std::span<const Match> pago_en_especie10_templates();
std::span<const Match> aerolineas10_templates();
std::span<const Match> vales_de_despensa10_templates();
std::span<const Match> consumo_de_combustibles10_templates();
std::span<const Match> notarios_publicos10_templates();
std::span<const Match> vehiculo_usado10_templates();
std::span<const Match> servicio_parcial10_templates();
std::span<const Match> renovacion_vehiculos10_templates();
std::span<const Match> certificado_destruccion10_templates();
std::span<const Match> obras_arte10_templates();
std::span<const Match> comercio_exterior11_templates();
std::span<const Match> ine11_templates();
std::span<const Match> iedu10_templates();
std::span<const Match> venta_vehiculos11_templates();
std::span<const Match> terceros11_templates();
std::span<const Match> detallista_templates();
std::span<const Match> ecc12_templates();
std::span<const Match> consumo_de_combustibles11_templates();
std::span<const Match> gastos_hidrocarburos10_templates();
std::span<const Match> ingresos_hidrocarburos10_templates();
std::span<const Match> pagos20_templates();
std::span<const Match> carta_porte30_templates();
std::span<const Match> carta_porte31_templates();
std::span<const Match> comercio_exterior20_templates();
std::span<const Match> hidrocarburos_petroliferos10_templates();
const Template& tfd11_template();

}  // namespace drovanexis::cadena
