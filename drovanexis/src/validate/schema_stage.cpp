#include "validate/schema_stage.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "validate/rule_support.h"
#include "validate/schema_facts.h"
#include "validate/schema_values.h"

namespace drovanexis {
namespace {

using schema::ElementDecl;
using schema::Particle;
using schema::ParticleKind;

constexpr std::string_view kCode = "301";
constexpr std::size_t kText = static_cast<std::size_t>(-1);

using Children = std::vector<std::unique_ptr<Element>>;

// A value whose white-space handling changed it: attribute `attribute` of
// `element` (kText for its character content) reads as `value`.
struct Normalized {
  const Element* element;
  std::size_t attribute;
  std::string value;
};

// Attributes that belong to XML itself, not to the vocabulary: namespace
// declarations and where the schemas are.
bool is_markup_attribute(std::string_view name) {
  return name == "xmlns" || name.starts_with("xmlns:") || name == "xsi:schemaLocation" ||
         name == "xsi:noNamespaceSchemaLocation";
}

class SchemaChecker {
 public:
  SchemaCheck run(const Element& document) {
    SchemaCheck result;
    path_.push_back(&document);
    if (document.name() != rules::kComprobante) {
      fail("", "elemento raíz",
           "El elemento raíz es " + document.name() + " y debe ser cfdi:Comprobante.");
    } else if (const auto version = version_of(document)) {
      version_ = *version;
      check_element(document, *schema::global_element(version_, document.name()));
    }
    result.failures = std::move(failures_);
    if (!normalized_.empty()) result.normalized = copy_normalized(document);
    return result;
  }

 private:
  // The version whose schemas judge the document: its Version as the schema
  // reads it (collapsed), which must be one the library knows and agree with
  // the namespace of the root. Another version, or a disagreement, is
  // reported alone: judging the attributes by the schemas of a version the
  // document is not would only add noise.
  std::optional<CfdiVersion> version_of(const Element& document) {
    const std::string* text = document.attribute("Version");
    const std::string_view value =
        text == nullptr ? std::string_view{}
                        : schema::apply_white_space(schema::WhiteSpace::kCollapse, *text, scratch_);
    std::optional<CfdiVersion> version;
    for (const CfdiVersion known : {CfdiVersion::k33, CfdiVersion::k40}) {
      if (value == version_text(known)) version = known;
    }
    if (!version) {
      fail("Version", "valor fijo",
           "La Version del comprobante es " + rules::quoted(text ? *text : "") +
               " y debe ser \"3.3\" o \"4.0\".");
      return std::nullopt;
    }
    const std::string* uri = document.attribute("xmlns:cfdi");
    if (uri != nullptr && *uri != cfdi_namespace(*version)) {
      fail("Version", "valor fijo",
           "El comprobante está en el espacio de nombres " + *uri + " y su Version es " +
               rules::quoted(*text) + "; un CFDI " + std::string(version_text(*version)) +
               " está en el espacio de nombres " + std::string(cfdi_namespace(*version)) + ".");
      return std::nullopt;
    }
    return version;
  }

  // Content-model matching ---------------------------------------------------

  // Whether a particle can match nothing at all.
  bool emptiable(const Particle& p) const {
    if (p.min_occurs == 0) return true;
    switch (p.kind) {
      case ParticleKind::kElement:
      case ParticleKind::kAny: return false;
      case ParticleKind::kChoice:
        return std::any_of(members(p).begin(), members(p).end(),
                           [&](std::uint32_t m) { return emptiable(particle(m)); });
      default:
        return std::all_of(members(p).begin(), members(p).end(),
                           [&](std::uint32_t m) { return emptiable(particle(m)); });
    }
  }

  // Whether a particle can begin with an element of this name.
  bool starts(const Particle& p, std::string_view name) const {
    switch (p.kind) {
      case ParticleKind::kElement: return facts_.elements[p.first].name == name;
      case ParticleKind::kAny: return true;
      case ParticleKind::kSequence:
        for (std::uint32_t m : members(p)) {
          if (starts(particle(m), name)) return true;
          if (!emptiable(particle(m))) return false;
        }
        return false;
      default:
        return std::any_of(members(p).begin(), members(p).end(),
                           [&](std::uint32_t m) { return starts(particle(m), name); });
    }
  }

  // Matches a particle with its repetitions from children[position]; the
  // schemas' models are deterministic, so taking each child as soon as it
  // fits never needs a second try. Returns the position after the match, or
  // nullopt after recording why nothing fits.
  std::optional<std::size_t> match(const Particle& p, std::size_t position) {
    std::uint32_t count = 0;
    const bool unbounded = p.max_occurs == schema::kUnbounded;
    while ((unbounded || count < p.max_occurs) && position < children_->size() &&
           starts(p, (*children_)[position]->name())) {
      const auto next = match_once(p, position);
      if (!next) return std::nullopt;
      if (*next == position) break;
      position = *next;
      ++count;
    }
    if (count < p.min_occurs && !(count == 0 && p.kind != ParticleKind::kElement &&
                                  p.kind != ParticleKind::kAny && emptiable_once(p))) {
      missing(p, position);
      return std::nullopt;
    }
    return position;
  }

  // Whether one occurrence of a group can match nothing.
  bool emptiable_once(const Particle& p) const {
    Particle once = p;
    once.min_occurs = 1;
    return emptiable(once);
  }

  std::optional<std::size_t> match_once(const Particle& p, std::size_t position) {
    switch (p.kind) {
      case ParticleKind::kElement:
        (*assigned_)[position] = &facts_.elements[p.first];
        return position + 1;
      case ParticleKind::kAny: (*assigned_)[position] = nullptr; return position + 1;
      case ParticleKind::kSequence:
        for (std::uint32_t m : members(p)) {
          const auto next = match(particle(m), position);
          if (!next) return std::nullopt;
          position = *next;
        }
        return position;
      case ParticleKind::kChoice:
        for (std::uint32_t m : members(p)) {
          if (position < children_->size() && starts(particle(m), (*children_)[position]->name()))
            return match(particle(m), position);
        }
        return position;
      case ParticleKind::kAll: return match_all(p, position);
    }
    return std::nullopt;
  }

  // xs:all: each member once at most, in any order.
  std::optional<std::size_t> match_all(const Particle& p, std::size_t position) {
    std::vector<bool> used(p.count, false);
    for (bool progressed = true; progressed && position < children_->size();) {
      progressed = false;
      for (std::uint32_t i = 0; i < p.count; ++i) {
        const Particle& member = particle(facts_.particle_children[p.first + i]);
        if (used[i] || !starts(member, (*children_)[position]->name())) continue;
        const auto next = match(member, position);
        if (!next) return std::nullopt;
        used[i] = true;
        position = *next;
        progressed = true;
        break;
      }
    }
    for (std::uint32_t i = 0; i < p.count; ++i) {
      const Particle& member = particle(facts_.particle_children[p.first + i]);
      if (!used[i] && !emptiable(member)) {
        missing(member, position);
        return std::nullopt;
      }
    }
    return position;
  }

  // The first element a particle requires, for the message.
  std::string_view first_required(const Particle& p) const {
    if (p.kind == ParticleKind::kElement) return facts_.elements[p.first].name;
    if (p.kind == ParticleKind::kAny) return "un complemento";
    for (std::uint32_t m : members(p)) {
      if (!emptiable(particle(m))) return first_required(particle(m));
    }
    return p.count > 0 ? first_required(particle(members(p).front())) : "";
  }

  void missing(const Particle& p, std::size_t position) {
    const std::string expected(first_required(p));
    const auto later =
        std::find_if(children_->begin() + static_cast<std::ptrdiff_t>(position), children_->end(),
                     [&](const auto& child) { return child->name() == expected; });
    const std::string where = position < children_->size()
                                  ? " antes de " + (*children_)[position]->name()
                                  : std::string(" al final");
    if (later != children_->end()) {
      fail("", "orden",
           "El elemento " + expected + " debe ir" + where + " en " + path_.back()->name() + ".");
    } else {
      fail("", "cardinalidad",
           "Falta el elemento " + expected + where + " en " + path_.back()->name() + ".");
    }
  }

  // Checking ------------------------------------------------------------------

  // The content of cfdi:Addenda is taken as it is: it is the issuer's and
  // its trading partner's own data (elements or plain text), outside the
  // original string and the seal, in vocabularies no provider holds a schema
  // for. A strict reading of the schema's wildcard would refuse every
  // addenda, which no provider does.
  void check_element(const Element& element, const ElementDecl& decl) {
    if (element.name() == "cfdi:Addenda") return;
    const schema::ComplexType& type = facts_.complex_types[decl.type];
    check_attributes(element, type);
    check_text(element, type);
    check_children(element, type);
  }

  void check_attributes(const Element& element, const schema::ComplexType& type) {
    const auto declared = facts_.attributes.subspan(type.first_attribute, type.attribute_count);
    const auto& present = element.attributes();
    for (std::size_t i = 0; i < present.size(); ++i) {
      const Attribute& attribute = present[i];
      if (is_markup_attribute(attribute.name)) continue;
      const auto it = std::find_if(declared.begin(), declared.end(),
                                   [&](const auto& d) { return d.name == attribute.name; });
      if (it == declared.end() || it->use == schema::Use::kProhibited) {
        fail(attribute.name, "atributo no permitido",
             "El atributo " + attribute.name + " no está definido para " + element.name() + ".");
        continue;
      }
      check_value(element, i, attribute.name, attribute.value, *it);
    }
    for (const schema::AttributeDecl& d : declared) {
      if (d.use == schema::Use::kRequired && element.attribute(d.name) == nullptr) {
        fail(
            d.name, "atributo obligatorio",
            "Falta el atributo obligatorio " + std::string(d.name) + " en " + element.name() + ".");
      }
    }
  }

  void check_value(const Element& element, std::size_t index, std::string_view name,
                   std::string_view raw, const schema::AttributeDecl& decl) {
    const schema::SimpleType& type = facts_.simple_types[decl.type];
    const std::string_view value = schema::apply_white_space(type.white_space, raw, scratch_);
    // apply_white_space hands back the value itself when nothing changes.
    if (value.data() != raw.data()) normalized_.push_back({&element, index, std::string(value)});
    if (auto problem = schema::check_value(type, value, scratch_)) {
      fail(name, problem->rule, std::move(problem->explanation));
      return;
    }
    if (decl.has_fixed && !equals_fixed(type, value, decl.fixed)) {
      fail(name, "valor fijo",
           "El atributo " + std::string(name) + " vale " + rules::quoted(value) +
               " y su valor fijo es " + rules::quoted(decl.fixed) + ".");
    }
  }

  static bool equals_fixed(const schema::SimpleType& type, std::string_view value,
                           std::string_view fixed) {
    if (type.base == schema::Base::kDecimal || type.base == schema::Base::kInteger ||
        type.base == schema::Base::kInt || type.base == schema::Base::kShort) {
      return schema::compare_decimals(value, fixed) == 0;
    }
    return value == fixed;
  }

  void check_text(const Element& element, const schema::ComplexType& type) {
    if (type.text_type != schema::kNone) {
      const schema::SimpleType& text_type =
          facts_.simple_types[static_cast<std::size_t>(type.text_type)];
      const std::string_view value =
          schema::apply_white_space(text_type.white_space, element.text(), scratch_);
      if (value.data() != element.text().data())
        normalized_.push_back({&element, kText, std::string(value)});
      if (auto problem = schema::check_value(text_type, value, scratch_))
        fail("", problem->rule, std::move(problem->explanation));
    } else if (!type.mixed && !element.text().empty()) {
      fail("", "texto",
           "El elemento " + element.name() + " no admite texto y contiene " +
               rules::quoted(element.text()) + ".");
    }
  }

  void check_children(const Element& element, const schema::ComplexType& type) {
    const Children& children = element.children();
    std::vector<const ElementDecl*> assigned(children.size(), nullptr);
    if (type.content == schema::kNone) {
      if (!children.empty()) {
        fail("", "elemento no permitido",
             "El elemento " + element.name() + " no admite elementos y contiene " +
                 children.front()->name() + ".");
      }
      return;
    }
    children_ = &children;
    assigned_ = &assigned;
    const auto end = match(particle(static_cast<std::uint32_t>(type.content)), 0);
    if (end && *end < children.size()) unexpected(element, type, *children[*end]);
    // After a failed match only the children already placed are judged further.
    for (std::size_t i = 0; i < children.size(); ++i) {
      if (end ? i < *end : assigned[i] != nullptr) descend(*children[i], assigned[i]);
    }
  }

  // Checks a matched child against its declaration; a wildcard's child
  // against the global declaration of its name, which must exist.
  void descend(const Element& child, const ElementDecl* decl) {
    path_.push_back(&child);
    if (decl == nullptr) decl = schema::global_element(version_, child.name());
    if (decl == nullptr) {
      fail("", "espacio de nombres desconocido",
           "El elemento " + child.name() +
               " no está declarado en ninguno de los esquemas que "
               "admite el comprobante.");
    } else {
      check_element(child, *decl);
    }
    path_.pop_back();
  }

  void unexpected(const Element& parent, const schema::ComplexType& type, const Element& child) {
    const bool declared_here = declares(static_cast<std::uint32_t>(type.content), child.name());
    fail("", declared_here ? "orden" : "elemento no permitido",
         declared_here
             ? "El elemento " + child.name() + " está fuera de orden o sobra en " + parent.name() +
                   "."
             : "El elemento " + child.name() + " no está permitido en " + parent.name() + ".");
  }

  bool declares(std::uint32_t index, std::string_view name) const {
    const Particle& p = particle(index);
    if (p.kind == ParticleKind::kElement) return facts_.elements[p.first].name == name;
    if (p.kind == ParticleKind::kAny) return false;
    return std::any_of(members(p).begin(), members(p).end(),
                       [&](std::uint32_t m) { return declares(m, name); });
  }

  // Reporting -----------------------------------------------------------------

  void fail(std::string_view attribute, std::string_view rule, std::string explanation) {
    failures_.push_back({std::string(kCode), current_path(), std::string(attribute),
                         "Esquema (" + std::string(rule) + "): " + std::move(explanation)});
  }

  // "cfdi:Comprobante/cfdi:Conceptos/cfdi:Concepto[2]" for the element being checked.
  std::string current_path() const {
    std::string path = path_.front()->name();
    for (std::size_t level = 1; level < path_.size(); ++level) {
      const Children& siblings = path_[level - 1]->children();
      const Element& child = *path_[level];
      std::size_t index = 0, total = 0;
      for (const auto& sibling : siblings) {
        if (sibling->name() != child.name()) continue;
        ++total;
        if (sibling.get() == &child) index = total;
      }
      path = rules::child_path(path, child.name(), total > 1 ? index : 0);
    }
    return path;
  }

  // The normalised copy -------------------------------------------------------

  std::unique_ptr<Element> copy_normalized(const Element& source) const {
    auto copy = std::make_unique<Element>(source.name());
    const auto& attributes = source.attributes();
    for (std::size_t i = 0; i < attributes.size(); ++i) {
      copy->set_attribute(attributes[i].name, normalized_value(source, i, attributes[i].value));
    }
    copy->set_text(normalized_value(source, kText, source.text()));
    for (const auto& child : source.children()) {
      copy_into(*copy, *child);
    }
    return copy;
  }

  void copy_into(Element& parent, const Element& source) const {
    Element& copy = parent.add_child(source.name());
    const auto& attributes = source.attributes();
    for (std::size_t i = 0; i < attributes.size(); ++i) {
      copy.set_attribute(attributes[i].name, normalized_value(source, i, attributes[i].value));
    }
    copy.set_text(normalized_value(source, kText, source.text()));
    for (const auto& child : source.children()) copy_into(copy, *child);
  }

  std::string normalized_value(const Element& element, std::size_t attribute,
                               const std::string& value) const {
    for (const Normalized& entry : normalized_) {
      if (entry.element == &element && entry.attribute == attribute) return entry.value;
    }
    return value;
  }

  // Helpers -------------------------------------------------------------------

  const Particle& particle(std::uint32_t index) const { return facts_.particles[index]; }

  std::span<const std::uint32_t> members(const Particle& p) const {
    return facts_.particle_children.subspan(p.first, p.count);
  }

  const schema::Facts& facts_ = schema::facts();
  CfdiVersion version_ = CfdiVersion::k33;
  schema::ValueScratch scratch_;
  std::vector<Failure> failures_;
  std::vector<Normalized> normalized_;
  std::vector<const Element*> path_;  // the element being checked and its ancestors
  const Children* children_ = nullptr;
  std::vector<const ElementDecl*>* assigned_ = nullptr;
};

}  // namespace

SchemaCheck check_schema(const Element& document) {
  try {
    return SchemaChecker().run(document);
  } catch (const std::exception& error) {
    SchemaCheck result;
    result.failures.push_back(
        {std::string(kCode), document.name(), "",
         std::string("No se pudo validar contra el esquema: ") + error.what() + "."});
    return result;
  }
}

}  // namespace drovanexis
