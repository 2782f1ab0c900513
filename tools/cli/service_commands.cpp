#include "tools/cli/service_commands.h"

#include <stdlib.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "cbb/cbb_generator.h"
#include "crypto/certificate.h"
#include "crypto/crypto_error.h"
#include "issue/output_guard.h"
#include "issue/provider.h"
#include "portable/cp1252.h"
#include "sandbox/provider_identity.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/state_file.h"
#include "services/cancellation.h"
#include "time/central_mexico.h"
#include "tools/cli/document_file.h"
#include "tools/cli/output.h"
#include "tools/pdf/verification_query.h"
#include "xml/xml_reader.h"

namespace cli {

namespace {

namespace fs = std::filesystem;
using drovanexis::CfdiDescription;

// A private folder for the result and log files the services write; removed
// with everything in it when the command ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "drovanexis-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot create a temporary folder in " +
                               fs::temp_directory_path().string());
    }
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string file(const char* name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

std::string user_of(const ParsedCommand& command) {
  return command.value("user").value_or(std::string(drovanexis::sandbox::kDemoAccount));
}

std::string attribute(const drovanexis::Element* element, std::string_view name) {
  const std::string* value = element ? element->attribute(name) : nullptr;
  return value ? *value : std::string();
}

// A document read for a service; a text that is not an acceptable XML
// document is reported with the file's name.
drovanexis::Element read_document(const std::string& file) {
  try {
    return read_xml_file(file);
  } catch (const drovanexis::XmlParseError& error) {
    throw std::runtime_error(describe_parse_error(file, error));
  }
}

// Refuses, before any work, a result file that would replace the provider's
// state, the log, one of the command's inputs or something not a regular
// file.
void refuse_unsafe_output(const std::string& output, const std::vector<fs::path>& inputs) {
  try {
    drovanexis::OutputGuard(inputs).check(output, output);
  } catch (const drovanexis::UnsafeOutput& unsafe) {
    throw UnreadableFile(unsafe.what());
  }
}

std::vector<fs::path> operand_files(const ParsedCommand& command) {
  return {command.operands.begin(), command.operands.end()};
}

// The CFDI a service acts on: read from a stamped FILE, then any of
// --uuid/--issuer/--receiver/--total given on the command line.
CfdiDescription describe_cfdi(const ParsedCommand& command) {
  CfdiDescription cfdi;
  if (!command.operands.empty()) {
    const std::string& file = command.operands.front();
    const auto document = read_document(file);
    const auto* stamp = find_stamp(document);
    if (stamp == nullptr) throw UnreadableFile(file + ": the document carries no stamp (UUID)");
    cfdi.uuid = attribute(stamp, "UUID");
    cfdi.issuer_rfc = attribute(document.child("cfdi:Emisor"), "Rfc");
    cfdi.receiver_rfc = attribute(document.child("cfdi:Receptor"), "Rfc");
    cfdi.total = attribute(&document, "Total");
  }
  if (auto v = command.value("uuid")) cfdi.uuid = *v;
  if (auto v = command.value("issuer")) cfdi.issuer_rfc = *v;
  if (auto v = command.value("receiver")) cfdi.receiver_rfc = *v;
  if (auto v = command.value("total")) cfdi.total = *v;
  if (cfdi.uuid.empty() || cfdi.issuer_rfc.empty()) {
    throw UnreadableFile("name the CFDI with a stamped FILE or with --uuid and --issuer");
  }
  return cfdi;
}

// The Motivo and replacing UUID of a cancellation, checked as far as the
// command line alone can tell; the provider judges the replacing document.
std::pair<std::string, std::string> cancellation_reason(const ParsedCommand& command) {
  const std::string motivo = *command.value("motivo");
  const std::string replacement = command.value("sustituto").value_or("");
  if (motivo != "01" && motivo != "02" && motivo != "03" && motivo != "04") {
    throw UnreadableFile("--motivo \"" + motivo +
                         "\" is not a Motivo: use 01 (replaced by --sustituto UUID), 02, 03 or 04");
  }
  if (motivo == "01" && replacement.empty()) {
    throw UnreadableFile("--motivo 01 needs --sustituto UUID, the CFDI that replaces this one");
  }
  if (motivo != "01" && command.has("sustituto")) {
    throw UnreadableFile("--sustituto goes only with --motivo 01, not with --motivo " + motivo);
  }
  return {motivo, replacement};
}

// The service's key=value answer (Windows-1252, CR LF) as UTF-8 pairs.
std::vector<std::pair<std::string, std::string>> read_answer(const std::string& file) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::istringstream lines(portable::cp1252_to_utf8(read_whole_file(file)));
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    pairs.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return pairs;
}

void print_answer(const ParsedCommand& command, std::ostream& out, int result,
                  const std::vector<std::pair<std::string, std::string>>& answer,
                  const std::vector<std::pair<std::string, std::string>>& extra = {}) {
  if (command.json()) {
    JsonObject object;
    object.number("result", result);
    for (const auto& [key, value] : answer) object.text(key, value);
    for (const auto& [key, value] : extra) object.text(key, value);
    out << object.str() << "\n";
    return;
  }
  out << "result: " << result << "\n";
  for (const auto& [key, value] : answer) out << shown(key) << ": " << shown(value) << "\n";
  // The acknowledgement is an XML text of many lines, shown as it is.
  for (const auto& [key, value] : extra) {
    out << key << ": " << (key == "acuse" ? value : shown(value)) << "\n";
  }
}

template <typename Run>
int guarded(const char* tool, std::ostream& err, Run run) {
  try {
    return run();
  } catch (const UnreadableFile& error) {
    err << tool << ": " << shown(error.what()) << "\n";
    return kExitUsage;
  } catch (const drovanexis::CryptoError& error) {
    err << tool << ": " << shown(error.what()) << "\n";
    return kExitUsage;
  } catch (const std::exception& error) {
    err << tool << ": " << shown(error.what()) << "\n";
    return kExitNotClean;
  }
}

}  // namespace

int run_status(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return guarded("drovanexis status", err, [&] {
    const drovanexis::services::StatusCall call{user_of(command), describe_cfdi(command)};
    ScratchFolder scratch;
    const int result = drovanexis::services::query_status(call, scratch.file("status.ini"),
                                                          scratch.file("status.log"));
    print_answer(command, out, result, read_answer(scratch.file("status.ini")));
    return result >= drovanexis::kPreviouslyCancelled ? kExitOk : kExitNotClean;
  });
}

int run_cancel(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return guarded("drovanexis cancel", err, [&] {
    auto [motivo, replacement] = cancellation_reason(command);
    // Read first, so that a missing file is named before the provider runs.
    drovanexis::Certificate::load(*command.value("cer"));
    const drovanexis::services::CancellationCall call{
        user_of(command),      describe_cfdi(command),     *command.value("cer"),
        *command.value("key"), *command.value("password"), std::move(motivo),
        std::move(replacement)};
    ScratchFolder scratch;
    const int result = drovanexis::services::cancel_cfdi(call, scratch.file("cancel.ini"),
                                                         scratch.file("cancel.log"));
    const auto answer = read_answer(scratch.file("cancel.ini"));
    print_answer(command, out, result, answer);
    if (result < drovanexis::kCancelledDirectly) {
      // Why the request was refused, where a script's error stream sees it.
      for (const auto& [key, value] : answer) {
        if (key == "Descripcion" || key == "Error") {
          err << "drovanexis cancel: not cancelled: " << shown(value) << "\n";
        }
      }
    }
    return result >= drovanexis::kCancelledDirectly ? kExitOk : kExitNotClean;
  });
}

int run_ack(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return guarded("drovanexis ack", err, [&] {
    if (const auto output = command.value("out")) {
      refuse_unsafe_output(*output, operand_files(command));
    }
    const CfdiDescription cfdi = describe_cfdi(command);
    const drovanexis::services::AcknowledgementCall call{user_of(command), cfdi.issuer_rfc,
                                                         cfdi.uuid};
    ScratchFolder scratch;
    const std::string acuse = command.value("out").value_or(scratch.file("acuse.xml"));
    const int result = drovanexis::services::retrieve_acknowledgement(
        call, scratch.file("ack.ini"), acuse, scratch.file("ack.log"));
    std::vector<std::pair<std::string, std::string>> extra;
    if (result == drovanexis::kAcknowledgementObtained) {
      if (command.has("out")) {
        extra.emplace_back("file", acuse);
      } else {
        extra.emplace_back("acuse", read_whole_file(acuse));
      }
    }
    print_answer(command, out, result, read_answer(scratch.file("ack.ini")), extra);
    return result == drovanexis::kAcknowledgementObtained ? kExitOk : kExitNotClean;
  });
}

int run_balance(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return guarded("drovanexis balance", err, [&] {
    auto provider =
        drovanexis::sandbox::SandboxProvider::open(drovanexis::sandbox::default_state_path());
    const std::string user = user_of(command);
    try {
      const auto left = provider.balance(user, command.value("secret").value_or(""));
      if (command.json()) {
        out << JsonObject().text("user", user).number("balance", left).str() << "\n";
      } else {
        out << shown(user) << ": " << left << " stamps left\n";
      }
      return kExitOk;
    } catch (const drovanexis::ProviderRefusal& refusal) {
      const auto& failure = refusal.failures().front();
      err << "drovanexis balance: " << failure.code << ": " << shown(failure.explanation) << "\n";
      return kExitNotClean;
    }
  });
}

int run_cer64(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return guarded("drovanexis cer64", err, [&] {
    const auto certificate = drovanexis::Certificate::load(command.operands.front());
    const auto when = [](std::time_t t) {
      return drovanexis::central_mexico::format(std::chrono::system_clock::from_time_t(t));
    };
    if (command.json()) {
      out << JsonObject()
                 .text("file", command.operands.front())
                 .text("number", certificate.number())
                 .text("rfc", certificate.rfc())
                 .text("holder", certificate.holder_name())
                 .text("valid_from", when(certificate.valid_from()))
                 .text("valid_until", when(certificate.valid_until()))
                 .boolean("csd", certificate.is_csd())
                 .text("base64", certificate.base64())
                 .str()
          << "\n";
    } else {
      out << certificate.base64() << "\n";
    }
    return kExitOk;
  });
}

int run_qr(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return guarded("drovanexis qr", err, [&] {
    drovanexis::cbb::CbbRequest request;
    request.bitmap_file = *command.value("out");
    refuse_unsafe_output(request.bitmap_file, operand_files(command));
    if (const auto text = command.value("text")) {
      request.text = *text;
    } else if (!command.operands.empty()) {
      // The verification query of a stamped CFDI: UUID, both RFCs, total and
      // the last eight characters of the seal.
      const auto document = read_document(command.operands.front());
      if (find_stamp(document) == nullptr) {
        throw UnreadableFile(command.operands.front() + ": the document carries no stamp (UUID)");
      }
      request.text = pdf::verification_query(document);
      request.mode = 1;
    } else {
      throw UnreadableFile("give a stamped FILE or --text TEXT");
    }
    ScratchFolder scratch;
    request.log_file = scratch.file("qr.log");
    const int result = drovanexis::cbb::generate_cbb(request);
    if (result != drovanexis::cbb::kCbbGenerated) {
      err << "drovanexis qr: " << shown(request.bitmap_file) << ": not written (result " << result
          << "):\n"
          << portable::cp1252_to_utf8(read_whole_file(request.log_file));
      return result == drovanexis::cbb::kCbbBadArgument ? kExitUsage : kExitNotClean;
    }
    const std::string content = drovanexis::cbb::cbb_content(request.text, request.mode);
    if (command.json()) {
      out << JsonObject().text("file", request.bitmap_file).text("content", content).str() << "\n";
    } else {
      out << shown(request.bitmap_file) << ": " << shown(content) << "\n";
    }
    return kExitOk;
  });
}

}  // namespace cli
