#pragma once

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/element.h"
#include "validate/decimal.h"
#include "validate/validation.h"

// Small helpers shared by the rule groups: reading attributes and amounts,
// naming nodes, and recording failures.
namespace drovanexis::rules {

using Failures = std::vector<Failure>;

inline constexpr std::string_view kComprobante = "cfdi:Comprobante";

// The attribute's value, "" when absent, without the surrounding blanks that
// the schema types collapse (" PPD " is "PPD").
std::string_view attr(const Element& element, std::string_view name);
bool has(const Element& element, std::string_view name);
// The attribute as a decimal; nullopt when absent or not a number (the
// structure rules report the malformed ones).
std::optional<Decimal> number(const Element& element, std::string_view name);

std::vector<const Element*> children(const Element& parent, std::string_view qualified_name);
// Follows a chain of first children by name; nullptr where one is missing.
const Element* descendant(const Element& root, std::initializer_list<std::string_view> chain);
// A complement (child of cfdi:Complemento) by qualified name, or nullptr.
const Element* complement(const Element& comprobante, std::string_view qualified_name);

// "parent/child" or, for a repeated element, "parent/child[index]" (1-based).
std::string child_path(std::string_view parent, std::string_view child, std::size_t index = 0);

void add(Failures& failures, std::string code, std::string node, std::string attribute,
         std::string explanation);

// The facts of the Comprobante that every version reads alike: its type,
// its currency and the day the catalogues are judged on.
struct AmountFacts {
  std::string_view tipo;  // TipoDeComprobante
  std::string_view moneda;
  std::optional<int> currency_decimals;  // nullopt for an unknown currency
  std::optional<int> day;                // Fecha as yyyymmdd; nullopt when unreadable
};

// Facts of a 3.3 Comprobante that many rules depend on. Its day is at the
// latest the last day of CFDI 3.3 (2023-03-31).
struct DocumentFacts : AmountFacts {
  bool has_pagos = false;
  bool has_comercio_exterior = false;
};
DocumentFacts document_facts(const Element& comprobante);

// Income, egress and payroll carry amounts; transfers and payment receipts
// carry zeros.
bool carries_amounts(std::string_view tipo);
bool is_transfer_or_payment(std::string_view tipo);

// A stated total agrees with the exact sum of its parts when it equals it,
// or equals it rounded to the currency's decimals (lines may carry more
// decimals than the currency).
bool agrees_with_sum(const Decimal& stated, const Decimal& sum,
                     std::optional<int> currency_decimals);

// "1102.00" or, with a currency, the amount at the currency's decimals when
// it has fewer (for sums shown in messages).
std::string shown(const Decimal& value, std::optional<int> currency_decimals = std::nullopt);

// Checks a code against a catalogue on the document's day; on failure adds
// `code` with the reason and returns false.
bool check_catalog(Failures& failures, std::string code, const std::string& node,
                   std::string_view attribute, std::string_view catalogue, std::string_view key,
                   std::optional<int> day);
// The same, looking the key up in `table` (a version's edition of the
// catalogue) while the message names the catalogue `name` as the SAT does.
bool check_catalog_in(Failures& failures, std::string code, const std::string& node,
                      std::string_view attribute, std::string_view table, std::string_view name,
                      std::string_view key, std::optional<int> day);

// The decimals a value is written with exceed `allowed`: adds `code`.
void check_decimals(Failures& failures, std::string code, const Element& element,
                    const std::string& node, std::string_view attribute, std::optional<int> allowed,
                    std::string_view why);

// Quotes a value for a message: "«value»", or "(vacío)".
std::string quoted(std::string_view value);

// Whether `value` has the form that c_Pais gives for the country `pais` in
// `column` ("patron_codigo_postal", "patron_identidad_tributaria"). A country
// outside the catalogue, one without a pattern, or a pattern this regex
// engine cannot read leaves the value unjudged (true).
bool fits_country_pattern(std::string_view pais, std::string_view column, std::string_view value);

// Whether c_Estado lists states for the country (MEX, USA, CAN).
bool country_has_states(std::string_view pais);

// Whether c_Pais places the country in a grouping ("Unión Europea", "TLCAN").
bool in_country_group(std::string_view pais, std::string_view group);

// The complements (children of cfdi:Complemento) whose name is not among
// `allowed`, for the rules that say which complements may travel together.
std::vector<const Element*> complements_besides(const Element& comprobante,
                                                std::span<const std::string_view> allowed);

// Complements of that name placed inside a Concepto (cfdi:ComplementoConcepto)
// instead of cfdi:Complemento, with the Concepto's path.
std::vector<std::string> misplaced_in_conceptos(const Element& comprobante,
                                                std::string_view qualified_name);

// What is wrong with a customs entry number ("yy  aa  pppp  nnnnnnn": year,
// office, patent, the year's last digit and a serial) on the document's
// day, as a Spanish clause; nullopt when it is valid.
// `patentes` names the version's c_PatenteAduanal table.
std::optional<std::string> pedimento_problem(std::string_view numero, std::optional<int> day,
                                             std::string_view patentes = "c_PatenteAduanal");

}  // namespace drovanexis::rules
