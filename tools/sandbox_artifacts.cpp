#include "tools/sandbox_artifacts.h"

#include <chrono>
#include <stdexcept>

#include "crypto/certificate_issuer.h"
#include "portable/file_io.h"
#include "sandbox/provider_credentials.h"
#include "sandbox/sandbox_init.h"

namespace sandbox_tool {
namespace {

using drovanexis::CertificateRequest;

constexpr std::time_t kDay = 24 * 60 * 60;
constexpr std::time_t kYear = 365 * kDay;

void write(const std::filesystem::path& folder, std::string_view name, std::string_view bytes) {
  portable::write_file_atomic((folder / name).string(), bytes);
}

}  // namespace

const std::vector<SampleTaxpayer>& sample_taxpayers() {
  static const std::vector<SampleTaxpayer> taxpayers{
      {"CACX7605101P8", "EMPRESA DE PRUEBA SA DE CV", "CACX7605101P8", "CACX760510MGTSHC04",
       "Matriz", "30001000000500000001"},
      {"KIJ0906199R1", "EMPRESA DE PRUEBA SA DE CV", "KIJ0906199R1 / VAAM130719H60",
       " / VAAM130719HDFLLR05", "Sucursal Centro", "30001000000500000002"},
  };
  return taxpayers;
}

std::string csd_certificate_file(std::string_view rfc) {
  return "CSD_" + std::string(rfc) + ".cer";
}

std::string csd_key_file(std::string_view rfc) { return "CSD_" + std::string(rfc) + ".key"; }

CertificateAndKey create_authority(std::time_t now) {
  auto key = drovanexis::generate_rsa_key("sandbox authority key");
  const CertificateRequest request{
      {{"CN", "AC UAT SANDBOX DROVANEXIS"},
       {"O", "SERVICIO DE ADMINISTRACION TRIBUTARIA - SANDBOX DE PRUEBAS"},
       {"OU", "SAT-IES Authority (sandbox)"},
       {"C", "MX"},
       {"ST", "CIUDAD DE MEXICO"}},
      "30001000000000000001",
      now - kDay,
      now + 10 * kYear,
      true};
  auto certificate = drovanexis::issue_certificate(request, key, nullptr, key,
                                                   std::string(kAuthorityCertificateFile));
  return {std::move(certificate), std::move(key)};
}

CertificateAndKey issue_csd(const CertificateAndKey& authority, const SampleTaxpayer& taxpayer,
                            std::time_t now) {
  auto key = drovanexis::generate_rsa_key(csd_key_file(taxpayer.rfc));
  const CertificateRequest request{
      drovanexis::csd_subject(taxpayer.name, taxpayer.unique_identifier, taxpayer.curp_field,
                              taxpayer.branch),
      taxpayer.serial_digits, now - kDay, now + 4 * kYear + kDay, false};
  auto certificate = drovanexis::issue_certificate(
      request, key, &authority.certificate, authority.key, csd_certificate_file(taxpayer.rfc));
  return {std::move(certificate), std::move(key)};
}

void write_authority(const std::filesystem::path& folder, const CertificateAndKey& authority) {
  write(folder, kAuthorityCertificateFile, authority.certificate.der());
  write(folder, kAuthorityKeyFile, authority.key.to_encrypted_der(kKeyPassword));
}

void write_csd(const std::filesystem::path& folder, std::string_view rfc,
               const CertificateAndKey& csd) {
  write(folder, csd_certificate_file(rfc), csd.certificate.der());
  write(folder, csd_key_file(rfc), csd.key.to_encrypted_der(kKeyPassword));
}

std::string sample_invoice_xml() {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<cfdi:Comprobante xmlns:cfdi="http://www.sat.gob.mx/cfd/3" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:schemaLocation="http://www.sat.gob.mx/cfd/3 http://www.sat.gob.mx/sitio_internet/cfd/3/cfdv33.xsd" Version="3.3" Serie="EXT" Folio="1001" Fecha="%cb_date" FormaPago="03" CondicionesDePago="Contado" SubTotal="1500.00" Moneda="MXN" Total="1740.00" TipoDeComprobante="I" MetodoPago="PUE" LugarExpedicion="53050">
  <cfdi:Emisor Rfc="CACX7605101P8" Nombre="Empresa de prueba SA de CV" RegimenFiscal="612"/>
  <cfdi:Receptor Rfc="VDN020304QX7" Nombre="Valdorin SA de CV" UsoCFDI="G03"/>
  <cfdi:Conceptos>
    <cfdi:Concepto ClaveProdServ="84111506" NoIdentificacion="SERV-01" Cantidad="1" ClaveUnidad="E48" Unidad="Servicio" Descripcion="Servicio de facturación electrónica, mes de diciembre" ValorUnitario="1000.00" Importe="1000.00">
      <cfdi:Impuestos>
        <cfdi:Traslados>
          <cfdi:Traslado Base="1000.00" Impuesto="002" TipoFactor="Tasa" TasaOCuota="0.160000" Importe="160.00"/>
        </cfdi:Traslados>
      </cfdi:Impuestos>
    </cfdi:Concepto>
    <cfdi:Concepto ClaveProdServ="84111506" NoIdentificacion="SEF100" Cantidad="2" ClaveUnidad="H87" Unidad="Pieza" Descripcion="Paquete de 100 timbres fiscales" ValorUnitario="250.00" Importe="500.00">
      <cfdi:Impuestos>
        <cfdi:Traslados>
          <cfdi:Traslado Base="500.00" Impuesto="002" TipoFactor="Tasa" TasaOCuota="0.160000" Importe="80.00"/>
        </cfdi:Traslados>
      </cfdi:Impuestos>
    </cfdi:Concepto>
  </cfdi:Conceptos>
  <cfdi:Impuestos TotalImpuestosTrasladados="240.00">
    <cfdi:Traslados>
      <cfdi:Traslado Impuesto="002" TipoFactor="Tasa" TasaOCuota="0.160000" Importe="240.00"/>
    </cfdi:Traslados>
  </cfdi:Impuestos>
</cfdi:Comprobante>
)";
}

void write_sample_xml(const std::filesystem::path& folder) {
  write(folder, kSampleXmlFile, sample_invoice_xml());
}

void write_provider_state(const std::filesystem::path& folder, const CertificateAndKey& authority,
                          std::time_t now) {
  namespace sandbox = drovanexis::sandbox;
  const sandbox::CertificateWithKey authority_record{authority.certificate.der(),
                                                     authority.key.to_encrypted_der(kKeyPassword),
                                                     std::string(kKeyPassword)};
  const sandbox::CertificateWithKey provider =
      sandbox::issue_provider_credentials(authority.certificate, authority.key, now, kKeyPassword);
  portable::write_file_atomic((folder / kProviderCertificateFile).string(),
                              provider.certificate_der);
  sandbox::initialise(folder / kStateFile, authority_record, provider,
                      std::chrono::system_clock::from_time_t(now));
}

std::vector<std::string> init_working_folder(const std::filesystem::path& folder, std::time_t now) {
  if (std::filesystem::exists(folder / kStateFile)) {
    throw std::runtime_error("the folder is prepared already (it holds " + std::string(kStateFile) +
                             "); remove the folder to start afresh");
  }
  std::filesystem::create_directories(folder);
  std::vector<std::string> written;
  const CertificateAndKey authority = create_authority(now);
  write_authority(folder, authority);
  written.emplace_back(kAuthorityCertificateFile);
  written.emplace_back(kAuthorityKeyFile);
  for (const SampleTaxpayer& taxpayer : sample_taxpayers()) {
    write_csd(folder, taxpayer.rfc, issue_csd(authority, taxpayer, now));
    written.push_back(csd_certificate_file(taxpayer.rfc));
    written.push_back(csd_key_file(taxpayer.rfc));
  }
  write_sample_xml(folder);
  written.emplace_back(kSampleXmlFile);
  // The state file last: its presence marks a folder as fully prepared.
  write_provider_state(folder, authority, now);
  written.emplace_back(kProviderCertificateFile);
  written.emplace_back(kStateFile);
  return written;
}

}  // namespace sandbox_tool
