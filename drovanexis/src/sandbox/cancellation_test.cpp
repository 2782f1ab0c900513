// Cancellation and status query against ledgers the tests prepare: the
// cancellation rules, the answers after a cancellation, and the failures.
#include "services/cancellation.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "portable/cp1252.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/cancellation_store.h"
#include "sandbox/ledger.h"
#include "sandbox/sandbox_init.h"
#include "sandbox/sandbox_test_support.h"
#include "sandbox/state_file.h"
#include "sandbox/state_schema.h"
#include "time/business_days.h"
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
  const char* total = "800.00";
  const char* type = "I";
  int stamped_hours_ago = 100;
  const char* currency = "MXN";
  const char* exchange_rate = "";
  const char* inner_xml = "";  // relations, complements: what follows the Receptor
  const char* receiver_regime = "";
  const char* status = "Vigente";
  const char* fecha = "";  // "" : the time of stamping
};

// TipoRelacion 04: the document replaces `uuid`.
std::string replacing(const std::string& uuid) {
  return "<cfdi:CfdiRelacionados TipoRelacion=\"04\"><cfdi:CfdiRelacionado UUID=\"" + uuid +
         "\"/></cfdi:CfdiRelacionados>";
}

// A payment receipt that pays `uuid`.
std::string paying(const std::string& uuid) {
  return "<cfdi:Complemento><pago10:Pagos xmlns:pago10=\"http://www.sat.gob.mx/Pagos\" "
         "Version=\"1.0\"><pago10:Pago><pago10:DoctoRelacionado IdDocumento=\"" +
         uuid + "\"/></pago10:Pago></pago10:Pagos></cfdi:Complemento>";
}

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
    entry.fecha_timbrado = central_mexico::format(stamped_at(e));
    entry.fecha = *e.fecha ? e.fecha : entry.fecha_timbrado;
    entry.status = e.status;
    std::string rate =
        *e.exchange_rate ? std::string(" TipoCambio=\"") + e.exchange_rate + "\"" : "";
    std::string regime = *e.receiver_regime
                             ? std::string(" RegimenFiscalReceptor=\"") + e.receiver_regime + "\""
                             : "";
    entry.stamped_xml = std::string(
                            "<cfdi:Comprobante xmlns:cfdi=\"http://www.sat.gob.mx/cfd/3\" "
                            "Moneda=\"") +
                        e.currency + "\"" + rate + " Total=\"" + e.total + "\">" +
                        "<cfdi:Receptor Rfc=\"" + e.receiver + "\"" + regime + "/>" + e.inner_xml +
                        "</cfdi:Comprobante>";
    insert_ledger_entry(*open_existing_state("Drovanexis.db"), entry);
  }

  Clock::time_point stamped_at(const Entry& e) const {
    return stamped_base_ ? *stamped_base_ : now_ - hours(e.stamped_hours_ago);
  }

  int cancel(const std::string& uuid, const std::string& total = "800.00",
             const std::string& receiver = kReceiver, const std::string& password = "24681357q",
             const std::string& issuer = kIssuer, const std::string& csd = "CSD_CACX7605101P8") {
    return cancel_for(uuid, "02", "", total, receiver, password, issuer, csd);
  }

  int cancel_for(const std::string& uuid, const std::string& motivo, const std::string& replacement,
                 const std::string& total = "800.00", const std::string& receiver = kReceiver,
                 const std::string& password = "24681357q", const std::string& issuer = kIssuer,
                 const std::string& csd = "CSD_CACX7605101P8") {
    return services::cancel_cfdi({"demo_valdorin",
                                  {uuid, issuer, receiver, total},
                                  ".\\" + csd + ".CER",
                                  ".\\" + csd + ".KEY",
                                  password,
                                  motivo,
                                  replacement},
                                 "CancelaCFDI.INI", "CancelaCFDI.LOG", now_);
  }

  int status(const std::string& uuid, const std::string& total = "800.00",
             const std::string& issuer = kIssuer, Clock::time_point when = {},
             const std::string& receiver = kReceiver) {
    return services::query_status({"demo_valdorin", {uuid, issuer, receiver, total}},
                                  "StatusCFDI.INI", "StatusCFDI.LOG",
                                  when == Clock::time_point{} ? now_ : when);
  }

  std::optional<CancellationRecord> last_request(const std::string& uuid) {
    return latest_cancellation_request(*open_existing_state("Drovanexis.db"), uuid);
  }

  std::string ledger_status(const std::string& uuid) {
    return find_ledger_entry(*open_existing_state("Drovanexis.db"), uuid)->status;
  }

  // The four status fields and ValidacionEFOS of the last status answer.
  std::string status_fields() {
    std::string joined;
    for (const char* key : {"Estado", "EsCancelable", "EstatusCancelacion", "ValidacionEFOS"}) {
      joined += ini_value("StatusCFDI.INI", key) + "|";
    }
    return joined;
  }

  portable::TestFolder folder_;
  Clock::time_point now_ = Clock::now();
  std::optional<Clock::time_point> stamped_base_;
};

std::string carta_porte_moving(const char* goods) {
  return std::string(
             "<cfdi:Complemento><cartaporte20:CartaPorte "
             "xmlns:cartaporte20=\"http://www.sat.gob.mx/CartaPorte20\" Version=\"2.0\">"
             "<cartaporte20:Mercancias><cartaporte20:Mercancia BienesTransp=\"") +
         goods + "\"/></cartaporte20:Mercancias></cartaporte20:CartaPorte></cfdi:Complemento>";
}

constexpr const char* kU = "11111111-2222-3333-4444-555555555555";
constexpr const char* kV = "AAAAAAAA-2222-3333-4444-555555555555";
constexpr const char* kW = "BBBBBBBB-2222-3333-4444-555555555555";

enum class When { kPastTheWindow, kLastSecondOfTheWindow, kWindowEnded };

struct RuleCase {
  const char* name;
  Entry entry;
  When when;
  int cancel_result;
  const char* code;
  const char* cancellable_before;  // EsCancelable of a status query before
  int status_after;
};

// Every case is stamped at the same moment; the request comes past the
// business day after it unless the case is about that window.
TEST_F(CancellationTest, RulesDecideWhetherTheReceiverMustAccept) {
  const std::string fuel = carta_porte_moving("15101505");
  const std::string gravel = carta_porte_moving("11111501");
  const char* sin = "Cancelable sin aceptación";
  const char* con = "Cancelable con aceptación";
  const RuleCase cases[] = {
      {"at 1,000.00", {.uuid = kU, .total = "1000.00"}, When::kPastTheWindow, 0, "201", sin, -1},
      {"over 1,000.00", {.uuid = kU, .total = "1000.01"}, When::kPastTheWindow, 1, "201", con, 0},
      {"60 USD at 20.00 is 1,200 MXN",
       {.uuid = kU, .total = "60.00", .currency = "USD", .exchange_rate = "20.00"},
       When::kPastTheWindow,
       1,
       "201",
       con,
       0},
      {"40 USD at 20.00 is 800 MXN",
       {.uuid = kU, .total = "40.00", .currency = "USD", .exchange_rate = "20.00"},
       When::kPastTheWindow,
       0,
       "201",
       sin,
       -1},
      {"payroll",
       {.uuid = kU, .total = "9000.00", .type = "N"},
       When::kPastTheWindow,
       0,
       "201",
       sin,
       -1},
      {"egreso",
       {.uuid = kU, .total = "9000.00", .type = "E"},
       When::kPastTheWindow,
       0,
       "201",
       sin,
       -1},
      {"traslado of other goods",
       {.uuid = kU, .total = "9000.00", .type = "T", .inner_xml = gravel.c_str()},
       When::kPastTheWindow,
       0,
       "201",
       sin,
       -1},
      {"traslado of fuels",
       {.uuid = kU, .total = "9000.00", .type = "T", .inner_xml = fuel.c_str()},
       When::kPastTheWindow,
       1,
       "201",
       con,
       0},
      {"ingreso to the regime of fiscal incorporation",
       {.uuid = kU, .total = "9000.00", .receiver_regime = "621"},
       When::kPastTheWindow,
       0,
       "201",
       sin,
       -1},
      {"ingreso to another regime",
       {.uuid = kU, .total = "9000.00", .receiver_regime = "601"},
       When::kPastTheWindow,
       1,
       "201",
       con,
       0},
      {"global invoice to the public",
       {.uuid = kU, .receiver = "XAXX010101000", .total = "9000.00"},
       When::kPastTheWindow,
       0,
       "201",
       sin,
       -1},
      {"foreigner",
       {.uuid = kU, .receiver = "XEXX010101000", .total = "9000.00"},
       When::kPastTheWindow,
       0,
       "201",
       sin,
       -1},
      {"last second of the business day after stamping",
       {.uuid = kU, .total = "9000.00"},
       When::kLastSecondOfTheWindow,
       0,
       "201",
       sin,
       -1},
      {"once that business day ended",
       {.uuid = kU, .total = "9000.00"},
       When::kWindowEnded,
       1,
       "201",
       con,
       0},
      {"another issuer's UUID",
       {.uuid = kU, .issuer = "KIJ0906199R1"},
       When::kPastTheWindow,
       -1,
       "203",
       sin,
       2},
      {"already cancelled",
       {.uuid = kU, .status = "Cancelado"},
       When::kPastTheWindow,
       -1,
       "202",
       sin,
       -1},
  };
  const LocalDateTime stamped = central_mexico::local_time(Clock::now() - hours(24 * 30));
  const auto window_ends = central_mexico::instant(end_of_business_days_after(stamped, 1));
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.name);
    portable::TestFolder folder;
    testing::prepare_working_folder();
    stamped_base_ = central_mexico::instant(stamped);
    switch (c.when) {
      case When::kPastTheWindow: now_ = window_ends + hours(24); break;
      case When::kLastSecondOfTheWindow: now_ = window_ends - std::chrono::seconds(1); break;
      case When::kWindowEnded: now_ = window_ends; break;
    }
    const Entry& entry = c.entry;
    add(entry);
    status(kU, entry.total, entry.issuer, now_, entry.receiver);
    EXPECT_EQ(ini_value("StatusCFDI.INI", "EsCancelable"), c.cancellable_before)
        << file_text("StatusCFDI.LOG");
    EXPECT_EQ(cancel(kU, entry.total, entry.receiver), c.cancel_result)
        << file_text("CancelaCFDI.LOG");
    EXPECT_EQ(ini_value("CancelaCFDI.INI", "CodigoEstatus"), c.code);
    EXPECT_EQ(ini_value("CancelaCFDI.INI", "Resultado"), std::to_string(c.cancel_result));
    EXPECT_EQ(status(kU, entry.total, entry.issuer, now_, entry.receiver), c.status_after)
        << file_text("StatusCFDI.LOG");
  }
}

TEST_F(CancellationTest, UnknownOrMisdescribedDocumentsAreNotFound) {
  add({kU});
  EXPECT_EQ(cancel("99999999-2222-3333-4444-555555555555"), -2);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("205"), std::string::npos);
  EXPECT_EQ(cancel(kU, "800.00", "XAXX010101000"), -2) << "receiver differs";
  EXPECT_EQ(cancel(kU, "1103.00"), -2) << "total differs";
  EXPECT_EQ(cancel("not-a-uuid"), -2);

  EXPECT_EQ(status("99999999-2222-3333-4444-555555555555"), -2);
  EXPECT_EQ(ini_value("StatusCFDI.INI", "CodigoEstatus"), "N - 602: Comprobante no encontrado.");
  EXPECT_EQ(ini_value("StatusCFDI.INI", "Estado"), "No Encontrado");
  EXPECT_EQ(status(kU, "800.0"), 2) << "totals compare by value";
  // Nothing of the above touched the document.
  EXPECT_EQ(ini_value("StatusCFDI.INI", "Estado"), "Vigente");
}

TEST_F(CancellationTest, CsdProblemsAreInternalErrorsAndChangeNothing) {
  add({kU});
  EXPECT_EQ(cancel(kU, "800.00", kReceiver, "wrong password"), -3);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("[ERROR] la contraseña no abre"), std::string::npos)
      << file_text("CancelaCFDI.LOG");
  EXPECT_EQ(ini_value("CancelaCFDI.INI", "Resultado"), "-3");
  // The other sample issuer's CSD does not belong to this issuer.
  EXPECT_EQ(cancel(kU, "800.00", kReceiver, "24681357q", kIssuer, "CSD_KIJ0906199R1"), -3);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("KIJ0906199R1"), std::string::npos);
  EXPECT_EQ(cancel(kU, "800.00", kReceiver, "24681357q", kIssuer, "CSD_MISSING"), -3);
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
                                   {kU, kIssuer, kReceiver, "800.00"},
                                   "CSD_CACX7605101P8.cer",
                                   "CSD_CACX7605101P8.key",
                                   "24681357q"},
                                  "no-such-folder/CancelaCFDI.INI", "CancelaCFDI.LOG", now_),
            -3);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("no-such-folder"), std::string::npos);
  EXPECT_EQ(status(kU), 2);
  EXPECT_EQ(cancel(kU), 0);
}

struct MotivoCase {
  const char* name;
  const char* motivo;
  const char* replacement;  // "" none
  int result;
  const char* in_description;  // "" : accepted
};

// kU is cancelled; kV is a later document of the same issuer that replaces
// it (TipoRelacion 04); kW does not relate it; the other issuer's document
// and a cancelled one replace it too.
TEST_F(CancellationTest, MotivoAndReplacementAreCheckedBeforeAnythingIsRecorded) {
  constexpr const char* kOtherIssuers = "CCCCCCCC-2222-3333-4444-555555555555";
  constexpr const char* kCancelledReplacement = "DDDDDDDD-2222-3333-4444-555555555555";
  const MotivoCase cases[] = {
      {"01 replaced by a document that relates it", "01", kV, 0, ""},
      {"02", "02", "", 0, ""},
      {"03", "03", "", 0, ""},
      {"04", "04", "", 0, ""},
      {"01 without a replacement", "01", "", -1, "requiere el FolioSustitucion"},
      {"01 with an unknown replacement", "01", "EEEEEEEE-2222-3333-4444-555555555555", -1,
       "no existe un CFDI timbrado"},
      {"01 with a replacement that is no UUID", "01", "nada", -1, "no es un UUID"},
      {"01 replaced by another issuer's document", "01", kOtherIssuers, -1,
       "es del emisor KIJ0906199R1"},
      {"01 replaced by a document that does not relate it so", "01", kW, -1,
       "no relaciona al CFDI"},
      {"01 replaced by itself", "01", kU, -1, "el mismo CFDI"},
      {"01 replaced by a cancelled document", "01", kCancelledReplacement, -1, "no está vigente"},
      {"02 with a replacement", "02", kV, -1, "solo se admite con el Motivo 01"},
      {"05", "05", "", -1, "no es válido"},
      {"no Motivo", "", "", -1, "no indica el Motivo"},
  };
  for (const MotivoCase& c : cases) {
    SCOPED_TRACE(c.name);
    portable::TestFolder folder;
    testing::prepare_working_folder();
    add({.uuid = kU});
    add({.uuid = kV, .inner_xml = replacing(kU).c_str()});
    add({.uuid = kW});
    add({.uuid = kOtherIssuers, .issuer = "KIJ0906199R1", .inner_xml = replacing(kU).c_str()});
    add({.uuid = kCancelledReplacement, .inner_xml = replacing(kU).c_str(), .status = "Cancelado"});

    EXPECT_EQ(cancel_for(kU, c.motivo, c.replacement), c.result) << file_text("CancelaCFDI.LOG");
    EXPECT_EQ(ini_value("CancelaCFDI.INI", "Motivo"), c.motivo);
    const auto request = last_request(kU);
    if (c.result == 0) {
      ASSERT_TRUE(request);
      EXPECT_EQ(request->motivo, c.motivo);
      EXPECT_EQ(request->folio_sustitucion, c.replacement);
      EXPECT_EQ(ledger_status(kU), "Cancelado");
    } else {
      EXPECT_NE(ini_value("CancelaCFDI.INI", "Descripcion").find(c.in_description),
                std::string::npos)
          << ini_value("CancelaCFDI.INI", "Descripcion");
      EXPECT_FALSE(request) << "nothing recorded";
      EXPECT_EQ(ledger_status(kU), "Vigente");
      EXPECT_FALSE(find_acknowledgement(*open_existing_state("Drovanexis.db"), kU, kIssuer));
    }
  }
}

// A request that needs the receiver: accepted, rejected, or left to its
// period of three business days, with the status service's fields in each
// state.
TEST_F(CancellationTest, ReceiverAcceptsRejectsOrLetsThePeriodEnd) {
  const auto answer = [&](bool accept, Clock::time_point at, const std::string& receiver = "") {
    return answer_cancellation_request(*open_existing_state("Drovanexis.db"), kU, receiver, accept,
                                       at);
  };
  add({.uuid = kU, .total = "9000.00"});
  EXPECT_EQ(status(kU, "9000.00"), 2);
  EXPECT_EQ(status_fields(), "Vigente|Cancelable con aceptación||200|");
  EXPECT_THROW(answer(true, now_), std::runtime_error) << "no request yet";

  EXPECT_EQ(cancel(kU, "9000.00"), 1);
  EXPECT_EQ(ini_value("CancelaCFDI.INI", "EstatusCancelacion"), "En proceso");
  EXPECT_EQ(cancel(kU, "9000.00"), 1) << "a second request while one is in process";
  EXPECT_EQ(status(kU, "9000.00"), 0);
  EXPECT_EQ(status_fields(), "Vigente|Cancelable con aceptación|En proceso|200|");

  EXPECT_THROW(answer(false, now_, "XAXX010101000"), std::runtime_error) << "not the receiver";
  EXPECT_EQ(answer(false, now_ + hours(1), kReceiver).status, "Solicitud rechazada");
  EXPECT_EQ(status(kU, "9000.00"), 2);
  EXPECT_EQ(status_fields(), "Vigente|Cancelable con aceptación|Solicitud rechazada|200|");
  EXPECT_THROW(answer(true, now_), std::runtime_error) << "already answered";

  // A new request after a rejection waits again; this time accepted.
  EXPECT_EQ(cancel(kU, "9000.00"), 1);
  EXPECT_EQ(answer(true, now_ + hours(2)).status, "Cancelado con aceptación");
  EXPECT_EQ(status(kU, "9000.00"), -1);
  EXPECT_EQ(status_fields(), "Cancelado|Cancelable con aceptación|Cancelado con aceptación|200|");
  EXPECT_EQ(cancel(kU, "9000.00"), -1);
  EXPECT_EQ(ini_value("CancelaCFDI.INI", "CodigoEstatus"), "202");

  // Silence: cancelled once the third business day after the request ends.
  add({.uuid = kV, .total = "9000.00"});
  EXPECT_EQ(cancel(kV, "9000.00"), 1);
  const auto requested = central_mexico::local_time(now_);
  const auto ends = central_mexico::instant(end_of_business_days_after(requested, 3));
  EXPECT_EQ(status(kV, "9000.00", kIssuer, ends - std::chrono::seconds(1)), 0);
  EXPECT_EQ(status(kV, "9000.00", kIssuer, ends), -1);
  EXPECT_EQ(status_fields(), "Cancelado|Cancelable con aceptación|Plazo vencido|200|");
  EXPECT_EQ(last_request(kV)->answered_at,
            format_date_time(end_of_business_days_after(requested, 3)));
  EXPECT_THROW(answer_cancellation_request(*open_existing_state("Drovanexis.db"), kV, "", false,
                                           ends + hours(1)),
               std::runtime_error)
      << "too late to reject";

  EXPECT_EQ(status("99999999-2222-3333-4444-555555555555"), -2);
  EXPECT_EQ(status_fields(), "No Encontrado||||");
}

TEST_F(CancellationTest, DocumentWithLiveRelatedDocumentsIsNotCancellable) {
  add({.uuid = kU});
  add({.uuid = kV, .type = "P", .inner_xml = paying(kU).c_str()});
  add({.uuid = kW, .inner_xml = replacing(kU).c_str()});
  EXPECT_EQ(status(kU), 1);
  EXPECT_EQ(status_fields(), "Vigente|No cancelable||200|");
  EXPECT_EQ(cancel(kU), -1);
  EXPECT_EQ(ini_value("CancelaCFDI.INI", "CodigoEstatus"), "204");
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("AAAAAAAA-2222"), std::string::npos)
      << "the log names the payment, not the replacement: " << file_text("CancelaCFDI.LOG");
  EXPECT_FALSE(last_request(kU));

  EXPECT_EQ(cancel(kV), 0) << "the payment receipt first";
  EXPECT_EQ(status(kU), 2) << "a replacement (04) does not hold it";
  EXPECT_EQ(cancel(kU), 0);
}

// The last month to cancel is the one the annual return of the document's
// year is due in: March for a company (12-character RFC), April for an
// individual (13).
TEST_F(CancellationTest, CancellationClosesAfterTheMonthOfTheAnnualReturn) {
  const int year = std::stoi(central_mexico::format(now_).substr(0, 4));
  const std::string fecha = std::to_string(year) + "-01-10T10:00:00";
  const auto instant_of = [&](unsigned month) {
    return central_mexico::instant(LocalDateTime::from_civil(year + 1, month, 1));
  };
  add({.uuid = kU, .fecha = fecha.c_str()});
  add({.uuid = kV, .issuer = "AAA010101AAA", .fecha = fecha.c_str()});

  EXPECT_EQ(status(kV, "800.00", "AAA010101AAA", instant_of(4) - std::chrono::seconds(1)), 2);
  EXPECT_EQ(status(kV, "800.00", "AAA010101AAA", instant_of(4)), 1);
  EXPECT_EQ(status_fields(), "Vigente|No cancelable||200|");
  EXPECT_EQ(status(kU, "800.00", kIssuer, instant_of(5) - std::chrono::seconds(1)), 2);
  EXPECT_EQ(status(kU, "800.00", kIssuer, instant_of(5)), 1);

  now_ = instant_of(5);
  EXPECT_EQ(cancel(kU), -1);
  EXPECT_NE(file_text("CancelaCFDI.LOG").find("plazo"), std::string::npos)
      << file_text("CancelaCFDI.LOG");
  EXPECT_FALSE(last_request(kU));
  now_ = instant_of(5) - std::chrono::seconds(1);
  EXPECT_EQ(cancel(kU), 0);
}

// A state file written before Motivos were kept: its requests stay readable
// and the file takes new ones.
TEST_F(CancellationTest, StateFileOfTheEarlierSchemaKeepsItsCancellations) {
  std::filesystem::remove("Drovanexis.db");
  {
    auto db = std::make_unique<SqliteDb>("Drovanexis.db");
    migrate_state_to(*db, 4);
    LedgerEntry entry;
    entry.uuid = kU;
    entry.issuer_rfc = kIssuer;
    entry.receiver_rfc = kReceiver;
    entry.total = "9000.00";
    entry.document_type = "I";
    entry.fecha = entry.fecha_timbrado = central_mexico::format(now_ - hours(24 * 20));
    entry.stamped_xml = "<cfdi:Comprobante xmlns:cfdi=\"http://www.sat.gob.mx/cfd/3\"/>";
    entry.status = "Cancelado";
    insert_ledger_entry(*db, entry);
    Statement(*db,
              "INSERT INTO cancellation_requests (uuid, issuer_rfc, requested_at, status, "
              "answered_at) VALUES (?, ?, ?, 'Cancelado sin aceptación', ?)")
        .bind(1, kU)
        .bind(2, kIssuer)
        .bind(3, entry.fecha_timbrado)
        .bind(4, entry.fecha_timbrado)
        .run();
  }
  testing::prepare_working_folder();  // opens it, as every use does: migrated
  EXPECT_EQ(state_schema_version(*open_existing_state("Drovanexis.db")), kStateSchemaVersion);
  const auto request = last_request(kU);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->status, "Cancelado sin aceptación");
  EXPECT_EQ(request->motivo, "");
  EXPECT_EQ(status(kU, "9000.00"), -1);
  EXPECT_EQ(status_fields(), "Cancelado|Cancelable con aceptación|Cancelado sin aceptación|200|");

  add({.uuid = kV, .total = "9000.00"});
  EXPECT_EQ(cancel_for(kV, "03", "", "9000.00"), 1);
  EXPECT_EQ(last_request(kV)->motivo, "03");
}

// The answers a user of the demo sees, from the two sample documents alone.
TEST_F(CancellationTest, SampleDocumentGoesFromCancellableToCancelled) {
  const std::string uuid(kSampleInForceUuid);
  EXPECT_EQ(status(uuid, "1102.00"), 2);
  EXPECT_EQ(ini_value("StatusCFDI.INI", "CodigoEstatus"),
            "S - Comprobante obtenido satisfactoriamente.");
  EXPECT_EQ(ini_value("StatusCFDI.INI", "EsCancelable"), "Cancelable sin aceptación");
  EXPECT_EQ(cancel(uuid, "1102.00"), 0);
  EXPECT_EQ(ini_value("CancelaCFDI.INI", "Estado"), "Cancelado");
  EXPECT_EQ(status(uuid, "1102.00"), -1);
  EXPECT_EQ(ini_value("StatusCFDI.INI", "EstatusCancelacion"), "Cancelado sin aceptación");
  EXPECT_EQ(cancel(uuid, "1102.00"), -1);
  EXPECT_EQ(ini_value("CancelaCFDI.INI", "CodigoEstatus"), "202");

  const std::string log = portable::read_file("StatusCFDI.LOG").value_or("");
  EXPECT_NE(log.find("\r\n"), std::string::npos);
  EXPECT_EQ(log.find("\n\n"), std::string::npos);
}

}  // namespace
}  // namespace drovanexis::sandbox
