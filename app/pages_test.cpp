#include "app/pages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/pages_texts.h"
#include "binding/testing/recording_client.h"
#include "console/console.h"
#include "console/keys.h"
#include "tests/support/test_folder.h"

namespace app {
namespace {

using console::attr::make;

constexpr int kHandle = 7;
const std::uint8_t kBlue = make(7, 1, true);
const std::uint8_t kRed = make(7, 4, true);
const std::uint8_t kGreen = make(7, 2, true);
const std::uint8_t kBlack = make(7, 0, true);

std::string padded(std::string text) {
  text.resize(80, ' ');
  return text;
}

class PagesTest : public ::testing::Test {
 protected:
  PagesTest() {
    recording_.reset();
    for (int index = 1; index <= 18; ++index) {
      recording_.set_value(index, ("value " + std::to_string(index)).c_str());
    }
  }

  std::string row(int r) const { return con_.screen().row_text(r); }
  std::uint8_t attr_at(int r, int c) const { return con_.screen().cell(r, c).attr; }
  bool row_in(int r, std::uint8_t attr) const {
    for (int c = 0; c < 80; ++c) {
      if (attr_at(r, c) != attr) return false;
    }
    return true;
  }
  // The value indices read so far, in order.
  std::vector<int> values_read() const {
    std::vector<int> indices;
    const std::string prefix = "Drovanexis_GetValue(" + std::to_string(kHandle) + ", ";
    for (const std::string& call : recording_.calls()) {
      if (call.starts_with(prefix)) indices.push_back(std::stoi(call.substr(prefix.size())));
    }
    return indices;
  }

  console::HeadlessBackend backend_;
  console::Console con_{backend_};
  ScopedConsole scoped_console_{con_};
  recording::ScopedLibrary scoped_library_{BINDING_RECORDING_LIBRARY};
  recording::RecordingLibrary recording_{BINDING_RECORDING_LIBRARY};
};

TEST_F(PagesTest, WaitLineIsCutAtTheEdgeOnAnEmptyScreen) {
  con_.write_at(10, 0, "menu");
  const std::string message =
      " Procesando XML con Complemento de Carta Porte 1.0, Por favor espere ... ";
  show_wait_line(message);
  EXPECT_EQ(row(3), padded(std::string(5, ' ') + message));
  EXPECT_EQ(attr_at(3, 5), make(7, 4, false, true));
  EXPECT_EQ(attr_at(3, 4), make(7, 0));
  EXPECT_EQ(attr_at(3, 78), make(7, 0));
  EXPECT_EQ(row(10), padded(""));
  EXPECT_EQ(con_.colour_string(), "W/N,N/W,N/N,N/N,N/W");

  const std::string long_message = " " + std::string(90, 'w') + " ";
  show_wait_line(long_message);
  EXPECT_EQ(row(3), std::string(5, ' ') + long_message.substr(0, 75));
}

TEST_F(PagesTest, PageOneTitlesAreCutAtColumn79) {
  struct Case {
    std::string_view title;
    std::string shown;
  };
  const Case cases[] = {
      {title_simple, padded(std::string(title_simple))},
      {title_pagos,
       " Este es su comprobante fiscal Digital con Pagos 1.0 (Presione <Esc> para salir)"},
      {title_nomina,
       " Este es su comprobante fiscal Digital con Nomina 1.2 (Presione <Esc> para salir"},
      {title_carta_porte_10,
       " Este es su comprobante fiscal Digital con Carta Porte 1.0 (Presione <Esc> para "},
      {title_carta_porte_20,
       " Este es su comprobante fiscal Digital con Carta Porte 2.0 (Presione <Esc> para "},
      {title_externo,
       " Este es su comprobante fiscal Digital del XML Externo (Presione <Esc> para sali"},
  };
  for (const Case& c : cases) {
    EXPECT_THROW(show_success_sequence(kHandle, c.title, "missing.xml"), console::OutOfKeys);
    EXPECT_EQ(row(1), c.shown);
    EXPECT_TRUE(row_in(0, kBlue) && row_in(1, kBlue) && row_in(2, kBlue));
  }
}

TEST_F(PagesTest, SuccessSequenceShowsItsPagesInOrderFetchingEachValueWhenDrawn) {
  test_support::TestFolder folder;
  std::ofstream("CFDI33Simple.xml", std::ios::binary) << "<cfdi:Comprobante/>\r\n";
  con_.write_at(3, 5, "wait line");

  // Page 1: the stamped file over the wait line; nothing fetched yet.
  EXPECT_THROW(show_success_sequence(kHandle, title_simple, "cfdi33simple.XML"),
               console::OutOfKeys);
  EXPECT_EQ(row(3), padded("<cfdi:Comprobante/>"));
  EXPECT_EQ(cArchivo, "<cfdi:Comprobante/>\r\n");
  EXPECT_TRUE(values_read().empty());

  // Page 5: the stamp's seal.
  backend_.push_keys({27, 27, 27, 27});
  EXPECT_THROW(show_success_sequence(kHandle, title_simple, "CFDI33Simple.xml"),
               console::OutOfKeys);
  EXPECT_EQ(row(1).substr(0, 72), std::string(title_sello_timbre) + " ");
  EXPECT_EQ(row(3), padded("value 4"));
  EXPECT_EQ(values_read(), (std::vector<int>{5, 8, 7, 4}));

  recording_.reset();
  backend_.push_keys({27, 27, 27, 27, 27, 'a', 'b'});
  show_success_sequence(kHandle, title_simple, "CFDI33Simple.xml");
  EXPECT_EQ(backend_.pending(), 0u);
  EXPECT_EQ(values_read(),
            (std::vector<int>{5, 8, 7, 4, 3, 6, 1, 2, 13, 11, 12, 10, 9, 14, 15, 16, 17, 18}));
  EXPECT_EQ(con_.colour_string().substr(0, 5), "W+/N,");
}

// The stamped XML is UTF-8 and is shown with its letters; the original
// string comes from the library in Windows-1252 and is shown as it is.
TEST_F(PagesTest, PageOneShowsUtf8LettersAndTheOriginalStringKeepsItsBytes) {
  test_support::TestFolder folder;
  std::ofstream("CFDI33Simple.xml", std::ios::binary) << "<n a=\"n\xC3\xB3mina \xE4\xB8\xAD\"/>";
  recording_.set_value(5, "||n\xF3mina||");
  EXPECT_THROW(show_success_sequence(kHandle, title_simple, "CFDI33Simple.xml"),
               console::OutOfKeys);
  EXPECT_EQ(row(3), padded("<n a=\"n\xF3mina ?\"/>"));
  EXPECT_EQ(cArchivo, "<n a=\"n\xC3\xB3mina \xE4\xB8\xAD\"/>");  // the file's own bytes

  backend_.push_key(27);
  EXPECT_THROW(show_success_sequence(kHandle, title_simple, "CFDI33Simple.xml"),
               console::OutOfKeys);
  EXPECT_EQ(row(3), padded("||n\xF3mina||"));
}

TEST_F(PagesTest, PageThreeIsDrawnOverPageTwo) {
  recording_.set_value(5, "line one\r\nline two\r\nline three");
  recording_.set_value(8, "single");
  backend_.push_keys({27, 27});
  EXPECT_THROW(show_success_sequence(kHandle, title_simple, "missing.xml"), console::OutOfKeys);
  EXPECT_EQ(row(1), std::string(title_cadena_timbre).substr(0, 80));
  EXPECT_EQ(row(3), padded("single"));
  EXPECT_EQ(row(4), padded(""));  // the viewer cleared the rest of its window
}

TEST_F(PagesTest, CertificatesPageCutsValuesAtColumn79) {
  recording_.set_value(3, std::string(70, '3').c_str());
  recording_.set_value(6, "00001000000504465028");
  backend_.push_key('x');
  show_certificates_page(kHandle);
  EXPECT_EQ(row(1), padded(" Certificados"));
  EXPECT_EQ(row(4), "Certificado del CFDI:   " + std::string(56, '3'));
  EXPECT_EQ(row(5), padded(""));
  EXPECT_EQ(row(6), padded("Certificado del timbre: 00001000000504465028"));
  EXPECT_EQ(row(8), padded("Presione cualquier tecla para continuar ...x"));
  EXPECT_EQ(attr_at(4, 0), kBlack);
  EXPECT_EQ(values_read(), (std::vector<int>{3, 6}));
}

TEST_F(PagesTest, ValuesPageLabelsEndInColumn32) {
  recording_.set_value(9, std::string(60, 'u').c_str());
  backend_.push_key(console::key::f1);
  show_values_page(kHandle);
  const std::vector<std::pair<std::string, int>> rows = {
      {"              No Error Tolvique: ", 1},  {" Descripcion del Error Tolvique: ", 2},
      {"    No. de Operacion Velmoranet: ", 13}, {"Fecha de inicio de vigencia CER: ", 11},
      {"   Fecha de fin de vigencia CER: ", 12}, {"Fecha del timbre fiscal digital: ", 10},
      {"             UUID de la factura: ", 9},  {"Cantidad de timbres disponibles: ", 14},
      {"             Version Drovanexis: ", 15}, {"          Fecha del comprobante: ", 16},
      {"           Warning del servidor: ", 17}, {" PAC que certifico el documento: ", 18},
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = 4 + static_cast<int>(i);
    const std::string& label = rows[i].first;
    ASSERT_EQ(label.size(), 33u);
    EXPECT_EQ(row(r).substr(0, 33), label) << "row " << r;
    const std::string value =
        rows[i].second == 9 ? std::string(47, 'u') : "value " + std::to_string(rows[i].second);
    EXPECT_EQ(row(r), padded(label + value)) << "row " << r;
  }
  EXPECT_EQ(row(1), padded(" Otros valores importantes"));
  EXPECT_EQ(row(17), padded("Presione cualquier tecla para continuar ..."));
}

TEST_F(PagesTest, ErrorPageShowsTheLibraryLogUnderARedBanner) {
  test_support::TestFolder folder;
  std::ofstream("Drovanexis.log", std::ios::binary) << "2026-12-09 error CFDI33101\r\n\x1a";
  con_.write_at(10, 0, "wait");
  backend_.push_key(27);
  show_error_page();
  EXPECT_EQ(row(1),
            " Al parecer hay errores en su comprobante fiscal (Presione <Esc> para Salir)    ");
  EXPECT_TRUE(row_in(0, kRed) && row_in(1, kRed) && row_in(2, kRed));
  EXPECT_EQ(row(3), padded("2026-12-09 error CFDI33101"));
  EXPECT_EQ(row(10), padded(""));
  EXPECT_EQ(cArchivo, "2026-12-09 error CFDI33101\r\n");
  EXPECT_EQ(con_.colour_string().substr(0, 5), "W+/N,");
  EXPECT_TRUE(recording_.calls().empty());
}

TEST_F(PagesTest, SplitScreenColoursAndTheRestoredMenu) {
  test_support::TestFolder folder;
  std::ofstream("Recupera.xml", std::ios::binary) << "<Acuse/>";
  std::ofstream("Recupera.log", std::ios::binary) << "log line";
  con_.set_colour("W+/N");
  con_.write_at(5, 20, " 1) CFDI 3.3 Simple ");
  con_.write_at(11, 20, " 7) Convertir archivo .CER a Base64 ", "N/W");
  con_.set_position(23, 0);
  const console::Screen menu = con_.screen();
  const std::string title =
      pages_banner_text(" Resultado de la Recuperaci\xF3n del Acuse de Cancelaci\xF3n", 80);

  EXPECT_THROW(show_split_result(title, "Resultado: 1", ".\\Recupera.xml", ".\\Recupera.LOG"),
               console::OutOfKeys);
  EXPECT_EQ(row(4), padded("Resultado: 1"));
  EXPECT_EQ(row(6).substr(0, 41), std::string("<Acuse/>") + std::string(33, ' '));
  EXPECT_EQ(attr_at(6, 0), kGreen);
  EXPECT_EQ(attr_at(24, 40), kGreen);

  con_.screen() = menu;  // the interrupted run did not get to restore it
  backend_.push_key(27);
  EXPECT_THROW(show_split_result(title, std::nullopt, ".\\Recupera.xml", ".\\Recupera.LOG"),
               console::OutOfKeys);
  EXPECT_EQ(row(4), padded(""));
  EXPECT_EQ(attr_at(6, 40), kGreen);
  EXPECT_EQ(attr_at(6, 41), kRed);
  EXPECT_EQ(row(6).substr(41), "log line" + std::string(31, ' '));

  // Both viewers left: the menu is back as it was.
  con_.screen() = menu;
  backend_.push_keys({27, 27});
  show_split_result(title, std::nullopt, ".\\Recupera.xml", ".\\Recupera.LOG");
  EXPECT_EQ(con_.screen().cells(), menu.cells());
  EXPECT_EQ(con_.screen().cursor_row(), 23);
  EXPECT_EQ(con_.colour_string().substr(0, 5), "W+/N,");
}

}  // namespace
}  // namespace app
