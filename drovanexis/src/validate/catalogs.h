#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The SAT catalogues, from the library's own data (drovanexis/data, made by
// scripts/convert-catalogs), read once per process on first use.
//
// A code fits a document when it is in the catalogue and its validity covers
// the document's day (Fecha): a code retired before that day, or valid only
// after it, is refused.
//
// c_ClaveProdServ and c_CodigoPostal are not in the data: their codes are
// checked by pattern only (8 digits, 5 digits), and the log says so.
namespace drovanexis::catalogs {

// One row: its key (key columns joined by '|' where a table has several,
// e.g. c_Municipio "estado|municipio"), its validity as yyyymmdd days
// (inclusive; 0 and 99991231 when open) and the other columns it keeps.
struct Row {
  std::string_view key;
  int valid_from = 0;
  int valid_to = 99991231;
  std::vector<std::string_view> fields;

  bool valid_on(int day) const { return valid_from <= day && day <= valid_to; }
};

class Catalog {
 public:
  Catalog(std::string_view name, std::string_view source_date, std::string_view columns,
          std::string_view rows);

  std::string_view name() const { return name_; }
  std::string_view source_date() const { return source_date_; }
  // The rows with that key (several when the SAT re-issued a code), or none.
  std::span<const Row> rows(std::string_view key) const;
  std::span<const Row> all() const { return rows_; }
  // A kept column of a row by its name; throws std::logic_error for a column
  // the table does not keep (a fault of the caller, not of the document).
  std::string_view field(const Row& row, std::string_view column) const;

 private:
  std::string_view name_;
  std::string_view source_date_;
  std::vector<std::string_view> columns_;
  std::vector<Row> rows_;
};

// The catalogue of that name ("c_Moneda", "nomina.c_TipoPercepcion");
// throws std::logic_error for a name the data does not have.
const Catalog& catalog(std::string_view name);

// Where a code stands on a day.
enum class Standing { valid, unknown, not_yet_valid, retired };
struct Lookup {
  Standing standing = Standing::unknown;
  const Row* row = nullptr;  // the row valid that day, else the nearest one; null when unknown
};
// Without a day (a document whose Fecha cannot be read) only membership counts.
Lookup look_up(std::string_view catalogue, std::string_view key, std::optional<int> day);

// The Spanish reason for a standing other than valid, for a log line:
// "no está en el catálogo c_Moneda", "dejó de estar vigente el 2019-12-31 en
// el catálogo c_RegimenFiscal", ...
std::string reason(std::string_view catalogue, const Lookup& lookup);

// Membership regardless of dates (the shape checks of the structure stage).
bool is_forma_pago(std::string_view code);
bool is_metodo_pago(std::string_view code);
// Decimals a currency allows (c_Moneda, or the catalogue named); nullopt for
// a code outside it.
std::optional<int> moneda_decimals(std::string_view code, std::string_view catalogue = "c_Moneda");

// Which taxpayers a code of c_RegimenFiscal or c_UsoCFDI suits.
struct Fitness {
  bool person;
  bool company;
};
Fitness fitness(const Catalog& catalogue, const Row& row);

// Whether a 12- or 13-character RFC is a company or a person; nullopt for
// any other length.
enum class TaxpayerKind { person, company };
std::optional<TaxpayerKind> taxpayer_kind(std::string_view rfc);
bool suits(Fitness fitness, TaxpayerKind kind);
// "persona física" / "persona moral".
std::string_view describe(TaxpayerKind kind);

// The rates of c_TasaOCuota: whether `rate` is allowed for a tax (c_Impuesto
// code), factor and use (transfer or withholding) on a day: equal to a fixed
// value, or within a range row. `catalogue` names the version's table.
bool tasa_o_cuota_allowed(std::string_view impuesto, std::string_view factor, bool withheld,
                          std::string_view rate, std::optional<int> day,
                          std::string_view catalogue = "c_TasaOCuota");

}  // namespace drovanexis::catalogs
