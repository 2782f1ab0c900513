#include "validate/catalogs.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <stdexcept>

#include "data/sat_catalogs.h"
#include "validate/decimal.h"

namespace drovanexis::catalogs {

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

int read_day(std::string_view text, std::string_view catalogue) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    throw std::logic_error("catálogo " + std::string(catalogue) + ": fecha ilegible " +
                           std::string(text));
  return value;
}

std::string day_text(int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", day / 10000, day / 100 % 100, day % 100);
  return text;
}

constexpr int kFirstYearEnd = 20171231;

using Registry = std::map<std::string_view, Catalog, std::less<>>;

Registry load_all() {
  Registry registry;
  for (const catalog_data::CatalogSource* group :
       {catalog_data::k_cfdi_tables, catalog_data::k_cfdi40_tables, catalog_data::k_nomina_tables,
        catalog_data::k_pagos_tables, catalog_data::k_comext11_tables,
        catalog_data::k_cartaporte20_tables}) {
    for (const catalog_data::CatalogSource* source = group; source->name != nullptr; ++source) {
      registry.emplace(source->name,
                       Catalog(source->name, source->source_date, source->columns, source->rows));
    }
  }
  return registry;
}

const Registry& registry() {
  static const Registry loaded = load_all();
  return loaded;
}

bool flag(std::string_view value) { return value == "1"; }

}  // namespace

Catalog::Catalog(std::string_view name, std::string_view source_date, std::string_view columns,
                 std::string_view rows)
    : name_(name), source_date_(source_date) {
  if (!columns.empty()) columns_ = split(columns, '\t');
  std::size_t start = 0;
  while (start < rows.size()) {
    std::size_t end = rows.find('\n', start);
    if (end == std::string_view::npos) end = rows.size();
    const auto parts = split(rows.substr(start, end - start), '\t');
    start = end + 1;
    if (parts.size() != columns_.size() + 3)
      throw std::logic_error("catálogo " + std::string(name) + ": fila con columnas de menos");
    Row row;
    row.key = parts[0];
    // The SAT published the catalogues and reissued them several times during
    // 2017, the first year of CFDI 3.3, restamping codes already in use with
    // the reissue's date (MXN "from 2017-08-14"). A start within 2017 is
    // therefore read as the start of the standard, so that documents of that
    // year are not refused their own currency; later starts (codes added from
    // 2018 on) keep their date.
    row.valid_from = read_day(parts[1], name);
    if (row.valid_from <= kFirstYearEnd) row.valid_from = 0;
    row.valid_to = read_day(parts[2], name);
    row.fields.assign(parts.begin() + 3, parts.end());
    rows_.push_back(std::move(row));
  }
}

std::span<const Row> Catalog::rows(std::string_view key) const {
  const auto range =
      std::equal_range(rows_.begin(), rows_.end(), key, [](const auto& a, const auto& b) {
        const auto key_of = [](const auto& value) -> std::string_view {
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, Row>) {
            return value.key;
          } else {
            return value;
          }
        };
        return key_of(a) < key_of(b);
      });
  return {range.first, range.second};
}

std::string_view Catalog::field(const Row& row, std::string_view column) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i] == column) return row.fields[i];
  }
  throw std::logic_error("catálogo " + std::string(name_) + ": sin columna " + std::string(column));
}

const Catalog& catalog(std::string_view name) {
  const auto found = registry().find(name);
  if (found == registry().end())
    throw std::logic_error("no existe el catálogo " + std::string(name));
  return found->second;
}

Lookup look_up(std::string_view catalogue, std::string_view key, std::optional<int> day) {
  const auto rows = catalog(catalogue).rows(key);
  if (rows.empty()) return {};
  if (!day) return {Standing::valid, &rows.front()};
  const Row* earliest = &rows.front();
  const Row* latest = &rows.front();
  for (const Row& row : rows) {
    if (row.valid_on(*day)) return {Standing::valid, &row};
    if (row.valid_from < earliest->valid_from) earliest = &row;
    if (row.valid_to > latest->valid_to) latest = &row;
  }
  if (*day < earliest->valid_from) return {Standing::not_yet_valid, earliest};
  return {Standing::retired, latest};
}

std::string reason(std::string_view catalogue, const Lookup& lookup) {
  const std::string in = " en el catálogo " + std::string(catalogue);
  switch (lookup.standing) {
    case Standing::valid: return "";
    case Standing::not_yet_valid:
      return "no estaba vigente aún (vigente desde el " + day_text(lookup.row->valid_from) + ")" +
             in;
    case Standing::retired:
      return "ya no estaba vigente (vigente hasta el " + day_text(lookup.row->valid_to) + ")" + in;
    case Standing::unknown:
    default: return "no está en el catálogo " + std::string(catalogue);
  }
}

bool is_forma_pago(std::string_view code) { return !catalog("c_FormaPago").rows(code).empty(); }
bool is_metodo_pago(std::string_view code) { return !catalog("c_MetodoPago").rows(code).empty(); }

std::optional<int> moneda_decimals(std::string_view code, std::string_view catalogue) {
  const Catalog& monedas = catalog(catalogue);
  const auto rows = monedas.rows(code);
  if (rows.empty()) return std::nullopt;
  const std::string_view decimals = monedas.field(rows.front(), "decimales");
  int value = 0;
  std::from_chars(decimals.data(), decimals.data() + decimals.size(), value);
  return value;
}

Fitness fitness(const Catalog& catalogue, const Row& row) {
  return {flag(catalogue.field(row, "aplica_fisica")), flag(catalogue.field(row, "aplica_moral"))};
}

std::optional<TaxpayerKind> taxpayer_kind(std::string_view rfc) {
  if (rfc.size() == 13) return TaxpayerKind::person;
  if (rfc.size() == 12) return TaxpayerKind::company;
  return std::nullopt;
}

bool suits(Fitness fitness, TaxpayerKind kind) {
  return kind == TaxpayerKind::person ? fitness.person : fitness.company;
}

std::string_view describe(TaxpayerKind kind) {
  return kind == TaxpayerKind::person ? "persona física" : "persona moral";
}

bool tasa_o_cuota_allowed(std::string_view impuesto, std::string_view factor, bool withheld,
                          std::string_view rate_text, std::optional<int> day,
                          std::string_view catalogue) {
  const auto rate = Decimal::parse(rate_text);
  if (!rate) return false;
  const Catalog& rates = catalog(catalogue);
  const std::string key = std::string(impuesto) + "|" + std::string(factor);
  for (const Row& row : rates.rows(key)) {
    if (day && !row.valid_on(*day)) continue;
    if (!flag(rates.field(row, withheld ? "retencion" : "traslado"))) continue;
    const auto value = Decimal::parse(rates.field(row, "valor"));
    if (!value) continue;
    if (rates.field(row, "tipo") == "Fijo") {
      if (*rate == *value) return true;
    } else {
      const auto minimum = Decimal::parse(rates.field(row, "minimo"));
      if (minimum && *minimum <= *rate && *rate <= *value) return true;
    }
  }
  return false;
}

}  // namespace drovanexis::catalogs
