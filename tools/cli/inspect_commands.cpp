#include "tools/cli/inspect_commands.h"

#include <ostream>
#include <vector>

#include "cadena/cadena.h"
#include "crypto/base64.h"
#include "crypto/certificate.h"
#include "crypto/seal.h"
#include "crypto/signature.h"
#include "document/cfdi_version.h"
#include "sandbox/provider_store.h"
#include "sandbox/stamp.h"
#include "sandbox/state_file.h"
#include "tools/cli/document_file.h"
#include "tools/cli/json_spool.h"
#include "tools/cli/output.h"
#include "validate/validation.h"
#include "xml/xml_reader.h"

namespace cli {

namespace {

using drovanexis::Certificate;
using drovanexis::Element;
using drovanexis::Failure;

// Central Mexico is six hours behind UTC; certificate validity is compared
// on that clock, as the provider does.
drovanexis::LocalDateTime mexico_local(std::time_t utc_seconds) {
  return drovanexis::LocalDateTime{static_cast<std::int64_t>(utc_seconds) - 6 * 3600};
}

std::optional<Certificate> document_certificate(const Element& comprobante) {
  const std::string* certificado = comprobante.attribute("Certificado");
  if (certificado == nullptr) return std::nullopt;
  const auto der = drovanexis::base64_decode(*certificado);
  if (!der) return std::nullopt;
  try {
    return Certificate::from_bytes(*der, "Certificado");
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// The context of a document judged where it comes from, not by our sandbox:
// "now" is its own Fecha, so that the stamping window never fails a document
// stamped long ago, and any authority is accepted, since a CSD from the SAT
// is not issued by our test authority. The certificate's kind, RFC, validity
// at Fecha and the seal are still checked.
drovanexis::ValidationContext context_of(const Element& comprobante) {
  drovanexis::ValidationContext context;
  if (const auto certificate = document_certificate(comprobante)) {
    context.certificate.rfc = certificate->rfc();
    context.certificate.is_csd = certificate->is_csd();
    context.certificate.issued_by_authority = true;
    context.certificate.not_before = mexico_local(certificate->valid_from());
    context.certificate.not_after = mexico_local(certificate->valid_until());
  }
  context.seal_verified = drovanexis::seal_verifies(comprobante);
  const std::string* fecha = comprobante.attribute("Fecha");
  if (const auto parsed = fecha ? drovanexis::parse_date_time(*fecha) : std::nullopt) {
    context.now = *parsed;
  } else {
    context.now = mexico_local(std::time(nullptr));
  }
  return context;
}

std::string failure_json(const std::string& file, const Failure& failure) {
  return JsonObject()
      .text("file", file)
      .text("code", failure.code)
      .text("node", failure.node)
      .text("attribute", failure.attribute)
      .text("message", failure.explanation)
      .str();
}

void print_failure(std::ostream& out, const std::string& file, const Failure& failure) {
  std::string line = file + ": " + failure.code + " " + failure.node;
  if (!failure.attribute.empty()) line += "@" + failure.attribute;
  out << shown(line + ": " + failure.explanation) << "\n";
}

struct Judgement {
  std::vector<Failure> failures;
  std::vector<std::string> warnings;  // what the judgement leaves out; not failures
};

// What a clean result does not cover: the complements the document carries
// whose business rules are not checked yet (only their schemas were).
std::vector<std::string> warnings_for(const Element& comprobante) {
  std::vector<std::string> warnings;
  for (const std::string& name : drovanexis::unchecked_complements(comprobante)) {
    warnings.push_back("the business rules of the " + name +
                       " complement are not checked yet; only its schema was");
  }
  return warnings;
}

// The findings for one file; throws UnreadableFile.
Judgement judge_file(const std::string& file) {
  Element comprobante("cfdi:Comprobante");
  try {
    comprobante = read_xml_file(file);
  } catch (const drovanexis::XmlParseError& error) {
    return {{Failure{"301", "", "", describe_parse_error(file, error)}}, {}};
  }
  // The stamp is check's business: judged here is the document as issued.
  drovanexis::sandbox::remove_stamp(comprobante);
  Judgement judgement;
  judgement.failures = drovanexis::validate_document(comprobante, context_of(comprobante));
  judgement.warnings = warnings_for(comprobante);
  return judgement;
}

}  // namespace

int run_validate(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  int exit_code = kExitOk;
  JsonSpool json_files;
  for (const std::string& file : command.operands) {
    Judgement judgement;
    try {
      judgement = judge_file(file);
    } catch (const UnreadableFile& error) {
      err << "drovanexis validate: " << shown(error.what()) << "\n";
      exit_code = kExitUsage;
      if (command.json()) {
        json_files.add(JsonObject().text("file", file).text("error", error.what()).str());
      }
      continue;
    }
    const std::vector<Failure>& failures = judgement.failures;
    if (!failures.empty() && exit_code == kExitOk) exit_code = kExitNotClean;
    if (command.json()) {
      std::vector<std::string> items;
      for (const auto& failure : failures) items.push_back(failure_json(file, failure));
      std::vector<std::string> warnings;
      for (const auto& warning : judgement.warnings) {
        warnings.push_back(JsonObject().text("message", warning).str());
      }
      JsonObject entry;
      entry.text("file", file)
          .boolean("valid", failures.empty())
          .raw("findings", json_array(items));
      if (!warnings.empty()) entry.raw("warnings", json_array(warnings));
      json_files.add(entry.str());
    } else {
      if (failures.empty()) out << shown(file) << ": valid\n";
      for (const auto& failure : failures) print_failure(out, file, failure);
      for (const auto& warning : judgement.warnings)
        out << shown(file + ": warning: " + warning) << "\n";
    }
  }
  if (command.json()) {
    json_files.write_array(out);
    out << "\n";
  }
  return exit_code;
}

int run_cadena(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  const std::string& file = command.operands.front();
  Element comprobante("cfdi:Comprobante");
  try {
    comprobante = read_xml_file(file);
  } catch (const UnreadableFile& error) {
    err << "drovanexis cadena: " << shown(error.what()) << "\n";
    return kExitUsage;
  } catch (const std::exception& error) {
    err << "drovanexis cadena: " << shown(describe_parse_error(file, error)) << "\n";
    return kExitNotClean;
  }
  std::string cadena;
  try {
    if (command.has("tfd")) {
      const Element* stamp = find_stamp(comprobante);
      if (stamp == nullptr) {
        err << "drovanexis cadena: " << shown(file) << ": the document carries no stamp "
            << "(tfd:TimbreFiscalDigital)\n";
        return kExitNotClean;
      }
      cadena = drovanexis::cadena_tfd11(*stamp);
    } else {
      cadena = drovanexis::cadena_cfdi(comprobante);
    }
  } catch (const std::exception& error) {
    err << "drovanexis cadena: " << shown(file + ": " + error.what()) << "\n";
    return kExitNotClean;
  }
  if (command.json()) {
    out << JsonObject().text("file", file).text("cadena", cadena).str() << "\n";
  } else {
    out << cadena;
  }
  return kExitOk;
}

namespace {

struct SealCheck {
  std::string name;
  bool ok = false;
  std::string detail;
};

// The provider certificates a stamp may be checked with: the one given, or
// the one the sandbox's state file holds.
std::vector<Certificate> provider_certificates(const ParsedCommand& command) {
  std::vector<Certificate> certificates;
  if (const auto file = command.value("pac-cer")) {
    certificates.push_back(Certificate::load(*file));
    return certificates;
  }
  try {
    const auto state = drovanexis::sandbox::default_state_path();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(state, ec)) return certificates;
    auto db = drovanexis::sandbox::open_existing_state(state);
    if (const auto provider = drovanexis::sandbox::load_provider(*db)) {
      certificates.push_back(
          Certificate::from_bytes(provider->credentials.certificate_der, state.string()));
    }
  } catch (const std::exception&) {
    // Without a readable state file there is simply no known provider.
  }
  return certificates;
}

std::vector<SealCheck> check_document(const Element& comprobante,
                                      const std::vector<Certificate>& providers) {
  std::vector<SealCheck> checks;
  const bool sello_ok = drovanexis::seal_verifies(comprobante);
  checks.push_back({"Sello", sello_ok,
                    sello_ok ? "verifies with the certificate in Certificado"
                             : "does not verify over the original string with Certificado"});
  const Element* stamp = find_stamp(comprobante);
  if (stamp == nullptr) return checks;
  const std::string* sello = comprobante.attribute("Sello");
  const std::string* sello_cfd = stamp->attribute("SelloCFD");
  const bool same = sello && sello_cfd && *sello == *sello_cfd;
  checks.push_back({"SelloCFD", same, same ? "equals Sello" : "differs from the document's Sello"});
  const std::string* number = stamp->attribute("NoCertificadoSAT");
  const std::string* sello_sat = stamp->attribute("SelloSAT");
  const Certificate* provider = nullptr;
  for (const auto& certificate : providers) {
    if (number && certificate.number() == *number) provider = &certificate;
  }
  if (provider == nullptr) {
    checks.push_back({"SelloSAT", false,
                      "no provider certificate with NoCertificadoSAT " +
                          (number ? *number : std::string("(absent)")) +
                          " is known (give it with --pac-cer)"});
    return checks;
  }
  const bool sat_ok = sello_sat && drovanexis::verify_sha256_base64(
                                       *provider, drovanexis::cadena_tfd11(*stamp), *sello_sat);
  checks.push_back({"SelloSAT", sat_ok,
                    sat_ok
                        ? "verifies with the provider certificate " + provider->number()
                        : "does not verify with the provider certificate " + provider->number()});
  return checks;
}

}  // namespace

int run_check(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  std::vector<Certificate> providers;
  try {
    providers = provider_certificates(command);
  } catch (const std::exception& error) {
    err << "drovanexis check: " << shown(error.what()) << "\n";
    return kExitUsage;
  }
  int exit_code = kExitOk;
  JsonSpool json_files;
  for (const std::string& file : command.operands) {
    std::vector<SealCheck> checks;
    try {
      checks = check_document(read_xml_file(file), providers);
    } catch (const UnreadableFile& error) {
      err << "drovanexis check: " << shown(error.what()) << "\n";
      exit_code = kExitUsage;
      continue;
    } catch (const std::exception& error) {
      checks.push_back({"XML", false, describe_parse_error(file, error)});
    }
    std::vector<std::string> items;
    for (const auto& check : checks) {
      if (!check.ok && exit_code == kExitOk) exit_code = kExitNotClean;
      if (command.json()) {
        items.push_back(JsonObject()
                            .text("check", check.name)
                            .boolean("ok", check.ok)
                            .text("detail", check.detail)
                            .str());
      } else {
        out << shown(file + ": " + check.name + " " + (check.ok ? "OK" : "FAIL") + ": " +
                     check.detail)
            << "\n";
      }
    }
    if (command.json()) {
      json_files.add(JsonObject().text("file", file).raw("checks", json_array(items)).str());
    }
  }
  if (command.json()) {
    json_files.write_array(out);
    out << "\n";
  }
  return exit_code;
}

}  // namespace cli
