// Provider code 301, "XML mal formado": the structural part of schema
// validity that can be judged on the tree — the root, required attributes,
// empty attributes, the shape of numbers, RFCs and codes, and the catalogue
// values of the complements that the CFDI 3.3 matrix does not cover. A full
// schema check is a separate step.
#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

constexpr std::string_view kCode = "301";

struct Required {
  std::string_view element;
  std::initializer_list<std::string_view> attributes;
};

// Required attributes by element, outside the tax nodes (whose requirements
// differ between a line and the document summary).
const std::array<Required, 17> kRequired = {{
    {"cfdi:Comprobante",
     {"Version", "Fecha", "Sello", "NoCertificado", "Certificado", "SubTotal", "Moneda", "Total",
      "TipoDeComprobante", "LugarExpedicion"}},
    {"cfdi:Emisor", {"Rfc", "RegimenFiscal"}},
    {"cfdi:Receptor", {"Rfc", "UsoCFDI"}},
    {"cfdi:CfdiRelacionados", {"TipoRelacion"}},
    {"cfdi:CfdiRelacionado", {"UUID"}},
    {"cfdi:Concepto",
     {"ClaveProdServ", "Cantidad", "ClaveUnidad", "Descripcion", "ValorUnitario", "Importe"}},
    {"pago10:Pagos", {"Version"}},
    {"pago10:Pago", {"FechaPago", "FormaDePagoP", "MonedaP", "Monto"}},
    {"pago10:DoctoRelacionado", {"IdDocumento", "MonedaDR", "MetodoDePagoDR"}},
    {"nomina12:Nomina",
     {"Version", "TipoNomina", "FechaPago", "FechaInicialPago", "FechaFinalPago",
      "NumDiasPagados"}},
    {"nomina12:Receptor",
     {"Curp", "TipoContrato", "TipoRegimen", "NumEmpleado", "PeriodicidadPago", "ClaveEntFed"}},
    {"nomina12:Percepciones", {"TotalGravado", "TotalExento"}},
    {"nomina12:Percepcion",
     {"TipoPercepcion", "Clave", "Concepto", "ImporteGravado", "ImporteExento"}},
    {"nomina12:Deduccion", {"TipoDeduccion", "Clave", "Concepto", "Importe"}},
    {"nomina12:OtroPago", {"TipoOtroPago", "Clave", "Concepto", "Importe"}},
    {"cartaporte:CartaPorte", {"Version", "TranspInternac"}},
    {"cartaporte20:CartaPorte", {"Version", "TranspInternac"}},
}};

// Attributes that hold a non-negative decimal, wherever they appear.
const std::set<std::string_view, std::less<>> kDecimalAttributes = {"SubTotal",
                                                                    "Descuento",
                                                                    "TipoCambio",
                                                                    "Total",
                                                                    "Cantidad",
                                                                    "ValorUnitario",
                                                                    "Importe",
                                                                    "Base",
                                                                    "TasaOCuota",
                                                                    "TotalImpuestosTrasladados",
                                                                    "TotalImpuestosRetenidos",
                                                                    "Monto",
                                                                    "TipoCambioP",
                                                                    "TipoCambioDR",
                                                                    "ImpSaldoAnt",
                                                                    "ImpPagado",
                                                                    "ImpSaldoInsoluto",
                                                                    "NumParcialidad",
                                                                    "NumDiasPagados",
                                                                    "TotalPercepciones",
                                                                    "TotalDeducciones",
                                                                    "TotalOtrosPagos",
                                                                    "TotalSueldos",
                                                                    "TotalSeparacionIndemnizacion",
                                                                    "TotalJubilacionPensionRetiro",
                                                                    "TotalGravado",
                                                                    "TotalExento",
                                                                    "TotalOtrasDeducciones",
                                                                    "ImporteGravado",
                                                                    "ImporteExento",
                                                                    "SubsidioCausado",
                                                                    "SalarioDiarioIntegrado",
                                                                    "SalarioBaseCotApor",
                                                                    "TotalDistRec",
                                                                    "DistanciaRecorrida",
                                                                    "PesoEnKg",
                                                                    "PesoBrutoTotal",
                                                                    "PesoNetoTotal",
                                                                    "NumTotalMercancias",
                                                                    "ValorMercancia"};

constexpr int kMaxDecimals = 6;

class StructureCheck {
 public:
  Failures run(const Element& comprobante) {
    if (!root_is_cfdi33(comprobante)) return std::move(failures_);
    walk(comprobante, std::string(kComprobante), Place::document);
    require_child(comprobante, "cfdi:Emisor");
    require_child(comprobante, "cfdi:Receptor");
    const Element* conceptos = comprobante.child("cfdi:Conceptos");
    if (conceptos == nullptr || conceptos->child("cfdi:Concepto") == nullptr) {
      add(failures_, std::string(kCode), child_path(kComprobante, "cfdi:Conceptos"), "",
          "El comprobante no tiene ningún Concepto; debe tener al menos uno.");
    }
    return std::move(failures_);
  }

 private:
  // Where a tax node sits: its required attributes depend on it.
  enum class Place { document, line_taxes, summary_taxes, skip };

  bool root_is_cfdi33(const Element& root) {
    if (root.name() != kComprobante) {
      add(failures_, std::string(kCode), root.name(), "",
          "El elemento raíz es " + root.name() + " y debe ser cfdi:Comprobante.");
      return false;
    }
    if (attr(root, "Version") != "3.3") {
      add(failures_, std::string(kCode), root.name(), "Version",
          "La Version del comprobante es " + quoted(attr(root, "Version")) +
              " y debe ser \"3.3\".");
      return false;
    }
    return true;
  }

  void require_child(const Element& parent, std::string_view name) {
    if (parent.child(name) == nullptr) {
      add(failures_, std::string(kCode), child_path(kComprobante, name), "",
          "Falta el elemento " + std::string(name) + ", que es obligatorio.");
    }
  }

  void walk(const Element& element, const std::string& path, Place place) {
    if (element.name() == "cfdi:Addenda" || element.prefix() == "tfd") return;
    check_attributes(element, path, place);
    std::map<std::string, std::size_t> seen;
    std::map<std::string, std::size_t> total;
    for (const auto& child : element.children()) ++total[child->name()];
    for (const auto& child : element.children()) {
      const std::size_t index = total[child->name()] > 1 ? ++seen[child->name()] : 0;
      walk(*child, child_path(path, child->name(), index), place_of_child(element, place));
    }
  }

  static Place place_of_child(const Element& parent, Place place) {
    if (parent.name() == "cfdi:Concepto") return Place::line_taxes;
    if (parent.name() == kComprobante) return Place::summary_taxes;
    return place;
  }

  void check_attributes(const Element& element, const std::string& path, Place place) {
    for (const std::string_view name : required_of(element, place)) {
      if (!has(element, name)) {
        add(failures_, std::string(kCode), path, std::string(name),
            "Falta el atributo obligatorio " + std::string(name) + " en " + element.name() + ".");
      }
    }
    for (const Attribute& attribute : element.attributes()) check_value(element, path, attribute);
  }

  static std::vector<std::string_view> required_of(const Element& element, Place place) {
    if (element.name() == "cfdi:Traslado") {
      if (place == Place::line_taxes) return {"Base", "Impuesto", "TipoFactor"};
      return {"Impuesto", "TipoFactor", "TasaOCuota", "Importe"};
    }
    if (element.name() == "cfdi:Retencion") {
      if (place == Place::line_taxes)
        return {"Base", "Impuesto", "TipoFactor", "TasaOCuota", "Importe"};
      return {"Impuesto", "Importe"};
    }
    for (const Required& entry : kRequired) {
      if (entry.element == element.name())
        return {entry.attributes.begin(), entry.attributes.end()};
    }
    return {};
  }

  void check_value(const Element& element, const std::string& path, const Attribute& attribute) {
    if (attribute.name.starts_with("xmlns") || attribute.name.starts_with("xsi:")) return;
    if (attribute.value.empty()) {
      add(failures_, std::string(kCode), path, attribute.name,
          "El atributo " + attribute.name + " está vacío; un atributo sin valor se omite.");
      return;
    }
    if (kDecimalAttributes.contains(attribute.name)) check_decimal(path, attribute);
    check_shape(element, path, attribute);
  }

  void check_decimal(const std::string& path, const Attribute& attribute) {
    // A sign of any kind is outside the schemas' amount types, "-0" included.
    const auto value = Decimal::parse(attribute.value);
    if (!value || attribute.value.find('-') != std::string::npos ||
        value->decimals() > kMaxDecimals) {
      add(failures_, std::string(kCode), path, attribute.name,
          "El atributo " + attribute.name + " tiene el valor " + quoted(attribute.value) +
              ", que no es un número decimal no negativo de hasta seis decimales.");
    }
  }

  void check_shape(const Element& element, const std::string& path, const Attribute& attribute) {
    const std::string_view name = element.name();
    const std::string& key = attribute.name;
    std::string expected;
    if ((name == "cfdi:Emisor" || name == "cfdi:Receptor") && key == "Rfc" &&
        !is_rfc(attribute.value)) {
      expected = "un RFC de 12 o 13 caracteres";
    } else if (name == kComprobante && key == "NoCertificado" && !all_digits(attribute.value, 20)) {
      expected = "un número de certificado de 20 dígitos";
    } else if (name == kComprobante && key == "LugarExpedicion" &&
               !all_digits(attribute.value, 5)) {
      expected = "un código postal de 5 dígitos";
    } else if (name == "pago10:Pago" && key == "FormaDePagoP" &&
               !catalogs::is_forma_pago(attribute.value)) {
      expected = "una clave del catálogo c_FormaPago";
    } else if (name == "pago10:DoctoRelacionado" && key == "MetodoDePagoDR" &&
               !catalogs::is_metodo_pago(attribute.value)) {
      expected = "una clave del catálogo c_MetodoPago";
    } else if ((key == "MonedaP" || key == "MonedaDR") &&
               !catalogs::moneda_decimals(attribute.value)) {
      expected = "una clave del catálogo c_Moneda";
    } else if (name == "nomina12:Nomina" && key == "TipoNomina" && attribute.value != "O" &&
               attribute.value != "E") {
      expected = "\"O\" (ordinaria) o \"E\" (extraordinaria)";
    }
    if (!expected.empty()) {
      add(failures_, std::string(kCode), path, key,
          "El atributo " + key + " tiene el valor " + quoted(attribute.value) + " y debe ser " +
              expected + ".");
    }
  }

  static bool all_digits(std::string_view text, std::size_t count) {
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  }

  // [A-ZÑ&]{3,4}[0-9]{6}[A-Z0-9]{3}; Ñ is two bytes in UTF-8.
  static bool is_rfc(std::string_view text) {
    std::size_t letters = 0;
    while (!text.empty()) {
      if ((text.front() >= 'A' && text.front() <= 'Z') || text.front() == '&') {
        text.remove_prefix(1);
      } else if (text.starts_with("\xC3\x91")) {
        text.remove_prefix(2);
      } else {
        break;
      }
      ++letters;
    }
    if (letters < 3 || letters > 4 || text.size() != 9) return false;
    const auto upper_or_digit = [](char c) {
      return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return all_digits(text.substr(0, 6), 6) &&
           std::all_of(text.begin() + 6, text.end(), upper_or_digit);
  }

  Failures failures_;
};

}  // namespace

Failures structure_rules(const Element& comprobante) { return StructureCheck().run(comprobante); }

}  // namespace drovanexis::rules
