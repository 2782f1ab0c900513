// The stamping provider's own rejections, judged from the facts that the
// processing step gathered about the certificate, the seal and the clock:
//   302 Sello mal formado o inválido
//   303 Sello no corresponde a emisor (certificate RFC ≠ Emisor Rfc)
//   304 Certificado revocado o caduco
//   305 La fecha de emisión no está dentro de la vigencia del CSD del Emisor
//   306 El certificado no es de tipo CSD
//   307 El CFDI contiene un timbre previo
//   308 Certificado no expedido por el SAT (here: by the sandbox's authority)
//   401 Fecha y hora de generación fuera de rango
// The matrix rule CFDI33102 (the digest of the original string equals the
// decrypted Sello) is the same fact as 302 and is reported once, as 302.
#include <algorithm>

#include "time/central_mexico.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);

void check_previous_stamp(const Element& comprobante, Failures& failures) {
  if (complement(comprobante, "tfd:TimbreFiscalDigital") == nullptr) return;
  const Element& timbre = *complement(comprobante, "tfd:TimbreFiscalDigital");
  add(failures, "307", child_path(child_path(kRoot, "cfdi:Complemento"), "tfd:TimbreFiscalDigital"),
      "",
      "El comprobante ya contiene un TimbreFiscalDigital (UUID " + quoted(attr(timbre, "UUID")) +
          "); no se puede timbrar de nuevo.");
}

void check_certificate(const Element& comprobante, const CertificateFacts& certificate,
                       Failures& failures) {
  const std::string no_certificado(attr(comprobante, "NoCertificado"));
  if (!certificate.issued_by_authority) {
    add(failures, "308", kRoot, "Certificado",
        "El certificado " + no_certificado +
            " no fue expedido por la autoridad certificadora del proveedor.");
  }
  if (!certificate.is_csd) {
    add(failures, "306", kRoot, "Certificado",
        "El certificado " + no_certificado +
            " no es un Certificado de Sello Digital (CSD); solo un CSD puede "
            "sellar un CFDI.");
  }
  if (certificate.revoked) {
    add(failures, "304", kRoot, "Certificado",
        "El certificado " + no_certificado + " está revocado.");
  }
  // Without an issuer RFC the structure rules have already refused the document.
  const Element* emisor = comprobante.child("cfdi:Emisor");
  if (emisor == nullptr || !has(*emisor, "Rfc")) return;
  const std::string_view emisor_rfc = attr(*emisor, "Rfc");
  if (certificate.rfc != emisor_rfc) {
    add(failures, "303", child_path(kRoot, "cfdi:Emisor"), "Rfc",
        "El certificado pertenece al RFC " + quoted(certificate.rfc) +
            " y el Emisor del comprobante es " + quoted(emisor_rfc) + ".");
  }
}

// 305 when Fecha lies outside the certificate's validity; 304 when the
// certificate had already expired at the moment of stamping although Fecha
// was inside it (a document sealed in time but sent too late).
void check_validity(const LocalDateTime& fecha, const ValidationContext& context,
                    Failures& failures) {
  const CertificateFacts& certificate = context.certificate;
  const std::string vigencia =
      format_date_time(certificate.not_before) + " a " + format_date_time(certificate.not_after);
  if (fecha < certificate.not_before || fecha > certificate.not_after) {
    add(failures, "305", kRoot, "Fecha",
        "La Fecha " + format_date_time(fecha) + " no está dentro de la vigencia del certificado (" +
            vigencia + ").");
  } else if (context.now > certificate.not_after) {
    add(failures, "304", kRoot, "Certificado",
        "El certificado caducó el " + format_date_time(certificate.not_after) +
            ", antes del timbrado (" + format_date_time(context.now) + ").");
  }
}

void check_window(const LocalDateTime& fecha, const ValidationContext& context,
                  Failures& failures) {
  const std::int64_t age = central_mexico::seconds_between(fecha, context.now);
  if (age > context.window.max_age_seconds) {
    add(failures, "401", kRoot, "Fecha",
        "La Fecha " + format_date_time(fecha) + " es anterior en más de " +
            std::to_string(context.window.max_age_seconds / 3600) +
            " horas al momento del timbrado (" + format_date_time(context.now) + ").");
  } else if (-age > context.window.max_ahead_seconds) {
    add(failures, "401", kRoot, "Fecha",
        "La Fecha " + format_date_time(fecha) + " es posterior en más de " +
            std::to_string(context.window.max_ahead_seconds / 60) +
            " minutos al momento del timbrado (" + format_date_time(context.now) + ").");
  }
}

}  // namespace

Failures provider_rules(const Element& comprobante, const ValidationContext& context) {
  Failures failures;
  check_previous_stamp(comprobante, failures);
  check_certificate(comprobante, context.certificate, failures);
  if (!context.seal_verified) {
    add(failures, "302", kRoot, "Sello",
        "El Sello no corresponde a la cadena original del comprobante con el certificado " +
            std::string(attr(comprobante, "NoCertificado")) + ".");
  }
  // A malformed Fecha is reported by CFDI33101; the date rules need a date.
  if (const auto fecha = parse_fecha(attr(comprobante, "Fecha"))) {
    check_validity(*fecha, context, failures);
    check_window(*fecha, context, failures);
  }
  // Reported in the order of their codes, as a provider lists them.
  std::stable_sort(failures.begin(), failures.end(),
                   [](const Failure& a, const Failure& b) { return a.code < b.code; });
  return failures;
}

}  // namespace drovanexis::rules
