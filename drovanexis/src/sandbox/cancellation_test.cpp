// Cancellation and status query against ledgers the tests prepare: the
// cancellation rules, the answers after a cancellation, and the failures.
#include "services/cancellation.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "portable/cp1252.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/ledger.h"
#include "sandbox/sandbox_init.h"
#include "sandbox/sandbox_test_support.h"
#include "sandbox/state_file.h"
#include "time/central_mexico.h"

namespace drovanexis::sandbox {
namespace {

using std::chrono::hours;
using Clock = std::chrono::system_clock;

constexpr const char* kIssuer = "CACX7605101P8";
constexpr const char* kReceiver = "VDN020304QX7";

std::string file_text(const std::string& name) {
  return portable::cp1252_to_utf8(portable::read_file(name).value_or(""));
}

// The value of one key=value line of a result file.
std::string ini_value(const std::string& file, const std::string& key) {
  const std::string text = file_text(file);
  const std::string start = key + "=";
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    const std::string line = text.substr(at, end - at);
    if (line.rfind(start, 0) == 0) return line.substr(start.size());
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return "<" + key + " missing>";
}

struct Entry {
  const char* uuid;
  const char* issuer = kIssuer;
  const char* receiver = kReceiver;
  const char* total = "1102.00";
  const char* type = "I";
  int stamped_hours_ago = 100;
  const char* currency = "MXN";
  const char* exchange_rate = "";
  const char* related_uuid = "";
  const char* status = "Vigente";
};

class CancellationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DROVANEXIS_SANDBOX_DB");
    testing::prepare_working_folder();
  }

  void add(const Entry& e) {
    LedgerEntry entry;
    entry.uuid = e.uuid;
    entry.issuer_rfc = e.issuer;
    entry.receiver_rfc = e.receiver;
    entry.total = e.total;
    entry.document_type = e.type;
    entry.fecha_timbrado = central_mexico::format(now_ - hours(e.stamped_hours_ago));
    entry.fecha = entry.fecha_timbrado;
    entry.status = e.status;
    std::string rate =
        *e.exchange_rate ? std::string(" TipoCambio=\"") + e.exchange_rate + "\"" : "";
    std::string related = *e.related_uuid ? std::string(
                                                "<cfdi:CfdiRelacionados TipoRelacion=\"04\">"
                                                "<cfdi:CfdiRelacionado UUID=\"") +
                                                e.related_uuid + "\"/></cfdi:CfdiRelacionados>"
                                          : "";
    entry.stamped_xml = std::string(
                            "<cfdi:Comprobante xmlns:cfdi=\"http://www.sat.gob.mx/cfd/3\" "
                            "Moneda=\"") +
                        e.currency + "\"" + rate + " Total=\"" + e.total + "\">" + related +
                        "</cfdi:Comprobante>";
    insert_ledger_entry(*open_existing_state("Drovanexis.db"), entry);
  }

  int cancel(const std::string& uuid, const std::string& total = "1102.00",
             const std::string& receiver = kReceiver, const std::string& password = "24681357q",
             const std::string& issuer = kIssuer, const std::string& csd = "CSD_CACX7605101P8") {
    return services::cancel_cfdi({"demo_valdorin",
                                  {uuid, issuer, receiver, total},
                                  ".\\" + csd + ".CER",
                                  ".\\" + csd + ".KEY",
                                  password},
                                 "CancelaCFDI.INI", "CancelaCFDI.LOG", now_);
  }

  int status(const std::string& uuid, const std::string& total = "1102.00",
             const std::string& issuer = kIssuer, Clock::time_point when = {},
             const std::string& receiver = kReceiver) {
    return services::query_status({"demo_valdorin", {uuid, issuer, receiver, total}},
                                  "StatusCFDI.INI", "StatusCFDI.LOG",
                                  when == Clock::time_point{} ? now_ : when);
  }

  portable::TestFolder folder_;
  Clock::time_point now_ = Clock::now();
};

struct RuleCase {
  const char* name;
  Entry entry;
  int cancel_result;
  const char* code_in_log;
  const char* cancellation_status;  // EstatusCancelacion of the cancellation's answer
  int status_after;
};

constexpr const char* kU = "11111111-2222-3333-4444-555555555555";

TEST_F(CancellationTest, RulesDecideHowADocumentIsCancelled) {
  const RuleCase cases[] = {
      {"at 5000", {kU, kIssuer, kReceiver, "5000.00"}, 0, "201", "Cancelado sin aceptación", -1},
      {"over 5000", {kU, kIssuer, kReceiver, "5000.01"}, 1, "201", "En proceso", 0},
      {"inside 72 h",
       {kU, kIssuer, kReceiver, "9000.00", "I", 71},
       0,
       "201",
       "Cancelado sin aceptación",
       -1},
      {"outside 72 h", {kU, kIssuer, kReceiver, "9000.00", "I", 73}, 1, "201", "En proceso", 0},
      {"general public",
       {kU, kIssuer, "XAXX010101000", "9000.00"},
       0,
       "201",
       "Cancelado sin aceptación",
       -1},
      {"foreigner",
       {kU, kIssuer, "XEXX010101000", "9000.00"},
       0,
       "201",
       "Cancelado sin aceptación",
       -1},
      {"type T",
       {kU, kIssuer, kReceiver, "9000.00", "T"},
       0,
       "201",
       "Cancelado sin aceptación",
       -1},
      {"type E",
       {kU, kIssuer, kReceiver, "9000.00", "E"},
       0,
       "201",
       "Cancelado sin aceptación",
       -1},
      // 300 USD at 20.00 is 6,000 MXN: over the limit although the figure is small.
      {"dollars",
       {kU, kIssuer, kReceiver, "300.00", "I", 100, "USD", "20.00"},
       1,
       "201",
       "En proceso",
       0},
      {"another issuer's UUID", {kU, "KIJ0906199R1", kReceiver, "1102.00"}, -1, "203", "", 2},
      {"already cancelled",
       {kU, kIssuer, kReceiver, "1102.00", "I", 100, "MXN", "", "", "Cancelado"},
       -1,
       "202",
       "",
       -1},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.name);
    portable::TestFolder folder;
    testing::prepare_working_folder();
    Entry entry = c.entry;
    add(entry);
    const std::string receiver = entry.receiver;
    EXPECT_EQ(cancel(kU, entry.total, receiver), c.cancel_result) << file_text("CancelaCFDI.LOG");
    EXPECT_NE(file_text("CancelaCFDI.LOG").find(c.code_in_log), std::string::npos)
        << file_text("CancelaCFDI.LOG");
    EXPECT_EQ(ini_value("CancelaCFDI.INI", "Resultado"), std::to_string(c.cancel_result));
    if (*c.cancellation_status) {
      EXPECT_EQ(ini_value("CancelaCFDI.INI", "EstatusCancelacion"), c.cancellation_status);
    }
    const std::string issuer = entry.issuer;
    EXPECT_EQ(status(kU, entry.total, issuer, now_, receiver), c.status_after)
        << file_text("StatusCFDI.LOG");
  }
}

TEST_F(CancellationTest, UnknownOrMisdescribedDocumentsAreNotFound) {
  add({kU});
  EXPECT_EQ(cancel("99999999-2222-3333-4444-555555555555"), -2);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("205"), std::string::npos);
  EXPECT_EQ(cancel(kU, "1102.00", "XAXX010101000"), -2) << "receiver differs";
  EXPECT_EQ(cancel(kU, "1103.00"), -2) << "total differs";
  EXPECT_EQ(cancel("not-a-uuid"), -2);

  EXPECT_EQ(status("99999999-2222-3333-4444-555555555555"), -2);
  EXPECT_EQ(ini_value("StatusCFDI.INI", "CodigoEstatus"), "N - 602: Comprobante no encontrado.");
  EXPECT_EQ(ini_value("StatusCFDI.INI", "Estado"), "No Encontrado");
  EXPECT_EQ(status(kU, "1102.0"), 2) << "totals compare by value";
  // Nothing of the above touched the document.
  EXPECT_EQ(ini_value("StatusCFDI.INI", "Estado"), "Vigente");
}

TEST_F(CancellationTest, CsdProblemsAreInternalErrorsAndChangeNothing) {
  add({kU});
  EXPECT_EQ(cancel(kU, "1102.00", kReceiver, "wrong password"), -3);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("[ERROR] la contraseña no abre"), std::string::npos)
      << file_text("CancelaCFDI.LOG");
  EXPECT_EQ(ini_value("CancelaCFDI.INI", "Resultado"), "-3");
  // The other sample issuer's CSD does not belong to this issuer.
  EXPECT_EQ(cancel(kU, "1102.00", kReceiver, "24681357q", kIssuer, "CSD_KIJ0906199R1"), -3);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("KIJ0906199R1"), std::string::npos);
  EXPECT_EQ(cancel(kU, "1102.00", kReceiver, "24681357q", kIssuer, "CSD_MISSING"), -3);
  // "del certificado", never "de el" (the log wraps after "del" here).
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("[ERROR] no existe el archivo del"),
            std::string::npos)
      << file_text("CancelaCFDI.LOG");
  EXPECT_EQ(status(kU), 2);
}

TEST_F(CancellationTest, DamagedOrMissingStateFileIsAnInternalError) {
  add({kU});
  portable::write_file_atomic("Drovanexis.db", "this is not a database, only some text");
  EXPECT_EQ(cancel(kU), -3);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("[ERROR]"), std::string::npos);
  EXPECT_EQ(status(kU), -3);
  EXPECT_NE(file_text("StatusCFDI.LOG").find("[ERROR]"), std::string::npos);
  std::filesystem::remove("Drovanexis.db");
  EXPECT_EQ(status(kU), -3);
  EXPECT_EQ(ini_value("StatusCFDI.INI", "Resultado"), "-3");
}

// The ledger changes only together with an answer the caller can read.
TEST_F(CancellationTest, UnwritableResultFileLeavesTheDocumentInForce) {
  add({kU});
  EXPECT_EQ(services::cancel_cfdi({"demo_valdorin",
                                   {kU, kIssuer, kReceiver, "1102.00"},
                                   "CSD_CACX7605101P8.cer",
                                   "CSD_CACX7605101P8.key",
                                   "24681357q"},
                                  "no-such-folder/CancelaCFDI.INI", "CancelaCFDI.LOG", now_),
            -3);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("no-such-folder"), std::string::npos);
  EXPECT_EQ(status(kU), 2);
  EXPECT_EQ(cancel(kU), 0);
}

TEST_F(CancellationTest, PendingRequestIsAcceptedBySilenceAfter72Hours) {
  add({kU, kIssuer, kReceiver, "9000.00"});
  EXPECT_EQ(cancel(kU, "9000.00"), 1);
  EXPECT_EQ(cancel(kU, "9000.00"), 1) << "a second request while one is in process";
  EXPECT_EQ(status(kU, "9000.00", kIssuer, now_ + hours(71)), 0);
  EXPECT_EQ(status(kU, "9000.00", kIssuer, now_ + hours(73)), -1);
  EXPECT_EQ(ini_value("StatusCFDI.INI", "EstatusCancelacion"), "Plazo vencido");
  EXPECT_EQ(ini_value("StatusCFDI.INI", "Estado"), "Cancelado");
}

TEST_F(CancellationTest, DocumentRelatedByAnotherInForceIsNotCancellable) {
  add({kU});
  add({"AAAAAAAA-2222-3333-4444-555555555555", kIssuer, kReceiver, "1102.00", "I", 100, "MXN", "",
       kU});
  EXPECT_EQ(status(kU), 1);
  EXPECT_EQ(ini_value("StatusCFDI.INI", "EsCancelable"), "No cancelable");
  EXPECT_EQ(cancel(kU), -1);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("204"), std::string::npos);
  EXPECT_EQ(cancel("AAAAAAAA-2222-3333-4444-555555555555"), 0);
  EXPECT_EQ(cancel(kU), 0) << "once the relating document is cancelled";
}

// The answers a user of the demo sees, from the two sample documents alone.
TEST_F(CancellationTest, SampleDocumentGoesFromCancellableToCancelled) {
  const std::string uuid(kSampleInForceUuid);
  EXPECT_EQ(status(uuid), 2);
  EXPECT_EQ(ini_value("StatusCFDI.INI", "CodigoEstatus"),
            "S - Comprobante obtenido satisfactoriamente.");
  EXPECT_EQ(ini_value("StatusCFDI.INI", "EsCancelable"), "Cancelable sin aceptación");
  EXPECT_EQ(cancel(uuid), 0);
  EXPECT_EQ(ini_value("CancelaCFDI.INI", "Estado"), "Cancelado");
  EXPECT_EQ(status(uuid), -1);
  EXPECT_EQ(ini_value("StatusCFDI.INI", "EstatusCancelacion"), "Cancelado sin aceptación");
  EXPECT_EQ(cancel(uuid), -1);
  EXPECT_EQ(ini_value("CancelaCFDI.INI", "CodigoEstatus"), "202");

  const std::string log = portable::read_file("StatusCFDI.LOG").value_or("");
  EXPECT_NE(log.find("\r\n"), std::string::npos);
  EXPECT_EQ(log.find("\n\n"), std::string::npos);
}

}  // namespace
}  // namespace drovanexis::sandbox
