#include "cadena/cadena.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "cadena/template.h"
#include "document/cfdi_version.h"
#include "document/namespaces.h"

namespace drovanexis {
namespace {

using cadena::Match;
using cadena::Step;
using cadena::StepKind;
using cadena::Template;

// XPath's white space: blank, tab, carriage return, line feed. Computed
// without branches (a bit mask of those four codes), as it is asked for
// every byte of a value that needs normalising.
constexpr bool is_white_space(char c) {
  constexpr std::uint64_t kWhiteSpace =
      (1ULL << ' ') | (1ULL << '\t') | (1ULL << '\r') | (1ULL << '\n');
  const auto code = static_cast<unsigned char>(c);
  return (((kWhiteSpace >> (code & 63U)) & 1U) & static_cast<unsigned>(code <= ' ')) != 0;
}

// Whether any of the eight bytes is at most ' ': a byte below 0x21 borrows
// when 0x21 is subtracted from it, which sets its high bit, and bytes of 0x80
// and above are ruled out by the high bit they already have.
constexpr bool word_has_byte_up_to_blank(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  return ((word - kOnes * 0x21U) & ~word & kHighBits) != 0;
}

// Whether any byte of the text is at most ' ' (white space or another
// control character), tested eight bytes at a time. The last bytes are read
// as a whole word too: overlapping the previous one when the text has eight
// bytes or more, or padded with 0xFF bytes, which never count, when shorter.
bool has_byte_up_to_blank(std::string_view text) {
  const std::size_t size = text.size();
  std::uint64_t word = ~std::uint64_t{0};
  if (size < 8) {
    std::memcpy(&word, text.data(), size);
    return word_has_byte_up_to_blank(word);
  }
  std::size_t at = 0;
  for (; at + 8 <= size; at += 8) {
    std::memcpy(&word, text.data() + at, 8);
    if (word_has_byte_up_to_blank(word)) return true;
  }
  if (at == size) return false;
  std::memcpy(&word, text.data() + size - 8, 8);
  return word_has_byte_up_to_blank(word);
}

// Names are short and often share a prefix ("cfdi:", "Total..."), so after
// the lengths the last characters are compared first.
bool same_name(const std::string& name, std::string_view wanted) {
  const std::size_t size = wanted.size();
  if (name.size() != size) return false;
  if (size == 0) return true;
  const char* const data = name.data();
  return data[size - 1] == wanted[size - 1] && std::memcmp(data, wanted.data(), size - 1) == 0;
}

// The index of the attribute of that name among attributes [from, to), or
// `to` when none of them has it.
std::size_t find_in(const std::vector<Attribute>& attributes, std::size_t from, std::size_t to,
                    std::string_view name) {
  for (; from < to; ++from) {
    if (same_name(attributes[from].name, name)) return from;
  }
  return to;
}

// Looks the attribute up starting where the previous lookup on the same
// element stopped: documents mostly keep their attributes in the order the
// templates ask for them, which makes each lookup a single comparison.
const std::string* find_attribute(const Element& element, std::string_view name,
                                  std::size_t& hint) {
  const auto& attributes = element.attributes();
  const std::size_t count = attributes.size();
  std::size_t index = find_in(attributes, hint, count, name);
  if (index == count) {
    index = find_in(attributes, 0, hint, name);
    if (index == hint) return nullptr;
  }
  hint = index + 1;
  return &attributes[index].value;
}

// The template tables of one vocabulary, under the prefix its element names
// share, so that a lookup scans one vocabulary only.
struct Vocabulary {
  std::string_view prefix;
  std::span<const Match> matches;
};

// The vocabularies one original string knows: the CFDI's own and the
// complements its definition includes. An element of any other vocabulary,
// even one the other version knows, is unknown to it.
using Vocabularies = std::vector<Vocabulary>;

Vocabularies make_vocabularies(std::initializer_list<std::span<const Match>> tables) {
  Vocabularies vocabularies;
  vocabularies.reserve(tables.size());
  for (const auto& table : tables) {
    vocabularies.push_back({prefix_of(table.front().element), table});
  }
  return vocabularies;
}

// CFDI 3.3 and its 32 complements, in the order its definition lists them.
const Vocabularies& cfdi33_vocabularies() {
  static const Vocabularies vocabularies = make_vocabularies({
      cadena::cfdi33_templates(),
      cadena::ecc11_templates(),
      cadena::donat11_templates(),
      cadena::divisas10_templates(),
      cadena::implocal10_templates(),
      cadena::leyendas_fiscales10_templates(),
      cadena::pfic10_templates(),
      cadena::turista_pasajero10_templates(),
      cadena::nomina12_templates(),
      cadena::registro_fiscal10_templates(),
      cadena::pago_en_especie10_templates(),
      cadena::aerolineas10_templates(),
      cadena::vales_de_despensa10_templates(),
      cadena::consumo_de_combustibles10_templates(),
      cadena::notarios_publicos10_templates(),
      cadena::vehiculo_usado10_templates(),
      cadena::servicio_parcial10_templates(),
      cadena::renovacion_vehiculos10_templates(),
      cadena::certificado_destruccion10_templates(),
      cadena::obras_arte10_templates(),
      cadena::comercio_exterior11_templates(),
      cadena::ine11_templates(),
      cadena::iedu10_templates(),
      cadena::venta_vehiculos11_templates(),
      cadena::terceros11_templates(),
      cadena::pagos10_templates(),
      cadena::detallista_templates(),
      cadena::ecc12_templates(),
      cadena::consumo_de_combustibles11_templates(),
      cadena::gastos_hidrocarburos10_templates(),
      cadena::ingresos_hidrocarburos10_templates(),
      cadena::carta_porte10_templates(),
      cadena::carta_porte20_templates(),
  });
  return vocabularies;
}

// CFDI 4.0 and its 32 complements, in the order its definition lists them:
// no ecc 1.1, fuel consumption 1.0, third parties 1.1 (a node of the
// concept now), payments 1.0 or transport 1.0; foreign trade 2.0, payments
// 2.0, transport 3.0 and 3.1 and the hydrocarbons concept complement added.
const Vocabularies& cfdi40_vocabularies() {
  static const Vocabularies vocabularies = make_vocabularies({
      cadena::cfdi40_templates(),
      cadena::donat11_templates(),
      cadena::divisas10_templates(),
      cadena::implocal10_templates(),
      cadena::leyendas_fiscales10_templates(),
      cadena::pfic10_templates(),
      cadena::turista_pasajero10_templates(),
      cadena::nomina12_templates(),
      cadena::registro_fiscal10_templates(),
      cadena::pago_en_especie10_templates(),
      cadena::aerolineas10_templates(),
      cadena::vales_de_despensa10_templates(),
      cadena::notarios_publicos10_templates(),
      cadena::vehiculo_usado10_templates(),
      cadena::servicio_parcial10_templates(),
      cadena::renovacion_vehiculos10_templates(),
      cadena::certificado_destruccion10_templates(),
      cadena::obras_arte10_templates(),
      cadena::comercio_exterior11_templates(),
      cadena::comercio_exterior20_templates(),
      cadena::ine11_templates(),
      cadena::iedu10_templates(),
      cadena::venta_vehiculos11_templates(),
      cadena::detallista_templates(),
      cadena::ecc12_templates(),
      cadena::consumo_de_combustibles11_templates(),
      cadena::gastos_hidrocarburos10_templates(),
      cadena::ingresos_hidrocarburos10_templates(),
      cadena::carta_porte20_templates(),
      cadena::pagos20_templates(),
      cadena::carta_porte30_templates(),
      cadena::carta_porte31_templates(),
      cadena::hidrocarburos_petroliferos10_templates(),
  });
  return vocabularies;
}

const Template* template_for(const Vocabularies& vocabularies, std::string_view element_name) {
  const std::string_view prefix = prefix_of(element_name);
  for (const auto& vocabulary : vocabularies) {
    if (vocabulary.prefix != prefix) continue;
    for (const Match& match : vocabulary.matches) {
      if (match.element == element_name) return match.body;
    }
  }
  return nullptr;
}

// The first element, in document order, that the child path ("a/b/c")
// reaches from the element; "." is the element itself.
const Element* first_on_path(const Element& element, std::string_view path) {
  if (path == ".") return &element;
  const std::size_t slash = path.find('/');
  const std::string_view head = path.substr(0, slash);
  for (const auto& child : element.children()) {
    if (!same_name(child->name(), head)) continue;
    if (slash == std::string_view::npos) return child.get();
    if (const Element* found = first_on_path(*child, path.substr(slash + 1))) return found;
  }
  return nullptr;
}

// The character content of the element and of its descendants, the text an
// element gives as a value. The reader keeps no text that is only white
// space, which normalisation would drop anyway.
void append_text(std::string& out, const Element& element) {
  out += element.text();
  for (const auto& child : element.children()) append_text(out, *child);
}

// An upper bound for the size of the result in the usual case, so that the
// string grows once.
std::size_t attribute_bytes(const Element& element) {
  std::size_t total = 0;
  for (const auto& attribute : element.attributes()) total += attribute.value.size() + 1;
  for (const auto& child : element.children()) total += attribute_bytes(*child);
  return total;
}

class CadenaBuilder {
 public:
  CadenaBuilder(const Vocabularies& vocabularies, std::size_t expected_size)
      : vocabularies_(vocabularies) {
    out_.reserve(expected_size + 8);
    out_ = "|";
  }

  void run(const Template& body, const Element& element) {
    std::size_t hint = 0;
    for (const Step& step : body.steps) {
      switch (step.kind) {
        case StepKind::kRequired: field(find_attribute(element, step.name, hint)); break;
        case StepKind::kOptional:
          if (const std::string* value = find_attribute(element, step.name, hint)) field(value);
          break;
        case StepKind::kEach: each(step.name, *step.body, element); break;
        case StepKind::kEachDescendant: each_descendant(step.name, *step.body, element); break;
        case StepKind::kEachChild:
          for (const auto& child : element.children()) apply(*child);
          break;
        case StepKind::kRequiredText: text_field(first_on_path(element, step.name)); break;
        case StepKind::kOptionalText:
          if (const Element* found = first_on_path(element, step.name)) text_field(found);
          break;
        case StepKind::kWhenEquals: {
          const std::string* value = element.attribute(step.name);
          if (value != nullptr && *value == step.value) run(*step.body, element);
          break;
        }
      }
    }
  }

  std::string finish() && {
    out_ += "||";
    return std::move(out_);
  }

 private:
  // "|" and the value with its white space normalised; an absent value
  // gives an empty field. A value without any byte up to ' ' needs no change
  // and is copied whole; any other is copied in one pass that drops white
  // space at either end and makes each inner run of it one blank.
  void field(const std::string* value) {
    out_ += '|';
    if (value == nullptr) return;
    if (!has_byte_up_to_blank(*value)) {
      out_ += *value;
    } else {
      append_normalised(*value);
    }
  }

  // White space at the start is skipped first; after that a blank is due
  // before a character exactly when white space precedes it, and white space
  // at the end is never followed by one. The loop has no branch on the
  // characters, whose white space falls where no predictor can guess: each
  // character is written, after a blank when one is due, and the write
  // position moves past what counts. It never passes the character being
  // read, so one spare byte is room enough for the writes that do not count.
  void append_normalised(std::string_view value) {
    std::size_t from = 0;
    while (from < value.size() && is_white_space(value[from])) ++from;
    const std::size_t start = out_.size();
    out_.resize(start + value.size() - from + 1);
    char* to = out_.data() + start;
    std::size_t after_white = 0;
    for (const char c : value.substr(from)) {
      const std::size_t kept = static_cast<std::size_t>(!is_white_space(c));
      const std::size_t blank = kept & after_white;
      to[0] = ' ';
      to[blank] = c;
      to += blank + kept;
      after_white = kept ^ 1U;
    }
    out_.resize(static_cast<std::size_t>(to - out_.data()));
  }

  // "|" and the normalised text of the element; no element gives an empty field.
  void text_field(const Element* element) {
    if (element == nullptr) {
      out_ += '|';
      return;
    }
    std::string text;
    append_text(text, *element);
    field(&text);
  }

  void each(std::string_view path, const Template& body, const Element& element) {
    const std::size_t slash = path.find('/');
    const std::string_view head = path.substr(0, slash);
    for (const auto& child : element.children()) {
      if (!same_name(child->name(), head)) continue;
      if (slash == std::string_view::npos) {
        run(body, *child);
      } else {
        each(path.substr(slash + 1), body, *child);
      }
    }
  }

  void each_descendant(std::string_view name, const Template& body, const Element& element) {
    for (const auto& child : element.children()) {
      if (same_name(child->name(), name)) run(body, *child);
      each_descendant(name, body, *child);
    }
  }

  // An element without a template of its own (the stamp, a complement this
  // library does not know) gives its character content and that of its
  // descendants, as the stylesheets' default rule does.
  void apply(const Element& element) {
    if (const Template* body = template_for(vocabularies_, element.name())) {
      run(*body, element);
      return;
    }
    out_ += element.text();
    for (const auto& child : element.children()) apply(*child);
  }

  const Vocabularies& vocabularies_;
  std::string out_;
};

// The original string of a comprobante by the templates of one version.
std::string cadena_of(const Vocabularies& vocabularies, const Element& comprobante) {
  if (comprobante.name() != "cfdi:Comprobante") {
    throw std::invalid_argument("the original string needs a cfdi:Comprobante, not " +
                                comprobante.name());
  }
  CadenaBuilder builder(vocabularies, attribute_bytes(comprobante));
  builder.run(*template_for(vocabularies, "cfdi:Comprobante"), comprobante);
  return std::move(builder).finish();
}

// Whether the root says, by its Version or by its namespace, that it is a
// CFDI of that version. Each version's string refuses a document of the
// other: its fields and order differ, so the string could never match the
// document's seal.
bool declares_version(const Element& comprobante, CfdiVersion version) {
  const std::string* text = comprobante.attribute("Version");
  const std::string* uri = comprobante.attribute("xmlns:cfdi");
  return (text != nullptr && *text == version_text(version)) ||
         (uri != nullptr && *uri == cfdi_namespace(version));
}

}  // namespace

std::string cadena_cfdi33(const Element& comprobante) {
  if (comprobante.name() == "cfdi:Comprobante" && declares_version(comprobante, CfdiVersion::k40)) {
    throw std::invalid_argument("the document is a CFDI 4.0, not a CFDI 3.3");
  }
  return cadena_of(cfdi33_vocabularies(), comprobante);
}

std::string cadena_cfdi40(const Element& comprobante) {
  if (comprobante.name() == "cfdi:Comprobante" && declares_version(comprobante, CfdiVersion::k33)) {
    throw std::invalid_argument("the document is a CFDI 3.3, not a CFDI 4.0");
  }
  return cadena_of(cfdi40_vocabularies(), comprobante);
}

std::string cadena_cfdi(const Element& comprobante) {
  switch (cfdi_version(comprobante)) {
    case CfdiVersion::k33: return cadena_cfdi33(comprobante);
    case CfdiVersion::k40: return cadena_cfdi40(comprobante);
  }
  throw std::invalid_argument("the original string of an unknown CFDI version");
}

std::string cadena_tfd11(const Element& timbre) {
  if (timbre.name() != "tfd:TimbreFiscalDigital") {
    throw std::invalid_argument(
        "the stamp's original string needs a tfd:TimbreFiscalDigital, not " + timbre.name());
  }
  // The stamp has no complements: no vocabulary is looked up.
  static const Vocabularies kNone;
  CadenaBuilder builder(kNone, attribute_bytes(timbre));
  builder.run(cadena::tfd11_template(), timbre);
  return std::move(builder).finish();
}

}  // namespace drovanexis
