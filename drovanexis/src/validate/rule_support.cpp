#include "validate/rule_support.h"

#include <algorithm>
#include <regex>

#include "validate/catalogs.h"

namespace drovanexis::rules {

std::string_view attr(const Element& element, std::string_view name) {
  const std::string* value = element.attribute(name);
  if (value == nullptr) return {};
  std::string_view text(*value);
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool has(const Element& element, std::string_view name) {
  return element.attribute(name) != nullptr;
}

std::optional<Decimal> number(const Element& element, std::string_view name) {
  const std::string* value = element.attribute(name);
  if (value == nullptr) return std::nullopt;
  return Decimal::parse(*value);
}

std::vector<const Element*> children(const Element& parent, std::string_view qualified_name) {
  std::vector<const Element*> found;
  for (const auto& child : parent.children()) {
    if (child->name() == qualified_name) found.push_back(child.get());
  }
  return found;
}

const Element* descendant(const Element& root, std::initializer_list<std::string_view> chain) {
  const Element* current = &root;
  for (const std::string_view name : chain) {
    current = current->child(name);
    if (current == nullptr) return nullptr;
  }
  return current;
}

const Element* complement(const Element& comprobante, std::string_view qualified_name) {
  const Element* complemento = comprobante.child("cfdi:Complemento");
  return complemento == nullptr ? nullptr : complemento->child(qualified_name);
}

std::string child_path(std::string_view parent, std::string_view child, std::size_t index) {
  std::string path(parent);
  path += '/';
  path += child;
  if (index > 0) path += "[" + std::to_string(index) + "]";
  return path;
}

void add(Failures& failures, std::string code, std::string node, std::string attribute,
         std::string explanation) {
  failures.push_back(
      {std::move(code), std::move(node), std::move(attribute), std::move(explanation)});
}

DocumentFacts document_facts(const Element& comprobante) {
  DocumentFacts facts;
  facts.tipo = attr(comprobante, "TipoDeComprobante");
  facts.moneda = attr(comprobante, "Moneda");
  facts.currency_decimals = catalogs::moneda_decimals(facts.moneda);
  facts.has_pagos = complement(comprobante, "pago10:Pagos") != nullptr;
  facts.has_comercio_exterior = complement(comprobante, "cce11:ComercioExterior") != nullptr;
  // The SAT accepted CFDI 3.3 until 2023-03-31; later editions of the
  // catalogues belong to CFDI 4.0 (P01 "por definir", for one, was retired
  // then). A 3.3 document dated after that day, as the sandbox still stamps
  // them, is judged against the catalogues as they stood on it.
  constexpr int kLastDayOfCfdi33 = 20230331;
  if (const auto fecha = parse_fecha(attr(comprobante, "Fecha")))
    facts.day = std::min(day_number(*fecha), kLastDayOfCfdi33);
  return facts;
}

bool carries_amounts(std::string_view tipo) { return tipo == "I" || tipo == "E" || tipo == "N"; }
bool is_transfer_or_payment(std::string_view tipo) { return tipo == "T" || tipo == "P"; }

bool agrees_with_sum(const Decimal& stated, const Decimal& sum,
                     std::optional<int> currency_decimals) {
  if (stated == sum) return true;
  return currency_decimals.has_value() && stated == sum.round_to(*currency_decimals);
}

std::string shown(const Decimal& value, std::optional<int> currency_decimals) {
  if (currency_decimals && value.decimals() < *currency_decimals) {
    return value.round_to(*currency_decimals).to_string();
  }
  return value.to_string();
}

bool check_catalog(Failures& failures, std::string code, const std::string& node,
                   std::string_view attribute, std::string_view catalogue, std::string_view key,
                   std::optional<int> day) {
  return check_catalog_in(failures, std::move(code), node, attribute, catalogue, catalogue, key,
                          day);
}

bool check_catalog_in(Failures& failures, std::string code, const std::string& node,
                      std::string_view attribute, std::string_view table, std::string_view name,
                      std::string_view key, std::optional<int> day) {
  const catalogs::Lookup found = catalogs::look_up(table, key, day);
  if (found.standing == catalogs::Standing::valid) return true;
  add(failures, std::move(code), node, std::string(attribute),
      "El " + std::string(attribute) + " " + quoted(key) + " " + catalogs::reason(name, found) +
          ".");
  return false;
}

void check_decimals(Failures& failures, std::string code, const Element& element,
                    const std::string& node, std::string_view attribute, std::optional<int> allowed,
                    std::string_view why) {
  const auto value = number(element, attribute);
  if (!value || !allowed || value->decimals() <= *allowed) return;
  add(failures, std::move(code), node, std::string(attribute),
      "El " + std::string(attribute) + " " + value->to_string() + " tiene " +
          std::to_string(value->decimals()) + " decimales y " + std::string(why) + " admite " +
          std::to_string(*allowed) + ".");
}

std::string quoted(std::string_view value) {
  if (value.empty()) return "(vacío)";
  return "\"" + std::string(value) + "\"";
}

bool fits_country_pattern(std::string_view pais, std::string_view column, std::string_view value) {
  const catalogs::Lookup country = catalogs::look_up("c_Pais", pais, std::nullopt);
  if (country.row == nullptr) return true;
  const std::string_view pattern = catalogs::catalog("c_Pais").field(*country.row, column);
  if (pattern.empty()) return true;
  try {
    const std::regex form{std::string(pattern)};
    return std::regex_match(value.begin(), value.end(), form);
  } catch (const std::regex_error&) {
    return true;
  }
}

bool country_has_states(std::string_view pais) {
  const std::string prefix = std::string(pais) + "|";
  for (const catalogs::Row& row : catalogs::catalog("c_Estado").all()) {
    if (row.key.starts_with(prefix)) return true;
  }
  return false;
}

bool in_country_group(std::string_view pais, std::string_view group) {
  const catalogs::Lookup country = catalogs::look_up("c_Pais", pais, std::nullopt);
  if (country.row == nullptr) return false;
  const std::string_view groups = catalogs::catalog("c_Pais").field(*country.row, "agrupaciones");
  return groups.find(group) != std::string_view::npos;
}

std::vector<const Element*> complements_besides(const Element& comprobante,
                                                std::span<const std::string_view> allowed) {
  std::vector<const Element*> others;
  const Element* complemento = comprobante.child("cfdi:Complemento");
  if (complemento == nullptr) return others;
  for (const auto& child : complemento->children()) {
    if (std::find(allowed.begin(), allowed.end(), child->name()) == allowed.end())
      others.push_back(child.get());
  }
  return others;
}

std::vector<std::string> misplaced_in_conceptos(const Element& comprobante,
                                                std::string_view qualified_name) {
  std::vector<std::string> paths;
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  if (conceptos == nullptr) return paths;
  const auto lines = children(*conceptos, "cfdi:Concepto");
  const std::string parent = child_path(kComprobante, "cfdi:Conceptos");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Element* inner = lines[i]->child("cfdi:ComplementoConcepto");
    if (inner == nullptr || inner->child(qualified_name) == nullptr) continue;
    paths.push_back(child_path(child_path(parent, "cfdi:Concepto", lines.size() > 1 ? i + 1 : 0),
                               "cfdi:ComplementoConcepto"));
  }
  return paths;
}

std::optional<std::string> pedimento_problem(std::string_view numero, std::optional<int> day,
                                             std::string_view patentes) {
  static const std::regex kLayout("([0-9]{2})  ([0-9]{2})  ([0-9]{4})  ([0-9])([0-9]{6})");
  std::match_results<std::string_view::const_iterator> parts;
  if (!std::regex_match(numero.begin(), numero.end(), parts, kLayout))
    return "no tiene la forma \"aa  AA  PPPP  NNNNNNN\" (año, aduana, patente, número)";
  const int year_of_entry = 2000 + std::stoi(parts[1].str());
  const std::string aduana = parts[2].str();
  const std::string patente = parts[3].str();
  if (day) {
    const int year = *day / 10000;
    if (year_of_entry > year || year_of_entry < year - 10)
      return "el año " + std::to_string(year_of_entry) +
             " no es el del comprobante ni uno de los diez anteriores";
  }
  if (parts[4].str() != std::to_string(year_of_entry % 10))
    return "el primer dígito del número no es el último del año";
  if (catalogs::look_up("c_Aduana", aduana, day).standing != catalogs::Standing::valid)
    return "la aduana " + aduana + " no está en el catálogo c_Aduana";
  if (catalogs::look_up(patentes, patente, day).standing != catalogs::Standing::valid)
    return "la patente " + patente + " no está en el catálogo c_PatenteAduanal";
  const catalogs::Catalog& numeros = catalogs::catalog("c_NumPedimentoAduana");
  const auto rows = numeros.rows(aduana + "|" + patente + "|" + std::to_string(year_of_entry));
  if (rows.empty()) return std::nullopt;  // the table lists some offices and years only
  const auto cantidad = Decimal::parse(numeros.field(rows.front(), "cantidad"));
  const auto serial = Decimal::parse(parts[5].str());
  if (cantidad && serial && *serial > *cantidad)
    return "el número " + parts[5].str() + " excede el máximo " + cantidad->to_string() +
           " publicado en c_NumPedimentoAduana";
  return std::nullopt;
}

}  // namespace drovanexis::rules
