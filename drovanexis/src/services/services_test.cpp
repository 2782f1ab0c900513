// The further service entries through the C interface, in a working folder
// prepared as the init tool prepares one, checked where possible against
// tools of their own (openssl, base64, unzip, the SAT scripts).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "api/scenario_calls.h"
#include "cadena/sat_oracle.h"
#include "crypto/certificate.h"
#include "crypto/private_key.h"
#include "document/output_rules.h"
#include "drovanexis.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/accounts.h"
#include "sandbox/provider_credentials.h"
#include "sandbox/sandbox_init.h"
#include "sandbox/stamp.h"
#include "sandbox/state_file.h"
#include "tools/sandbox_artifacts.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace drovanexis {
namespace {

using testing::run_command;
using testing::run_sat_script;
using testing::sat_available;
using testing::shell_quoted;

constexpr const char* kPassword = "24681357q";
constexpr const char* kCer = "CSD_CACX7605101P8.cer";
constexpr const char* kKey = "CSD_CACX7605101P8.key";
constexpr const char* kOtherCer = "CSD_KIJ0906199R1.cer";
constexpr const char* kOtherKey = "CSD_KIJ0906199R1.key";
constexpr const char* kIssuer = "CACX7605101P8";
constexpr const char* kSampleUuid = "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3";

std::string read(const std::string& file) { return portable::read_file(file).value_or(""); }

// The value of "key=value" in a result file's text ("" when absent).
std::string ini_value(const std::string& text, const std::string& key) {
  const std::string prefix = key + "=";
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (text.compare(start, prefix.size(), prefix) == 0) {
      return text.substr(start + prefix.size(), end - start - prefix.size());
    }
    start = end + 2;
  }
  return "";
}

#define REQUIRE_SAT()                                                                  \
  do {                                                                                 \
    if (!sat_available()) {                                                            \
      if (std::getenv("CI") != nullptr) FAIL() << "SAT scripts absent: " CFDI_SAT_DIR; \
      GTEST_SKIP() << "the SAT scripts are absent: " << CFDI_SAT_DIR;                  \
    }                                                                                  \
  } while (false)

// A working folder with the init tool's CSD files, sample XML and ledger.
class Services : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DROVANEXIS_SANDBOX_DB");
    const std::time_t now = std::time(nullptr);
    sandbox_tool::init_working_folder(".", now);
    const Certificate authority = Certificate::load("sandbox-ca.cer");
    const sandbox::CertificateWithKey provider = sandbox::issue_provider_credentials(
        authority, PrivateKey::load("sandbox-ca.key", kPassword), now, "clave-del-proveedor");
    portable::write_file_atomic("provider.cer", provider.certificate_der);
    sandbox::initialise("Drovanexis.db",
                        {authority.der(), *portable::read_file("sandbox-ca.key"), kPassword},
                        provider, std::chrono::system_clock::now());
  }

  // Stamps a fresh simple invoice into `output` and returns its UUID.
  static std::string stamp_simple(const std::string& output) {
    const std::int32_t handle = test::build_simple_invoice();
    const int result = Drovanexis_ProcesaDocumento(handle, kCer, kKey, kPassword, output.c_str());
    EXPECT_EQ(result, 0) << read("Drovanexis.log");
    std::string uuid = Drovanexis_GetValue(handle, DROVANEXIS_VALUE_UUID);
    Drovanexis_Free(handle);
    return uuid;
  }

  portable::TestFolder folder_;
};

// ---- Certificate and key ---------------------------------------------------------------------

TEST_F(Services, CerKeyMatchAnswersEachCaseAndAgreesWithOpenssl) {
  // A key of our own that belongs to no certificate of the folder.
  ASSERT_EQ(run_command("openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:1024 2>/dev/null"
                        " | openssl pkcs8 -topk8 -v2 des3 -outform DER -passout pass:" +
                        std::string(kPassword) + " -out ajena.key 2>/dev/null")
                .exit_code,
            0);
  portable::write_file_atomic("texto.cer", "no es un certificado");
  portable::write_file_atomic("texto.key", "no es una llave");
  struct Case {
    const char* cer;
    const char* key;
    const char* password;
    int expected;
  };
  for (const Case& c : {Case{kCer, kKey, kPassword, DROVANEXIS_PAIR_MATCHES},
                        Case{".\\csd_cacx7605101p8.CER", ".\\CSD_CACX7605101P8.KEY", kPassword,
                             DROVANEXIS_PAIR_MATCHES},
                        Case{kCer, "ajena.key", kPassword, DROVANEXIS_PAIR_DIFFERS},
                        Case{"falta.cer", kKey, kPassword, DROVANEXIS_PAIR_CERTIFICATE_MISSING},
                        Case{kCer, "falta.key", kPassword, DROVANEXIS_PAIR_KEY_MISSING},
                        Case{kCer, kKey, "equivocada", DROVANEXIS_PAIR_WRONG_PASSWORD},
                        Case{"texto.cer", kKey, kPassword, DROVANEXIS_PAIR_NOT_A_CERTIFICATE},
                        Case{kCer, "texto.key", kPassword, DROVANEXIS_PAIR_NOT_A_KEY}}) {
    SCOPED_TRACE(std::string(c.cer) + " + " + c.key);
    EXPECT_EQ(Drovanexis_CerKeyMatch(0, c.cer, c.key, c.password, nullptr), c.expected);
    EXPECT_NE(read("Drovanexis.log"), "");
  }
  // openssl's view of the two keys that open: same public key or not.
  const auto public_of_cer =
      run_command("openssl x509 -inform DER -in " + std::string(kCer) + " -noout -pubkey");
  for (const auto& [key, same] :
       std::vector<std::pair<std::string, bool>>{{kKey, true}, {"ajena.key", false}}) {
    const auto public_of_key = run_command("openssl pkey -inform DER -in " + key +
                                           " -passin pass:" + kPassword + " -pubout");
    EXPECT_EQ(public_of_cer.output == public_of_key.output, same) << key;
  }
}

TEST_F(Services, FileTo64MatchesBase64AndReportsAMissingFile) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += static_cast<char>((i * 37) & 0xFF);
  portable::write_file_atomic("datos.bin", bytes);
  const auto expected = run_command("base64 -w0 datos.bin");
  EXPECT_EQ(Drovanexis_FileTo64(".\\DATOS.BIN"), expected.output);
  EXPECT_EQ(std::string(Drovanexis_FileTo64("no-existe.bin")), "");
  EXPECT_NE(read("Drovanexis.log").find("no-existe.bin"), std::string::npos);
}

// ---- Sealing, checking and stamping files -----------------------------------------------------

TEST_F(Services, FirmaSellaDoctoWritesASealedUnstampedDocumentWithoutTakingAStamp) {
  REQUIRE_SAT();
  const std::int32_t handle = test::build_simple_invoice();
  ASSERT_EQ(Drovanexis_FirmaSellaDocto(handle, kCer, kKey, kPassword, "sellado.xml"), 0)
      << read("Drovanexis.log");
  const auto seal = run_sat_script("verify-seal", "sellado.xml");
  EXPECT_EQ(seal.exit_code, 0) << seal.output;
  EXPECT_EQ(run_sat_script("validate-cfdi33", "sellado.xml").exit_code, 0);
  EXPECT_EQ(read("sellado.xml").find("TimbreFiscalDigital"), std::string::npos);
  EXPECT_EQ(Drovanexis_GetValue(handle, DROVANEXIS_VALUE_CADENA_CFDI),
            run_sat_script("cadena-cfdi33", "sellado.xml").output);
  ASSERT_EQ(Drovanexis_ConsultaSaldos("demo_valdorin", "x", 0, "saldo.txt"), 0);
  EXPECT_EQ(ini_value(read("saldo.txt"), "TimbresUtilizados"), "0");

  // The document can still be processed afterwards.
  EXPECT_EQ(Drovanexis_ProcesaDocumento(handle, kCer, kKey, kPassword, "timbrado.xml"), 0);

  struct Case {
    const char* cer;
    const char* key;
    const char* password;
    int expected;
  };
  for (const Case& c : {Case{"falta.cer", kKey, kPassword, DROVANEXIS_ERROR_CERTIFICATE},
                        Case{kCer, kKey, "equivocada", DROVANEXIS_ERROR_KEY_PASSWORD},
                        Case{kCer, kOtherKey, kPassword, DROVANEXIS_ERROR_KEY_MISMATCH}}) {
    const std::int32_t other = test::build_simple_invoice();
    EXPECT_EQ(Drovanexis_FirmaSellaDocto(other, c.cer, c.key, c.password, "fallido.xml"),
              c.expected);
    EXPECT_FALSE(std::filesystem::exists("fallido.xml"));
    Drovanexis_Free(other);
  }
  Drovanexis_Free(handle);
}

// Replaces the first occurrence of `from` in the file's text.
void edit_file(const std::string& source, const std::string& target, const std::string& from,
               const std::string& to) {
  std::string text = read(source);
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
  portable::write_file_atomic(target, text);
}

TEST_F(Services, CheckFileAcceptsEveryScenarioAndRefusesEachKindOfDamage) {
  const std::int32_t external = test::build_external(read("ejemploexterno.xml").c_str());
  struct Scenario {
    const char* output;
    const char* issuer;
    std::int32_t handle;
  };
  for (const Scenario& s : {Scenario{"simple.xml", "CACX7605101P8", test::build_simple_invoice()},
                            Scenario{"pagos.xml", "KIJ0906199R1", test::build_payments_receipt()},
                            Scenario{"nomina.xml", "KIJ0906199R1", test::build_payroll_receipt()},
                            Scenario{"cp10.xml", "KIJ0906199R1", test::build_carta_porte10()},
                            Scenario{"cp20.xml", "KIJ0906199R1", test::build_carta_porte20()},
                            Scenario{"externo.xml", "CACX7605101P8", external}}) {
    SCOPED_TRACE(s.output);
    const std::string issuer = s.issuer;
    ASSERT_EQ(Drovanexis_ProcesaDocumento(s.handle, ("CSD_" + issuer + ".cer").c_str(),
                                          ("CSD_" + issuer + ".key").c_str(), kPassword, s.output),
              0)
        << read("Drovanexis.log");
    EXPECT_EQ(Drovanexis_CheckFile(s.output), 0) << read("Drovanexis.log");
    Drovanexis_Free(s.handle);
  }

  const std::string text = read("simple.xml");
  // One amount changed: the seal no longer covers the document.
  edit_file("simple.xml", "importe.xml", "ValorUnitario=\"500.00\"", "ValorUnitario=\"501.00\"");
  const int amount = Drovanexis_CheckFile("importe.xml");
  EXPECT_NE(amount, 0);
  EXPECT_NE(read("Drovanexis.log").find("302"), std::string::npos) << read("Drovanexis.log");
  // The stamp changed: its seal fails, while the document's still holds.
  const Element parsed = parse_xml(text);
  const std::string uuid =
      *parsed.child("cfdi:Complemento")->child("tfd:TimbreFiscalDigital")->attribute("UUID");
  std::string other_uuid = uuid;
  other_uuid[0] = other_uuid[0] == 'A' ? 'B' : 'A';
  edit_file("simple.xml", "timbre.xml", uuid, other_uuid);
  EXPECT_EQ(Drovanexis_CheckFile("timbre.xml"), DROVANEXIS_CHECK_STAMP_SEAL_INVALID)
      << read("Drovanexis.log");
  // A required attribute gone: the schema refuses it before the seal is
  // looked at.
  edit_file("simple.xml", "esquema.xml", " Moneda=\"MXN\"", "");
  const int schema = Drovanexis_CheckFile("esquema.xml");
  EXPECT_NE(schema, 0);
  EXPECT_NE(schema, DROVANEXIS_CHECK_SEAL_INVALID);
  EXPECT_NE(schema, DROVANEXIS_CHECK_STAMP_SEAL_INVALID);
  EXPECT_NE(read("Drovanexis.log").find("Moneda"), std::string::npos) << read("Drovanexis.log");
  if (sat_available()) {
    EXPECT_EQ(run_sat_script("validate-cfdi33", "esquema.xml").exit_code, 1);
  }
  // Not XML at all, and no file.
  portable::write_file_atomic("roto.xml", text.substr(0, text.size() / 2));
  EXPECT_EQ(Drovanexis_CheckFile("roto.xml"), DROVANEXIS_CHECK_MALFORMED);
  EXPECT_EQ(Drovanexis_CheckFile("falta.xml"), DROVANEXIS_CHECK_FILE_UNREADABLE);
}

TEST_F(Services, ProcessFileStampsASealedFileBesideItWithTheLastAccount) {
  const std::int32_t handle = test::build_simple_invoice();  // sets the demo account
  ASSERT_EQ(Drovanexis_FirmaSellaDocto(handle, kCer, kKey, kPassword, "Factura.xml"), 0);
  Drovanexis_ProcessFile(".\\FACTURA.xml");
  ASSERT_TRUE(std::filesystem::exists("Factura_timbrado.xml")) << read("Drovanexis.log");
  EXPECT_EQ(Drovanexis_CheckFile("Factura_timbrado.xml"), 0) << read("Drovanexis.log");

  // A stamped file is not stamped twice; an unknown account is refused.
  Drovanexis_ProcessFile("Factura_timbrado.xml");
  EXPECT_FALSE(std::filesystem::exists("Factura_timbrado_timbrado.xml"));
  EXPECT_NE(read("Drovanexis.log").find("307"), std::string::npos);
  const std::int32_t other = Drovanexis_New("3.3");
  Drovanexis_SetVelmoranetInfo(other, "nadie", "x");
  std::filesystem::remove("Factura_timbrado.xml");
  Drovanexis_ProcessFile("Factura.xml");
  EXPECT_FALSE(std::filesystem::exists("Factura_timbrado.xml"));
  EXPECT_NE(read("Drovanexis.log").find("701"), std::string::npos);
  Drovanexis_Free(other);
  Drovanexis_Free(handle);
}

// ---- Save and Load ----------------------------------------------------------------------------

// The stamped document without its stamp, as XML: what two runs over the
// same document must share.
std::string without_stamp(const std::string& file) {
  Element root = parse_xml(read(file));
  sandbox::remove_stamp(root);
  return write_xml(root);
}

TEST_F(Services, SaveThenLoadThenProcessGivesTheSameDocument) {
  const std::int32_t original = test::build_simple_invoice();
  // A fixed Fecha, so that both runs seal the same original string.
  const std::string fecha =
      central_mexico_time(std::chrono::system_clock::now() - std::chrono::hours(1));
  Drovanexis_SetComprobanteInfo_cfdi33(original, "A", "1", fecha.c_str(), "99", "Contado Comercial",
                                       "1000.00", "50.00", "MXN", "", "1102.00", "I", "PPD",
                                       "53050", "");
  Drovanexis_SetTolviqueInfo(original, "segunda", "clave");
  Drovanexis_SetLogFile(original, "propia.log");
  // Complements and addenda handed in as text are placed only when the
  // document is processed, so the file must carry them as they were given.
  Drovanexis_AddComplemento_cfdi33(original,
                                   "<dv:Divisas xmlns:dv=\"http://www.sat.gob.mx/divisas\" "
                                   "version=\"1.0\" tipoOperacion=\"venta\"/>");
  Drovanexis_SetAddendaText_cfdi33(original, "Entregar en almac\xE9n");
  Drovanexis_Save(original, ".\\Guardado.DOC");
  const std::int32_t loaded = Drovanexis_Load("guardado.doc");
  ASSERT_GT(loaded, 0) << read("Drovanexis.log");
  EXPECT_NE(loaded, original);
  // The loaded document saves to the same bytes.
  Drovanexis_Save(loaded, "otra.doc");
  EXPECT_EQ(read("otra.doc"), read("Guardado.DOC"));

  ASSERT_EQ(Drovanexis_ProcesaDocumento(original, kCer, kKey, kPassword, "original.xml"), 0);
  ASSERT_EQ(Drovanexis_ProcesaDocumento(loaded, kCer, kKey, kPassword, "cargado.xml"), 0)
      << read("propia.log");
  EXPECT_EQ(without_stamp("cargado.xml"), without_stamp("original.xml"));
  EXPECT_NE(read("cargado.xml").find("tipoOperacion=\"venta\""), std::string::npos);
  EXPECT_NE(read("cargado.xml").find("Entregar en almac"), std::string::npos);
  for (int index : {DROVANEXIS_VALUE_NO_CERTIFICADO, DROVANEXIS_VALUE_CADENA_CFDI,
                    DROVANEXIS_VALUE_SELLO_CFD, DROVANEXIS_VALUE_FECHA}) {
    EXPECT_STREQ(Drovanexis_GetValue(loaded, index), Drovanexis_GetValue(original, index));
  }
  EXPECT_TRUE(std::filesystem::exists("propia.log"));  // the log file came along
  Drovanexis_Free(original);
  Drovanexis_Free(loaded);
}

TEST_F(Services, LoadRefusesMissingForeignAndDamagedFiles) {
  const std::int32_t handle = test::build_simple_invoice();
  Drovanexis_Save(handle, "bueno.doc");
  const std::string good = read("bueno.doc");
  ASSERT_FALSE(good.empty());
  Drovanexis_Free(handle);
  std::string flipped = good;
  flipped[flipped.find("tree=") + 10] = '*';
  struct Case {
    const char* name;
    std::string text;
  };
  for (const Case& c :
       {Case{"vacio.doc", ""}, Case{"ajeno.doc", read("ejemploexterno.xml")},
        Case{"cortado.doc", good.substr(0, good.size() / 2)}, Case{"alterado.doc", flipped},
        Case{"arbol.doc", "DrovanexisDocumento 1\ntree=PGE+\nend=\n"},
        // A part of a kind no entry makes ("otra").
        Case{"parte.doc",
             "DrovanexisDocumento 1\npart.1.kind=b3RyYQ==\n" + good.substr(good.find('\n') + 1)}}) {
    SCOPED_TRACE(c.name);
    portable::write_file_atomic(c.name, c.text);
    EXPECT_EQ(Drovanexis_Load(c.name), DROVANEXIS_LOAD_DAMAGED);
  }
  EXPECT_EQ(Drovanexis_Load("falta.doc"), DROVANEXIS_LOAD_FILE_MISSING);
  // Saving over the library's log or the state file is refused.
  const std::int32_t other = test::build_simple_invoice();
  const std::string state = read("Drovanexis.db");
  Drovanexis_Save(other, "Drovanexis.db");
  EXPECT_EQ(read("Drovanexis.db"), state);
  Drovanexis_Free(other);
}

// ---- Account, status and cancellation ---------------------------------------------------------

TEST_F(Services, ConsultaSaldosCountsStampsAndRefusesWrongCredentials) {
  stamp_simple("uno.xml");
  ASSERT_EQ(Drovanexis_ConsultaSaldos("demo_valdorin", "cualquiera", 0, "saldo.txt"),
            DROVANEXIS_SERVICE_DONE);
  EXPECT_EQ(ini_value(read("saldo.txt"), "TimbresDisponibles"), "999");
  EXPECT_EQ(ini_value(read("saldo.txt"), "TimbresUtilizados"), "1");

  {
    auto db = sandbox::open_existing_state("Drovanexis.db");
    sandbox::store_account(*db, "cliente", "secreta", 5);
  }
  EXPECT_EQ(Drovanexis_ConsultaSaldos("cliente", "secreta", 0, "c.txt"), DROVANEXIS_SERVICE_DONE);
  EXPECT_EQ(ini_value(read("c.txt"), "TimbresDisponibles"), "5");
  EXPECT_EQ(Drovanexis_ConsultaSaldos("cliente", "otra", 0, "c.txt"),
            DROVANEXIS_SERVICE_CREDENTIALS);
  EXPECT_EQ(Drovanexis_ConsultaSaldos("nadie", "x", 0, "c.txt"), DROVANEXIS_SERVICE_CREDENTIALS);
  EXPECT_EQ(ini_value(read("c.txt"), "TimbresDisponibles"), "");
}

TEST_F(Services, SecondAccountStampsWhenTheFirstIsRefused) {
  {
    auto db = sandbox::open_existing_state("Drovanexis.db");
    sandbox::store_account(*db, "vacia", "clave", 0);
  }
  const std::int32_t handle = test::build_simple_invoice();
  Drovanexis_SetVelmoranetInfo(handle, "vacia", "clave");
  EXPECT_EQ(Drovanexis_ProcesaDocumento(handle, kCer, kKey, kPassword, "a.xml"),
            DROVANEXIS_ERROR_NO_STAMPS_LEFT);
  Drovanexis_SetTolviqueInfo(handle, "demo_valdorin", "x");
  EXPECT_EQ(Drovanexis_ProcesaDocumento(handle, kCer, kKey, kPassword, "a.xml"), 0)
      << read("Drovanexis.log");
  Drovanexis_Free(handle);
}

TEST_F(Services, StatusAndCancellationByTheirOtherNamesFollowTheSameRules) {
  // The public query answers as the account's query does.
  EXPECT_EQ(Drovanexis_GetStatusCFDI("demo_valdorin", kIssuer, "VDN020304QX7", "1102.00",
                                     kSampleUuid, "estado1.txt", "estado1.log"),
            DROVANEXIS_STATUS_CANCELLABLE);
  EXPECT_EQ(
      Drovanexis_ConsultaEstadoCFDI(kIssuer, "VDN020304QX7", "1102.00", kSampleUuid, "estado2.txt"),
      DROVANEXIS_STATUS_CANCELLABLE);
  for (const char* key : {"Estado", "EsCancelable", "CodigoEstatus"}) {
    EXPECT_EQ(ini_value(read("estado2.txt"), key), ini_value(read("estado1.txt"), key)) << key;
  }
  EXPECT_EQ(Drovanexis_ConsultaEstadoCFDI(kIssuer, "VDN020304QX7", "1102.00",
                                          "00000000-0000-4000-8000-000000000000", "e.txt"),
            DROVANEXIS_STATUS_NOT_FOUND);

  const std::string uuid = stamp_simple("cancelar.xml");
  struct Case {
    const char* uuid;
    const char* password;
    int expected;
  };
  for (const Case& c :
       {Case{"00000000-0000-4000-8000-000000000000", kPassword, DROVANEXIS_CANCEL_NOT_FOUND},
        Case{uuid.c_str(), "equivocada", DROVANEXIS_CANCEL_INTERNAL_ERROR},
        Case{uuid.c_str(), kPassword, DROVANEXIS_CANCEL_DONE},
        Case{uuid.c_str(), kPassword, DROVANEXIS_CANCEL_NOT_CANCELLABLE}}) {
    SCOPED_TRACE(std::string(c.uuid) + " " + c.password);
    EXPECT_EQ(Drovanexis_CancelaUUID("demo_valdorin", kIssuer, c.uuid, kCer, kKey, c.password,
                                     "cancelacion.txt"),
              c.expected)
        << read("Drovanexis.log");
  }
  EXPECT_NE(read("cancelacion.txt").find("\r\nMotivo=02\r\n"), std::string::npos)
      << "the entry takes no Motivo and asks with 02";
  EXPECT_EQ(
      Drovanexis_ConsultaEstadoCFDI(kIssuer, "VDN020304QX7", "1102.00", uuid.c_str(), "e.txt"),
      DROVANEXIS_STATUS_CANCELLED);
  // A result file that would overwrite an input or the state file is refused.
  const std::string state = read("Drovanexis.db");
  EXPECT_EQ(Drovanexis_ConsultaEstadoCFDI(kIssuer, "VDN020304QX7", "1102.00", uuid.c_str(),
                                          ".\\drovanexis.DB"),
            DROVANEXIS_STATUS_INTERNAL_ERROR);
  EXPECT_EQ(read("Drovanexis.db"), state);
  const std::string key = read(kKey);
  EXPECT_EQ(
      Drovanexis_CancelaUUID("demo_valdorin", kIssuer, uuid.c_str(), kCer, kKey, kPassword, kKey),
      DROVANEXIS_CANCEL_INTERNAL_ERROR);
  EXPECT_EQ(read(kKey), key);
}

// ---- Values, time and settings -----------------------------------------------------------------

TEST_F(Services, ValuesGoToFilesOneLineEach) {
  const std::int32_t handle = test::build_simple_invoice();
  ASSERT_EQ(Drovanexis_ProcesaDocumento(handle, kCer, kKey, kPassword, "v.xml"), 0);
  Drovanexis_GetValues(handle, "valores.txt", 0);
  const std::string all = read("valores.txt");
  for (int index = 1; index <= 18; ++index) {
    EXPECT_EQ(ini_value(all, std::to_string(index)), Drovanexis_GetValue(handle, index)) << index;
  }
  Drovanexis_GetValueInFile(handle, DROVANEXIS_VALUE_UUID, "uuid.txt");
  EXPECT_EQ(read("uuid.txt"), std::string("9=") + Drovanexis_GetValue(handle, 9) + "\r\n");
  Drovanexis_ShowValue(handle, DROVANEXIS_VALUE_RESULT, "resultado.txt");
  EXPECT_EQ(read("resultado.txt"), "1=0\r\n");
  Drovanexis_GetValueInFile(handle, 19, "fuera.txt");
  Drovanexis_GetValueInFile(handle + 1000, 1, "nadie.txt");
  EXPECT_FALSE(std::filesystem::exists("fuera.txt"));
  EXPECT_FALSE(std::filesystem::exists("nadie.txt"));
  Drovanexis_Free(handle);
}

TEST_F(Services, TimeWithDelayIsCentralMexicoTimeShifted) {
  for (const int seconds : {0, 3600, -86400}) {
    const auto now = std::chrono::system_clock::now();
    const std::string got = Drovanexis_GetTimeWithDelay(0, seconds);
    const std::string at = central_mexico_time(now + std::chrono::seconds(seconds));
    const std::string next =
        central_mexico_time(now + std::chrono::seconds(seconds) + std::chrono::seconds(1));
    EXPECT_TRUE(got == at || got == next) << got << " vs " << at;
  }
}

TEST_F(Services, LogFileAndStateFolderAreTheDocumentsChoice) {
  const std::int32_t handle = test::build_simple_invoice();
  Drovanexis_SetLogFile(handle, ".\\Mi.LOG");
  std::filesystem::remove("Drovanexis.log");
  EXPECT_EQ(Drovanexis_ProcesaDocumento(handle, kCer, kKey, "equivocada", "x.xml"),
            DROVANEXIS_ERROR_KEY_PASSWORD);
  EXPECT_NE(read("Mi.LOG").find("803"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("Drovanexis.log"));

  std::filesystem::create_directory("estado");
  std::filesystem::rename("Drovanexis.db", "estado/Drovanexis.db");
  EXPECT_EQ(Drovanexis_ProcesaDocumento(handle, kCer, kKey, kPassword, "x.xml"),
            DROVANEXIS_ERROR_STATE_UNAVAILABLE);
  Drovanexis_SetDllPath(handle, ".\\ESTADO");
  EXPECT_EQ(Drovanexis_ProcesaDocumento(handle, kCer, kKey, kPassword, "x.xml"), 0)
      << read("Mi.LOG");
  Drovanexis_SetDllPath(handle, "");
  Drovanexis_Free(handle);
}

// ---- Bulk download ------------------------------------------------------------------------------

struct Fiel {
  const char* cer;
  const char* key;
  const char* password;
  const char* rfc;
};
constexpr Fiel kFiel{kCer, kKey, kPassword, kIssuer};

TEST_F(Services, BulkDownloadHandsBackExactlyTheStampedFiles) {
  std::vector<std::string> uuids;
  for (const char* output : {"d1.xml", "d2.xml", "d3.xml"}) uuids.push_back(stamp_simple(output));
  const std::string from =
      central_mexico_time(std::chrono::system_clock::now() - std::chrono::hours(2));
  const std::string to = central_mexico_time(std::chrono::system_clock::now());

  ASSERT_EQ(Drovanexis_MasivaSolicitaEmitidoXML(kFiel.cer, kFiel.key, kFiel.password, kFiel.rfc,
                                                from.c_str(), to.c_str(), "", "solicitud.txt",
                                                "masiva.log", nullptr),
            DROVANEXIS_SERVICE_DONE)
      << read("masiva.log");
  const std::string id = ini_value(read("solicitud.txt"), "IdSolicitud");
  ASSERT_FALSE(id.empty());
  ASSERT_EQ(Drovanexis_MasivaVerifica(kFiel.cer, kFiel.key, kFiel.password, kFiel.rfc, id.c_str(),
                                      "verifica.txt", "", nullptr),
            DROVANEXIS_DOWNLOAD_FINISHED);
  EXPECT_EQ(ini_value(read("verifica.txt"), "NumeroCFDIs"), "3");
  // The id may come back in any letter case.
  std::string swapped = id;
  for (char& c : swapped)
    c = std::isupper(c) ? static_cast<char>(std::tolower(c)) : static_cast<char>(std::toupper(c));
  EXPECT_EQ(Drovanexis_MasivaVerifica(kFiel.cer, kFiel.key, kFiel.password, kFiel.rfc,
                                      swapped.c_str(), "verifica2.txt", "", nullptr),
            DROVANEXIS_DOWNLOAD_FINISHED);
  const std::string package = ini_value(read("verifica.txt"), "Paquete1");
  ASSERT_EQ(Drovanexis_MasivaDescarga(kFiel.cer, kFiel.key, kFiel.password, kFiel.rfc,
                                      package.c_str(), "paquete.zip", "descarga.txt", ""),
            DROVANEXIS_SERVICE_DONE)
      << read("Drovanexis.log");

  const auto listing = run_command("unzip -Z1 paquete.zip | sort");
  std::vector<std::string> names;
  for (const auto& uuid : uuids) names.push_back(uuid + ".xml");
  std::sort(names.begin(), names.end());
  std::string expected;
  for (const auto& name : names) expected += name + "\n";
  EXPECT_EQ(listing.output, expected);
  EXPECT_EQ(run_command("unzip -l paquete.zip").exit_code, 0);
  const char* outputs[] = {"d1.xml", "d2.xml", "d3.xml"};
  for (std::size_t i = 0; i < uuids.size(); ++i) {
    EXPECT_EQ(run_command("unzip -p paquete.zip " + shell_quoted(uuids[i] + ".xml")).output,
              read(outputs[i]))
        << uuids[i];
  }

  // The metadata of the same documents, the sample of four days ago left out.
  ASSERT_EQ(Drovanexis_MasivaSolicitaEmitidoMetadata(kFiel.cer, kFiel.key, kFiel.password,
                                                     kFiel.rfc, from.c_str(), to.c_str(),
                                                     "VDN020304QX7", "m.txt", "", nullptr),
            DROVANEXIS_SERVICE_DONE);
  const std::string metadata_id = ini_value(read("m.txt"), "IdSolicitud");
  ASSERT_EQ(Drovanexis_MasivaVerifica(kFiel.cer, kFiel.key, kFiel.password, kFiel.rfc,
                                      metadata_id.c_str(), "mv.txt", "", nullptr),
            DROVANEXIS_DOWNLOAD_FINISHED);
  ASSERT_EQ(Drovanexis_MasivaDescarga(kFiel.cer, kFiel.key, kFiel.password, kFiel.rfc,
                                      ini_value(read("mv.txt"), "Paquete1").c_str(), "meta.zip",
                                      "md.txt", ""),
            DROVANEXIS_SERVICE_DONE);
  const std::string lines = run_command("unzip -p meta.zip").output;
  EXPECT_EQ(lines.rfind("Uuid~RfcEmisor~NombreEmisor~RfcReceptor~NombreReceptor~", 0), 0u);
  for (const auto& uuid : uuids) {
    EXPECT_NE(lines.find(uuid + "~CACX7605101P8~Empresa de prueba SA de CV~VDN020304QX7~"
                                "Valdorin SA de CV~"),
              std::string::npos)
        << lines;
  }
  EXPECT_EQ(lines.find(kSampleUuid), std::string::npos);

  // The receiver's side: the same three, asked for by the receiver needs the
  // receiver's own certificate, which this folder does not hold.
  EXPECT_EQ(
      Drovanexis_MasivaSolicitaRecibidoXML(kFiel.cer, kFiel.key, kFiel.password, "VDN020304QX7",
                                           from.c_str(), to.c_str(), "", "r.txt", "", nullptr),
      DROVANEXIS_SERVICE_CREDENTIALS);
  // Received by the issuer: nothing, so the request is rejected with 5004.
  ASSERT_EQ(
      Drovanexis_MasivaSolicitaRecibidoMetadata(kFiel.cer, kFiel.key, kFiel.password, kFiel.rfc,
                                                from.c_str(), to.c_str(), "", "r.txt", "", nullptr),
      DROVANEXIS_SERVICE_DONE);
  EXPECT_EQ(Drovanexis_MasivaVerifica(kFiel.cer, kFiel.key, kFiel.password, kFiel.rfc,
                                      ini_value(read("r.txt"), "IdSolicitud").c_str(), "rv.txt", "",
                                      nullptr),
            DROVANEXIS_DOWNLOAD_REJECTED);
  EXPECT_EQ(ini_value(read("rv.txt"), "CodigoEstadoSolicitud"), "5004");
}

TEST_F(Services, BulkDownloadRefusesBadRequestsWithTheirCodes) {
  const char* from = "2020-01-01";
  const char* to = "2030-12-31";
  struct Case {
    const char* label;
    Fiel fiel;
    const char* from;
    const char* to;
    int expected;
  };
  for (const Case& c :
       {Case{"contraseña",
             {kCer, kKey, "equivocada", kIssuer},
             from,
             to,
             DROVANEXIS_SERVICE_CREDENTIALS},
        Case{"sin certificado",
             {"falta.cer", kKey, kPassword, kIssuer},
             from,
             to,
             DROVANEXIS_SERVICE_CREDENTIALS},
        Case{"llave ajena",
             {kCer, kOtherKey, kPassword, kIssuer},
             from,
             to,
             DROVANEXIS_SERVICE_CREDENTIALS},
        Case{"otro RFC",
             {kOtherCer, kOtherKey, kPassword, kIssuer},
             from,
             to,
             DROVANEXIS_SERVICE_CREDENTIALS},
        Case{"fecha", kFiel, "2020-13-01", to, DROVANEXIS_SERVICE_BAD_ARGUMENT},
        Case{"periodo al revés", kFiel, to, from, DROVANEXIS_SERVICE_BAD_ARGUMENT}}) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(
        Drovanexis_MasivaSolicitaEmitidoXML(c.fiel.cer, c.fiel.key, c.fiel.password, c.fiel.rfc,
                                            c.from, c.to, "", "s.txt", "", nullptr),
        c.expected)
        << read("Drovanexis.log");
  }
  EXPECT_EQ(Drovanexis_MasivaVerifica(kCer, kKey, kPassword, kIssuer,
                                      "00000000-0000-4000-8000-000000000000", "v.txt", "", nullptr),
            DROVANEXIS_SERVICE_UNKNOWN_REQUEST);
  EXPECT_EQ(
      Drovanexis_MasivaDescarga(kCer, kKey, kPassword, kIssuer, "NADA_01", "p.zip", "d.txt", ""),
      DROVANEXIS_SERVICE_UNKNOWN_REQUEST);
  EXPECT_FALSE(std::filesystem::exists("p.zip"));
  // Another RFC cannot see this RFC's request.
  ASSERT_EQ(Drovanexis_MasivaSolicitaEmitidoXML(kCer, kKey, kPassword, kIssuer, from, to, "",
                                                "s.txt", "", nullptr),
            DROVANEXIS_SERVICE_DONE);
  EXPECT_EQ(Drovanexis_MasivaVerifica(kOtherCer, kOtherKey, kPassword, "KIJ0906199R1",
                                      ini_value(read("s.txt"), "IdSolicitud").c_str(), "v.txt", "",
                                      nullptr),
            DROVANEXIS_SERVICE_CREDENTIALS);
  // The package may not overwrite the state file.
  const std::string state = read("Drovanexis.db");
  EXPECT_EQ(Drovanexis_MasivaDescarga(kCer, kKey, kPassword, kIssuer, "NADA_01", "Drovanexis.db",
                                      "d.txt", ""),
            DROVANEXIS_SERVICE_BAD_ARGUMENT);
  EXPECT_EQ(read("Drovanexis.db"), state);
}

}  // namespace
}  // namespace drovanexis
