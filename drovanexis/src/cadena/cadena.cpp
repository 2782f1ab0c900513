#include "cadena/cadena.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "cadena/template.h"
#include "document/namespaces.h"

namespace drovanexis {
namespace {

using cadena::Match;
using cadena::Step;
using cadena::StepKind;
using cadena::Template;

// XPath's white space: blank, tab, carriage return, line feed.
constexpr bool is_white_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whether any byte of the text is at most ' ' (white space or another
// control character), tested eight bytes at a time: a byte below 0x21 borrows
// when 0x21 is subtracted from it, which sets its high bit, and bytes of
// 0x80 and above are ruled out by the high bit they already have.
bool has_byte_up_to_blank(std::string_view text) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, 8);
    if (((word - kOnes * 0x21U) & ~word & kHighBits) != 0) return true;
  }
  for (; at < text.size(); ++at) {
    if (static_cast<unsigned char>(text[at]) <= ' ') return true;
  }
  return false;
}

// Whether normalising the value would leave it as it is: no white space at
// either end, and inside only single blanks. Every white-space character is
// at most ' ', so most values are settled by the quick test above.
bool is_normalised(std::string_view value) {
  if (!has_byte_up_to_blank(value)) return true;
  if (value.front() == ' ' || value.back() == ' ') return false;
  bool after_blank = false;
  for (const char c : value) {
    if (static_cast<unsigned char>(c) > ' ') {
      after_blank = false;
    } else if (c != ' ' ? is_white_space(c) : after_blank) {
      return false;
    } else {
      after_blank = c == ' ';
    }
  }
  return true;
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

// The template tables of every vocabulary, each under the prefix its
// element names share, so that a lookup scans one vocabulary only.
struct Vocabulary {
  std::string_view prefix;
  std::span<const Match> matches;
};

std::vector<Vocabulary> make_vocabularies() {
  const std::span<const Match> tables[] = {
      cadena::cfdi33_templates(),
      cadena::pagos10_templates(),
      cadena::nomina12_templates(),
      cadena::carta_porte10_templates(),
      cadena::carta_porte20_templates(),
      cadena::ecc11_templates(),
      cadena::donat11_templates(),
      cadena::divisas10_templates(),
      cadena::implocal10_templates(),
      cadena::leyendas_fiscales10_templates(),
      cadena::pfic10_templates(),
      cadena::turista_pasajero10_templates(),
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
      cadena::detallista_templates(),
      cadena::ecc12_templates(),
      cadena::consumo_de_combustibles11_templates(),
      cadena::gastos_hidrocarburos10_templates(),
      cadena::ingresos_hidrocarburos10_templates(),
  };
  std::vector<Vocabulary> vocabularies;
  for (const auto& table : tables) {
    vocabularies.push_back({prefix_of(table.front().element), table});
  }
  return vocabularies;
}

const Template* template_for(std::string_view element_name) {
  static const std::vector<Vocabulary> vocabularies = make_vocabularies();
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
  explicit CadenaBuilder(std::size_t expected_size) {
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
  // gives an empty field. Most values need no change and are copied whole.
  void field(const std::string* value) {
    out_ += '|';
    if (value == nullptr) return;
    if (is_normalised(*value)) {
      out_ += *value;
    } else {
      append_normalised(*value);
    }
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

  // Runs of other characters are copied whole, with one blank between them.
  void append_normalised(std::string_view value) {
    const char* cursor = value.data();
    const char* const end = cursor + value.size();
    bool first_word = true;
    while (true) {
      while (cursor != end && is_white_space(*cursor)) ++cursor;
      if (cursor == end) return;
      const char* const word = cursor;
      while (cursor != end && !is_white_space(*cursor)) ++cursor;
      if (!first_word) out_ += ' ';
      out_.append(word, static_cast<std::size_t>(cursor - word));
      first_word = false;
    }
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
    if (const Template* body = template_for(element.name())) {
      run(*body, element);
      return;
    }
    out_ += element.text();
    for (const auto& child : element.children()) apply(*child);
  }

  std::string out_;
};

}  // namespace

std::string cadena_cfdi33(const Element& comprobante) {
  if (comprobante.name() != "cfdi:Comprobante") {
    throw std::invalid_argument("the original string needs a cfdi:Comprobante, not " +
                                comprobante.name());
  }
  CadenaBuilder builder(attribute_bytes(comprobante));
  builder.run(*template_for("cfdi:Comprobante"), comprobante);
  return std::move(builder).finish();
}

std::string cadena_tfd11(const Element& timbre) {
  if (timbre.name() != "tfd:TimbreFiscalDigital") {
    throw std::invalid_argument(
        "the stamp's original string needs a tfd:TimbreFiscalDigital, not " + timbre.name());
  }
  CadenaBuilder builder(attribute_bytes(timbre));
  builder.run(cadena::tfd11_template(), timbre);
  return std::move(builder).finish();
}

}  // namespace drovanexis
