// Cancellation, status and acknowledgement against a provider made up by the
// test: the services reach the provider only through its interface, hand it
// what the caller gave (and the CSD they read), and write its answers as they
// come. No state file exists here, so nothing can come from elsewhere.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

#include "crypto/certificate_issuer.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"
#include "services/cancellation.h"
#include "tests/support/test_folder.h"

namespace drovanexis::services {
namespace {

using std::chrono::system_clock;

constexpr const char* kUuid = "11111111-2222-3333-4444-555555555555";
constexpr const char* kPassword = "clave123";

// What the fake heard, kept by the test across the provider's lifetime.
struct Heard {
  std::vector<std::string> calls;
  std::string user;
  CfdiDescription cfdi;
  system_clock::time_point now;
  bool public_query = false;
  std::string certificate_der;
  std::string certificate_source;
  std::string motivo;
  std::string folio_sustitucion;
  bool delivery_failed = false;
};

// Answers with fixed results and reports a step and an error of its own;
// every operation other than these four fails the test.
class FakeProvider final : public Provider {
 public:
  explicit FakeProvider(Heard& heard) : heard_(heard) {}

  CancellationAnswer cancel_answer{kCancellationInProcess,      "201",
                                   "Solicitud recibida",        "Vigente",
                                   "Cancelable con aceptación", "En proceso"};
  StatusAnswer status_answer{
      kInForceNotCancellable, "S - obtenido", "Vigente", "No cancelable", "", "200"};
  std::optional<Acknowledgement> acknowledgement_answer;
  std::optional<CfdiDescription> recorded;
  bool refuse_account = false;

  CancellationAnswer cancel(const CancellationRequest& request) override {
    hear("cancel", request.user, request.cfdi, request.now, request.report);
    const IssuerCertificate certificate = request.issuer_certificate();
    heard_.certificate_der = certificate.der;
    heard_.certificate_source = certificate.source;
    heard_.motivo = request.motivo;
    heard_.folio_sustitucion = request.folio_sustitucion;
    request.report.report_error("203: regla de prueba");
    try {
      request.deliver(cancel_answer);
    } catch (...) {
      heard_.delivery_failed = true;
      throw;
    }
    return cancel_answer;
  }
  StatusAnswer status(const StatusRequest& request) override {
    hear("status", request.user, request.cfdi, request.now, request.report);
    heard_.public_query = request.public_query;
    return status_answer;
  }
  std::optional<Acknowledgement> acknowledgement(const AcknowledgementRequest& request) override {
    hear("acknowledgement", request.user, {request.uuid, request.issuer_rfc, "", ""}, {},
         request.report);
    return acknowledgement_answer;
  }
  std::optional<CfdiDescription> recorded_cfdi(const std::string& uuid) override {
    heard_.calls.push_back("recorded_cfdi " + uuid);
    return recorded;
  }

  StampResult stamp(const StampRequest&) override { throw unexpected(); }
  std::int64_t balance(const std::string&, const std::string&) override { throw unexpected(); }
  std::int64_t stamps_used(const std::string&) override { throw unexpected(); }
  std::vector<Failure> check_rules(Element, std::time_t) override { throw unexpected(); }
  bool stamp_seal_verifies(const Element&) override { throw unexpected(); }
  std::string request_download(const DownloadRequest&, std::time_t) override { throw unexpected(); }
  DownloadVerification verify_download(const std::string&, const std::string&) override {
    throw unexpected();
  }
  DownloadPackage download_package(const std::string&, const std::string&) override {
    throw unexpected();
  }
  std::unique_ptr<StampBatch> open_batch(const std::string&, const std::string&,
                                         XmlSerializer) override {
    throw unexpected();
  }

 private:
  void hear(const std::string& call, const std::string& user, const CfdiDescription& cfdi,
            system_clock::time_point now, const ServiceReport& report) {
    heard_.calls.push_back(call);
    heard_.user = user;
    heard_.cfdi = cfdi;
    heard_.now = now;
    report.report_step("paso del proveedor falso");
    if (refuse_account) throw std::runtime_error("cuenta rechazada por el proveedor falso");
    report.report_accepted();
  }
  static std::logic_error unexpected() {
    return std::logic_error("the service called an operation it does not need");
  }

  Heard& heard_;
};

std::string file_text(const std::string& name) {
  return portable::cp1252_to_utf8(portable::read_file(name).value_or("<missing>"));
}

class FakeProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const PrivateKey key = generate_rsa_key("clave de prueba", 1024);
    const std::time_t now = std::time(nullptr);
    const Certificate certificate =
        issue_certificate({csd_subject("EMISOR DE PRUEBA", "CACX7605101P8", "", "Sucursal"),
                           "30001000000500000099", now - 3600, now + 3600},
                          key, nullptr, key, "CSD de prueba");
    certificate_der_ = certificate.der();
    portable::write_file_atomic("csd.cer", certificate_der_);
    portable::write_file_atomic("csd.key", key.to_encrypted_der(kPassword));
  }

  // Each call opens the same fake, as the library opens its one provider.
  ProviderOpener opener() {
    return [this] {
      auto provider = std::make_unique<FakeProvider>(heard_);
      provider->cancel_answer = fake_.cancel_answer;
      provider->status_answer = fake_.status_answer;
      provider->acknowledgement_answer = fake_.acknowledgement_answer;
      provider->recorded = fake_.recorded;
      provider->refuse_account = fake_.refuse_account;
      return std::unique_ptr<Provider>(std::move(provider));
    };
  }

  CancellationCall cancellation(const std::string& password = kPassword) const {
    return {"usuario",
            {kUuid, "CACX7605101P8", "VDN020304QX7", "9000.00"},
            "csd.cer",
            "csd.key",
            password};
  }

  test_support::TestFolder folder_;
  std::string certificate_der_;
  Heard heard_;
  FakeProvider fake_{heard_};
  const system_clock::time_point now_ = system_clock::from_time_t(1'700'000'000);
};

TEST_F(FakeProviderTest, CancellationHandsOverTheRequestAndWritesTheAnswer) {
  EXPECT_EQ(cancel_cfdi(cancellation(), "C.INI", "C.LOG", now_, opener()), kCancellationInProcess);
  EXPECT_EQ(heard_.calls, std::vector<std::string>{"cancel"});
  EXPECT_EQ(heard_.user, "usuario");
  EXPECT_EQ(heard_.cfdi.uuid, kUuid);
  EXPECT_EQ(heard_.cfdi.total, "9000.00");
  EXPECT_EQ(heard_.now, now_);
  EXPECT_EQ(heard_.certificate_der, certificate_der_);
  EXPECT_EQ(heard_.certificate_source, "csd.cer");
  // 1700000000 is 2023-11-14T22:13:20 UTC, six hours ahead of central Mexico.
  EXPECT_EQ(file_text("C.INI"),
            "UUID=11111111-2222-3333-4444-555555555555\r\nRfcEmisor=CACX7605101P8\r\n"
            "RfcReceptor=VDN020304QX7\r\nTotal=9000.00\r\nMotivo=02\r\nEstado=Vigente\r\n"
            "EsCancelable=Cancelable con aceptación\r\nEstatusCancelacion=En proceso\r\n"
            "CodigoEstatus=201\r\nDescripcion=Solicitud recibida\r\n"
            "Fecha=2023-11-14T16:13:20\r\nResultado=1\r\n");
  const std::string log = file_text("C.LOG");
  const auto at = [&](const char* text) { return log.find(text); };
  EXPECT_LT(at("[OK] paso del proveedor falso"), at("[OK] Certificado leído"));
  EXPECT_LT(at("[OK] Llave privada abierta"), at("[ERROR] 203: regla de prueba"));
  EXPECT_LT(at("[ERROR] 203: regla de prueba"), at("CodigoEstatus: 201 - Solicitud"));
  EXPECT_LT(at("CodigoEstatus: 201"), at("[OK] Resultado escrito en C.INI"));
  EXPECT_NE(at("Resultado: 1 - CFDI cancelable con"), std::string::npos) << log;
  EXPECT_EQ(heard_.motivo, "02") << "the default Motivo";
  EXPECT_EQ(heard_.folio_sustitucion, "");

  CancellationCall replaced = cancellation();
  replaced.motivo = "01";
  replaced.folio_sustitucion = "AAAAAAAA-2222-3333-4444-555555555555";
  cancel_cfdi(replaced, "C.INI", "C.LOG", now_, opener());
  EXPECT_EQ(heard_.motivo, "01");
  EXPECT_EQ(heard_.folio_sustitucion, "AAAAAAAA-2222-3333-4444-555555555555");
  EXPECT_NE(file_text("C.INI").find(
                "Motivo=01\r\nFolioSustitucion=AAAAAAAA-2222-3333-4444-555555555555\r\n"),
            std::string::npos)
      << file_text("C.INI");
}

// The answer the provider gives for parts it did not reach stays out of the
// result file; an unwritable result file makes the provider undo its work.
TEST_F(FakeProviderTest, CancellationAnswerAndDeliveryFailure) {
  fake_.cancel_answer = {kCancellationNotFound, "205", "UUID no existe", "No Encontrado", {}, {}};
  EXPECT_EQ(cancel_cfdi(cancellation(), "C.INI", "C.LOG", now_, opener()), kCancellationNotFound);
  const std::string ini = file_text("C.INI");
  EXPECT_NE(ini.find("Estado=No Encontrado\r\nCodigoEstatus=205\r\n"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("EsCancelable"), std::string::npos) << ini;
  EXPECT_NE(file_text("C.LOG").find("EsCancelable: (vacío)"), std::string::npos);

  EXPECT_EQ(cancel_cfdi(cancellation(), "no-such-folder/C.INI", "C.LOG", now_, opener()),
            kCancellationInternalError);
  EXPECT_TRUE(heard_.delivery_failed);
  EXPECT_NE(file_text("C.LOG").find("[ERROR]"), std::string::npos);
  EXPECT_EQ(file_text("C.LOG").find("Resultado escrito"), std::string::npos);
}

TEST_F(FakeProviderTest, UnusableCsdStopsTheRequestBeforeAnyAnswer) {
  EXPECT_EQ(cancel_cfdi(cancellation("otra"), "C.INI", "C.LOG", now_, opener()),
            kCancellationInternalError);
  EXPECT_FALSE(heard_.delivery_failed);
  EXPECT_TRUE(heard_.certificate_der.empty()) << "the provider never got the certificate";
  EXPECT_NE(file_text("C.LOG").find("[ERROR] la contraseña no abre"), std::string::npos)
      << file_text("C.LOG");
  const std::string ini = file_text("C.INI");
  EXPECT_NE(ini.find("Resultado=-3\r\nError=la contraseña no abre la llave privada (csd.key)"),
            std::string::npos)
      << ini;
  EXPECT_EQ(ini.find("CodigoEstatus"), std::string::npos);
}

// By UUID alone, the receiver and total come from the provider's record, or
// stay empty with a total of "0" when it has none.
TEST_F(FakeProviderTest, CancellationByUuidCompletesTheRequestFromTheProvider) {
  CancellationCall call = cancellation();
  call.cfdi.receiver_rfc.clear();
  call.cfdi.total.clear();
  fake_.recorded = CfdiDescription{kUuid, "CACX7605101P8", "XAXX010101000", "15.50"};
  cancel_uuid(call, "C.INI", "C.LOG", now_, opener());
  EXPECT_EQ(heard_.calls,
            (std::vector<std::string>{"recorded_cfdi " + std::string(kUuid), "cancel"}));
  EXPECT_EQ(heard_.cfdi.receiver_rfc, "XAXX010101000");
  EXPECT_EQ(heard_.cfdi.total, "15.50");

  fake_.recorded.reset();
  cancel_uuid(call, "C.INI", "C.LOG", now_, opener());
  EXPECT_EQ(heard_.cfdi.receiver_rfc, "");
  EXPECT_EQ(heard_.cfdi.total, "0");
}

TEST_F(FakeProviderTest, StatusWritesTheProvidersAnswer) {
  const StatusCall call{"", {kUuid, "CACX7605101P8", "VDN020304QX7", "9000.00"}, true};
  EXPECT_EQ(query_status(call, "S.INI", "S.LOG", now_, opener()), kInForceNotCancellable);
  EXPECT_EQ(heard_.calls, std::vector<std::string>{"status"});
  EXPECT_TRUE(heard_.public_query);
  EXPECT_EQ(heard_.now, now_);
  EXPECT_EQ(file_text("S.INI"),
            "UUID=11111111-2222-3333-4444-555555555555\r\nRfcEmisor=CACX7605101P8\r\n"
            "RfcReceptor=VDN020304QX7\r\nTotal=9000.00\r\nCodigoEstatus=S - obtenido\r\n"
            "Estado=Vigente\r\nEsCancelable=No cancelable\r\nEstatusCancelacion=\r\n"
            "ValidacionEFOS=200\r\nFecha=2023-11-14T16:13:20\r\nResultado=1\r\n");
  const std::string log = file_text("S.LOG");
  EXPECT_LT(log.find("[OK] paso del proveedor falso"), log.find("Respuesta:"));
}

// The provider's signed XML is written as it comes; the answer names the
// document only once the provider accepted the account.
TEST_F(FakeProviderTest, AcknowledgementIsWrittenByThePipeline) {
  const AcknowledgementCall call{"usuario", "CACX7605101P8", kUuid};
  fake_.acknowledgement_answer =
      Acknowledgement{"201", "2023-11-14T16:13:20.1234567", "<Acuse firmado=\"sí\"/>\n"};
  EXPECT_EQ(retrieve_acknowledgement(call, "A.res", "A.xml", "A.log", now_, opener()),
            kAcknowledgementObtained);
  EXPECT_EQ(portable::read_file("A.xml").value_or(""), "<Acuse firmado=\"sí\"/>\n");
  EXPECT_EQ(file_text("A.res"),
            "UUID=11111111-2222-3333-4444-555555555555\r\nRfcEmisor=CACX7605101P8\r\n"
            "EstatusUUID=201\r\nFecha=2023-11-14T16:13:20.1234567\r\nAcuse=A.xml\r\n"
            "Descripcion=Acuse obtenido\r\nResultado=1\r\n");

  std::filesystem::remove("A.xml");
  fake_.acknowledgement_answer.reset();
  EXPECT_EQ(retrieve_acknowledgement(call, "A.res", "A.xml", "A.log", now_, opener()),
            kAcknowledgementUnavailable);
  EXPECT_FALSE(std::filesystem::exists("A.xml"));
  EXPECT_NE(file_text("A.res").find("Descripcion=Acuse no disponible\r\nResultado=0"),
            std::string::npos);

  fake_.refuse_account = true;
  EXPECT_EQ(retrieve_acknowledgement(call, "A.res", "A.xml", "A.log", now_, opener()),
            kAcknowledgementError);
  EXPECT_EQ(file_text("A.res"),
            "Resultado=-1\r\nDescripcion=Error en la obtención del acuse\r\n"
            "Error=cuenta rechazada por el proveedor falso\r\n");
}

// A provider that cannot be reached is named by what stood in the way, in
// every service's log and result file.
TEST_F(FakeProviderTest, UnreachableProviderIsAnInternalError) {
  const ProviderOpener unreachable = []() -> std::unique_ptr<Provider> {
    throw ProviderUnavailable("Drovanexis.db: no existe");
  };
  EXPECT_EQ(cancel_cfdi(cancellation(), "C.INI", "C.LOG", now_, unreachable),
            kCancellationInternalError);
  EXPECT_EQ(query_status({"usuario", cancellation().cfdi}, "S.INI", "S.LOG", now_, unreachable),
            kStatusInternalError);
  EXPECT_EQ(retrieve_acknowledgement({"usuario", "CACX7605101P8", kUuid}, "A.res", "A.xml", "A.log",
                                     now_, unreachable),
            kAcknowledgementError);
  for (const char* file : {"C.INI", "S.INI", "A.res"}) {
    EXPECT_NE(file_text(file).find("Error=Drovanexis.db: no existe\r\n"), std::string::npos)
        << file << ": " << file_text(file);
  }
  EXPECT_NE(file_text("S.LOG").find("[ERROR] Drovanexis.db: no existe"), std::string::npos);
}

}  // namespace
}  // namespace drovanexis::services
