#include "validate/rule_support.h"

#include <algorithm>

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
  const catalogs::Lookup found = catalogs::look_up(catalogue, key, day);
  if (found.standing == catalogs::Standing::valid) return true;
  add(failures, std::move(code), node, std::string(attribute),
      "El " + std::string(attribute) + " " + quoted(key) + " " +
          catalogs::reason(catalogue, found) + ".");
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

}  // namespace drovanexis::rules
