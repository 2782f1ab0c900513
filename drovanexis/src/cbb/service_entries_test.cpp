// The service entries as the demo calls them: argument positions, file names
// written with ".\" and read back in another letter case, and the answers that
// follow from the sample ledger.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "drovanexis.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/cancellation_store.h"
#include "sandbox/sandbox_test_support.h"
#include "sandbox/state_file.h"
#include "tests/support/command_output.h"

namespace {

std::string command_output(const std::string& command) {
  return test_support::run_command_line(command).output;
}

std::string read(const char* name) {
  return portable::cp1252_to_utf8(portable::read_file(name).value_or(""));
}

class ServiceEntriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DROVANEXIS_SANDBOX_DB");
    drovanexis::sandbox::testing::prepare_working_folder();
  }

  portable::TestFolder folder_;
};

// No service writes its result, log, acknowledgement or bitmap over the
// provider's state, the library's log or an input of the same call.
TEST_F(ServiceEntriesTest, FilesTheLibraryKeepsAreNeverServiceOutputs) {
  const std::string state = *portable::read_file("Drovanexis.db");
  const std::string key = *portable::read_file("CSD_CACX7605101P8.key");
  EXPECT_EQ(Drovanexis_GeneraCBB("?re=AAA010101AAA", ".\\DROVANEXIS.DB", 0, "cbb.log", 1, 4, 4),
            DROVANEXIS_CBB_NOT_WRITTEN);
  EXPECT_EQ(Drovanexis_GeneraCBB("?re=AAA010101AAA", "qr.bmp", 0, "drovanexis.db", 1, 4, 4),
            DROVANEXIS_CBB_NOT_WRITTEN);
  EXPECT_EQ(Drovanexis_GetStatusCFDI("demo_valdorin", "CACX7605101P8", "VDN020304QX7", "1102.00",
                                     "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3", "Drovanexis.DB",
                                     "status.log"),
            DROVANEXIS_STATUS_INTERNAL_ERROR);
  EXPECT_EQ(Drovanexis_CancelaCFDI("demo_valdorin", "CACX7605101P8", "VDN020304QX7", "1102.00",
                                   "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3", "CSD_CACX7605101P8.cer",
                                   "CSD_CACX7605101P8.key", "24681357q", "cancel.ini",
                                   ".\\csd_cacx7605101p8.KEY"),
            DROVANEXIS_CANCEL_INTERNAL_ERROR);
  EXPECT_EQ(Drovanexis_RecuperaAcuseCancelacion("demo_valdorin", "AAA010101AAA",
                                                "F94FE4AC-4743-4745-BA99-E0D13100331D", "acuse.res",
                                                "/dev/null", "acuse.log", nullptr),
            DROVANEXIS_ACK_ERROR);
  EXPECT_EQ(portable::read_file("Drovanexis.db"), state);
  EXPECT_EQ(portable::read_file("CSD_CACX7605101P8.key"), key);
  // The document stays in force: the refused cancellation did nothing.
  EXPECT_EQ(
      Drovanexis_GetStatusCFDI("demo_valdorin", "CACX7605101P8", "VDN020304QX7", "1102.00",
                               "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3", "status.ini", "status.log"),
      DROVANEXIS_STATUS_CANCELLABLE);
}

TEST_F(ServiceEntriesTest, CerTo64IsTheBase64OfTheFile) {
  // The demo names the file with an upper-case extension.
  const std::string expected = command_output("base64 -w0 CSD_KIJ0906199R1.cer");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(Drovanexis_CerTo64("CSD_KIJ0906199R1.CER"), expected);

  // A PEM file gives the Base64 of its DER.
  std::string pem = "-----BEGIN CERTIFICATE-----\n";
  for (std::size_t at = 0; at < expected.size(); at += 64) pem += expected.substr(at, 64) + "\n";
  pem += "-----END CERTIFICATE-----\n";
  portable::write_file_atomic("kij.pem", pem);
  EXPECT_EQ(Drovanexis_CerTo64("kij.pem"), expected);

  EXPECT_STREQ(Drovanexis_CerTo64("missing.cer"), "");
  portable::write_file_atomic("broken.cer", "not a certificate");
  EXPECT_STREQ(Drovanexis_CerTo64("broken.cer"), "");
  EXPECT_STREQ(Drovanexis_CerTo64(nullptr), "");
}

TEST_F(ServiceEntriesTest, GeneraCbbWritesTheBitmapAndAppendsTheLog) {
  const char* query = "?re=AAA010101AAA&rr=FOHG380609Q76...";
  EXPECT_EQ(Drovanexis_GeneraCBB(query, ".\\QR_ind.BMP", 0, ".\\QR.LOG", 1, 4, 5), 0);
  EXPECT_EQ(Drovanexis_GeneraCBB(query, ".\\QR_dep.BMP", 1, ".\\QR.LOG", 1, 4, 5), 0);
  EXPECT_TRUE(portable::read_file(".\\qr_ind.bmp"));
  EXPECT_TRUE(portable::read_file(".\\qr_dep.bmp"));
  const std::string log = read("qr.log");
  EXPECT_NE(log.find("Modo 0"), std::string::npos) << log;
  EXPECT_NE(log.find("Modo 1"), std::string::npos) << log;
  EXPECT_NE(Drovanexis_GeneraCBB(query, ".\\QR_bad.BMP", 7, ".\\QR.LOG", 1, 4, 5), 0);
}

// Options 10, 9, 10 and 11 of the demo in a fresh folder.
TEST_F(ServiceEntriesTest, DemoSequenceFollowsFromTheSampleLedger) {
  const char* uuid = "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3";
  auto status = [&] {
    return Drovanexis_GetStatusCFDI("demo_valdorin", "CACX7605101P8", "VDN020304QX7", "1102.00",
                                    uuid, "StatusCFDI.INI", "StatusCFDI.LOG");
  };
  EXPECT_EQ(status(), 2) << read("StatusCFDI.LOG");
  EXPECT_EQ(Drovanexis_CancelaCFDI("demo_valdorin", "CACX7605101P8", "VDN020304QX7", "1102.00",
                                   uuid, ".\\CSD_CACX7605101P8.CER", ".\\CSD_CACX7605101P8.KEY",
                                   "24681357q", "CancelaCFDI.INI", "CancelaCFDI.LOG"),
            0)
      << read("CancelaCFDI.LOG");
  EXPECT_NE(read("CancelaCFDI.INI").find("EstatusCancelacion=Cancelado sin aceptación\r\n"),
            std::string::npos);
  // The entry takes no Motivo: its requests are made, and recorded, with 02,
  // which the result file says in a line of its own among the usual ones.
  std::string keys;
  const std::string ini = read("CancelaCFDI.INI");
  for (std::size_t at = 0; at < ini.size(); at = ini.find("\r\n", at) + 2) {
    keys += ini.substr(at, ini.find('=', at) - at) + " ";
  }
  EXPECT_EQ(keys,
            "UUID RfcEmisor RfcReceptor Total Motivo Estado EsCancelable EstatusCancelacion "
            "CodigoEstatus Descripcion Fecha Resultado ");
  EXPECT_NE(ini.find("\r\nMotivo=02\r\n"), std::string::npos) << ini;
  const auto request = drovanexis::sandbox::latest_cancellation_request(
      *drovanexis::sandbox::open_existing_state("Drovanexis.db"), uuid);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->motivo, "02");
  EXPECT_EQ(status(), -1);
  EXPECT_EQ(Drovanexis_RecuperaAcuseCancelacion(
                "demo_valdorin", "AAA010101AAA", "F94FE4AC-4743-4745-BA99-E0D13100331D",
                ".\\Recupera.res", ".\\Recupera.xml", ".\\Recupera.log", ""),
            1);
  EXPECT_NE(read(".\\Recupera.xml").find("<Acuse"), std::string::npos);
  EXPECT_NE(read(".\\Recupera.LOG").find("Resultado: 1"), std::string::npos);
}

}  // namespace
