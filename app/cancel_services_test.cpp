// Options 9-11 against the recording library: the one call each makes, the
// message each result code gives, the files shown on the two sides, and the
// menu given back afterwards.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/operations.h"
#include "binding/testing/recording_client.h"
#include "console/console.h"
#include "tests/support/test_folder.h"

namespace app {
namespace {

using console::attr::make;

std::string padded(std::string text) {
  text.resize(80, ' ');
  return text;
}

struct CodeMessage {
  int code;
  std::string message;  // "" where row 4 stays empty
};

struct Service {
  std::string name;
  std::function<void()> run;
  std::string entry;
  std::string call;  // as the recording library writes it down
  std::string title;
  std::vector<CodeMessage> codes;
  // The files the library writes, as this system names them, and their texts.
  std::string result_file;
  std::string log_file;
};

const std::vector<Service>& services() {
  static const std::vector<Service> all = {
      {"CANCELACFDI",
       CANCELACFDI,
       "Drovanexis_CancelaCFDI",
       R"(Drovanexis_CancelaCFDI("demo_valdorin", "CACX7605101P8", "VDN020304QX7", "1102.00", )"
       R"("b9b2902e-2f4f-4e9f-b959-6aa615b92ae3", ".\x5CCSD_CACX7605101P8.CER", )"
       R"(".\x5CCSD_CACX7605101P8.KEY", "24681357q", "CancelaCFDI.INI", "CancelaCFDI.LOG"))",
       " Resultado de la Cancelaci\xF3n",
       {{1, "CFDI Cancelable con autorizaci\xF3n"},
        {0, "CFDI Cancelado directamente"},
        {-1, "CFDI NO es cancelable"},
        {-2, "CFDI No encontrado"},
        {-3,
         "Error interno de cancelaci\xF3n, revise la bit\xE1"
         "cora"},
        {2, ""},
        {-4, ""}},
       "CancelaCFDI.INI",
       "CancelaCFDI.LOG"},
      {"ESTADOCFDI",
       ESTADOCFDI,
       "Drovanexis_GetStatusCFDI",
       R"(Drovanexis_GetStatusCFDI("demo_valdorin", "CACX7605101P8", "VDN020304QX7", "1102.00", )"
       R"("b9b2902e-2f4f-4e9f-b959-6aa615b92ae3", "StatusCFDI.INI", "StatusCFDI.LOG"))",
       " Resultado de la Consulta",
       {{2, "CFDI Vigente y Cancelable"},
        {1, "CFDI Vigente, NO Cancelable"},
        {0, "CFDI Vigente con cancelaci\xF3n EN PROCESO"},
        {-1, "CFDI previamente cancelado"},
        {-2, "CFDI No encontrado"},
        {-3,
         "Error interno de verificaci\xF3n de CFDI, revise la bit\xE1"
         "cora"},
        {3, ""},
        {-4, ""}},
       "StatusCFDI.INI",
       "StatusCFDI.LOG"},
      {"ACUSECANCELA",
       ACUSECANCELA,
       "Drovanexis_RecuperaAcuseCancelacion",
       R"(Drovanexis_RecuperaAcuseCancelacion("demo_valdorin", "AAA010101AAA", )"
       R"("F94FE4AC-4743-4745-BA99-E0D13100331D", ".\x5CRecupera.res", ".\x5CRecupera.xml", )"
       R"(".\x5CRecupera.log", ""))",
       " Resultado de la Recuperaci\xF3n del Acuse de Cancelaci\xF3n",
       {{1, "Operaci\xF3n Exitosa, Acuse obtenido"},
        {0, "Operaci\xF3n Exitosa, pero no el acuse no se encuentra disponible"},
        {-1, "Error en la obtenci\xF3n del acuse"},
        {2, ""},
        {-2, ""},
        {-3, ""}},
       // Written as ".\Recupera.log", read back as ".\Recupera.LOG".
       "Recupera.xml",
       "Recupera.log"},
  };
  return all;
}

class CancelServicesTest : public ::testing::Test {
 protected:
  CancelServicesTest() { recording_.reset(); }

  std::string row(int r) const { return con_.screen().row_text(r); }
  std::uint8_t attr_at(int r, int c) const { return con_.screen().cell(r, c).attr; }

  // The menu as the operations find it.
  void draw_menu() {
    con_.set_colour("W+/N");
    con_.clear();
    con_.write_at(3, 21, "Seleccione una opcion", "W+/R");
    con_.write_at(13, 20, " 9) Cancelar CFDI con el nuevo esquema", "N/W");
    con_.set_position(13, 20);
  }

  static void write_file(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
  }

  test_support::TestFolder folder_;
  console::HeadlessBackend backend_;
  console::Console con_{backend_};
  ScopedConsole scoped_console_{con_};
  recording::ScopedLibrary scoped_library_{BINDING_RECORDING_LIBRARY};
  recording::RecordingLibrary recording_{BINDING_RECORDING_LIBRARY};
};

// Each code of a service's table gives its message on row 4; codes outside
// the table leave the row empty. The right-hand viewer still waits for its
// key when the screen is read.
TEST_F(CancelServicesTest, EachResultCodeGivesItsMessage) {
  for (const Service& service : services()) {
    write_file(service.result_file, "Resultado de " + service.name + "\r\nEstado=Vigente");
    write_file(service.log_file, "Bitacora de " + service.name);
    for (const CodeMessage& expected : service.codes) {
      SCOPED_TRACE(service.name + " code " + std::to_string(expected.code));
      draw_menu();
      recording_.set_integer_result(service.entry.c_str(), expected.code);
      backend_.push_key(27);
      EXPECT_THROW(service.run(), console::OutOfKeys);
      EXPECT_EQ(row(1), padded(service.title));
      EXPECT_EQ(row(3), padded(""));
      EXPECT_EQ(row(4), padded(expected.message));
      EXPECT_EQ(row(5), padded(""));
      const std::string left = "Resultado de " + service.name;
      const std::string right = "Bitacora de " + service.name;
      EXPECT_EQ(row(6), left + std::string(41 - left.size(), ' ') + right +
                            std::string(39 - right.size(), ' '));
      EXPECT_EQ(row(7).substr(0, 41), padded("Estado=Vigente").substr(0, 41));
      EXPECT_EQ(attr_at(6, 0), make(7, 2, true));
      EXPECT_EQ(attr_at(24, 40), make(7, 2, true));
      EXPECT_EQ(attr_at(6, 41), make(7, 4, true));
      EXPECT_EQ(attr_at(4, 0), make(7, 0, true));
    }
  }
}

// One call with the service's fixed values, nothing else; after both
// viewers the menu is back exactly as it was, with "W+/N" current. Missing
// result files show empty viewers.
TEST_F(CancelServicesTest, OneCallThenTheMenuComesBack) {
  for (const Service& service : services()) {
    SCOPED_TRACE(service.name);
    recording_.reset();
    draw_menu();
    const console::Screen menu = con_.screen();
    backend_.push_key(27);
    EXPECT_THROW(service.run(), console::OutOfKeys);
    EXPECT_EQ(row(6), padded(""));

    draw_menu();
    recording_.reset();
    backend_.push_keys({27, 27});
    service.run();
    EXPECT_EQ(recording_.calls(), std::vector<std::string>{service.call});
    EXPECT_EQ(con_.screen().cells(), menu.cells());
    EXPECT_EQ(con_.screen().cursor_row(), 13);
    EXPECT_EQ(con_.screen().cursor_column(), 20);
    EXPECT_EQ(con_.colour_string().substr(0, 5), "W+/N,");
    EXPECT_EQ(backend_.pending(), 0u);
  }
}

}  // namespace
}  // namespace app
