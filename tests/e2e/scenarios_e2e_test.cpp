// Options 1 to 6 in a real terminal: every result page as the user walks it,
// the error page, and what a user sees when the library lacks an entry.
//
// The presentation runs against the recording library (results from a file),
// so that every page shows known values. The stamping runs against the real
// library in a folder made by "drovanexis-sandbox init", and the stamped
// files are judged by the SAT's own scripts.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "portable/named_pipe.h"
#include "portable/process.h"
#include "portable/signals.h"
#include "tests/e2e/tmux_session.h"
#include "tests/support/command_output.h"
#include "tests/support/sat_folder.h"

namespace e2e {
namespace {

const CellColour kWaitLine{7, 4, false, true};
const CellColour kHighlight{0, 7, false, false};
const CellColour kBanner{7, 1, true, false};      // "W+/B"
const CellColour kViewerText{7, 0, true, false};  // "W+/N"

struct Scenario {
  const char* name;
  const char* option;  // the key that chooses it
  int menu_row;
  const char* wait_line;  // as it shows from column 5
  const char* title;      // page 1's row 1, cut at column 79
  const char* output;     // the stamped file shown on page 1
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

const Scenario kScenarios[] = {
    {"simple", "1", 5, " Procesando XML Simple, Por favor espere ... ",
     " Este es su comprobante fiscal Digital (Presione <Esc> para salir)", "CFDI33Simple.xml"},
    {"pagos", "2", 6, " Procesando XML con Complemento de Pagos 1.0, Por favor espere ... ",
     " Este es su comprobante fiscal Digital con Pagos 1.0 (Presione <Esc> para salir)",
     "CFDI33conPagos.xml"},
    {"nomina", "3", 7, " Procesando XML con Complemento de Nomina 1.2, Por favor espere ... ",
     " Este es su comprobante fiscal Digital con Nomina 1.2 (Presione <Esc> para salir",
     "CFDI33conNomina.xml"},
    {"cartaporte10", "4", 8,
     " Procesando XML con Complemento de Carta Porte 1.0, Por favor espere ... ",
     " Este es su comprobante fiscal Digital con Carta Porte 1.0 (Presione <Esc> para",
     "CFDI33CartaPorte10.xml"},
    {"cartaporte20", "5", 9,
     " Procesando XML con Complemento de Carta Porte 2.0, Por favor espere ... ",
     " Este es su comprobante fiscal Digital con Carta Porte 2.0 (Presione <Esc> para",
     "CFDI33CartaPorte20.xml"},
    {"externo", "6", 10, " Procesando XML Creado Externamente, Por favor espere ... ",
     " Este es su comprobante fiscal Digital del XML Externo (Presione <Esc> para sali",
     "CFDI33Externo.xml"},
};

std::string scenario_name(const ::testing::TestParamInfo<Scenario>& param_info) {
  return param_info.param.name;
}

std::string read_text(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_text(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Runs a command line; its exit code (-1 when it did not end normally), with
// its output and error output in `output`.
int run(const std::string& command, std::string& output) {
  const test_support::CommandOutput result = test_support::run_command_line(command, true);
  output = result.output;
  return result.exit_code.value_or(-1);
}

std::string row_of(const TmuxSession& session, int row) {
  const auto screen = session.screen();
  return row < static_cast<int>(screen.size()) ? screen[static_cast<std::size_t>(row)] : "";
}

// Pages 2 to 7 as the user walks them, each checked before it is left.
// `values` are the texts of value indices 1 to 18 when known.
void walk_pages_two_to_seven(TmuxSession& session, const std::vector<std::string>* values) {
  struct ViewerPage {
    const char* title;
    int index;
  };
  const ViewerPage pages[] = {
      {" Esta es la Cadena Original del CFDI (Presione <Esc> para salir)", 5},
      {" Esta es la Cadena Original del timbre fiscal digital (Presione <Esc> para salir", 8},
      {" Este es el Sello Digital del CFDI (Presione <Esc> para Salir)", 7},
      {" Este es el Sello Digital del timbre fiscal (Presione <Esc> para Salir)", 4},
  };
  for (const ViewerPage& page : pages) {
    ASSERT_TRUE(session.wait_for_text_at(1, 0, page.title));
    if (values) {
      EXPECT_EQ(row_of(session, 3), (*values)[static_cast<std::size_t>(page.index - 1)]);
    }
    session.send_keys({"Escape"});
  }

  ASSERT_TRUE(session.wait_for_text_at(1, 0, " Certificados"));
  ASSERT_TRUE(session.wait_for_text_at(8, 0, "Presione cualquier tecla para continuar ..."));
  EXPECT_TRUE(row_of(session, 4).starts_with("Certificado del CFDI:   "));
  EXPECT_TRUE(row_of(session, 6).starts_with("Certificado del timbre: "));
  if (values) {
    EXPECT_EQ(row_of(session, 4), "Certificado del CFDI:   " + (*values)[2]);
    EXPECT_EQ(row_of(session, 6), "Certificado del timbre: " + (*values)[5]);
  }
  session.send_keys({"x"});

  struct ValueRow {
    const char* label;
    int index;
  };
  const ValueRow rows[] = {
      {"              No Error Tolvique: ", 1},  {" Descripcion del Error Tolvique: ", 2},
      {"    No. de Operacion Velmoranet: ", 13}, {"Fecha de inicio de vigencia CER: ", 11},
      {"   Fecha de fin de vigencia CER: ", 12}, {"Fecha del timbre fiscal digital: ", 10},
      {"             UUID de la factura: ", 9},  {"Cantidad de timbres disponibles: ", 14},
      {"             Version Drovanexis: ", 15}, {"          Fecha del comprobante: ", 16},
      {"           Warning del servidor: ", 17}, {" PAC que certifico el documento: ", 18},
  };
  ASSERT_TRUE(session.wait_for_text_at(1, 0, " Otros valores importantes"));
  ASSERT_TRUE(session.wait_for_text_at(17, 0, "Presione cualquier tecla para continuar ..."));
  for (int i = 0; i < 12; ++i) {
    const std::string shown = row_of(session, 4 + i);
    const std::string label = rows[i].label;
    EXPECT_TRUE(shown.starts_with(label.substr(0, label.find_last_not_of(' ') + 1)))
        << "row " << 4 + i << ": " << shown;
    if (values) {
      const std::string expected = label + (*values)[static_cast<std::size_t>(rows[i].index - 1)];
      EXPECT_EQ(shown, expected.substr(0, 80)) << "row " << 4 + i;
    }
  }
  session.send_keys({"y"});
}

void expect_menu_with_highlight(TmuxSession& session, const Scenario& s) {
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
  EXPECT_EQ(session.colour_at(s.menu_row, 20), kHighlight);
  EXPECT_EQ(row_of(session, 1), "");
}

// ---------------------------------------------------------------------------
// The presentation, against the recording library.

// The wait line, caught while the program waits in its first library call:
// the recording library's call log is a named pipe, so each call blocks in
// opening it until the test reads the call's line.
class ScenarioWaitLineE2eTest : public ::testing::TestWithParam<Scenario> {
 protected:
  ScenarioWaitLineE2eTest() {
    fifo_ = folder_.path() / "calls.fifo";
    if (!portable::make_named_pipe(fifo_)) ADD_FAILURE() << "cannot make " << fifo_;
    write_text(folder_.path() / "results.txt", "Drovanexis_New=7\nDrovanexis_ProcesaDocumento=0\n");
    write_text(folder_.path() / "ejemploexterno.xml", "<x/>");
  }
  ~ScenarioWaitLineE2eTest() override { stop_draining(); }

  TmuxSession::Options options() const {
    TmuxSession::Options o;
    o.working_dir = folder_.path();
    o.environment = {{"DROVANEXIS_LIBRARY", BINDING_RECORDING_LIBRARY},
                     {"DROVANEXIS_RECORDING_RESULTS", (folder_.path() / "results.txt").string()},
                     {"DROVANEXIS_RECORDING_LOG", fifo_.string()}};
    return o;
  }

  // True while the program is blocked opening the pipe.
  static bool blocked_in_call(int pid) { return portable::waits_opening_a_file(pid); }

  // From now on every call's line is read at once, so the program runs freely.
  // The pipe stays held open until the reader stops: a reader that closed
  // it after each end of file and opened it again left a moment in which a
  // call that had already opened it wrote into a pipe without a reader, and
  // the broken-pipe signal ended the program before its first page.
  void start_draining() {
    held_.emplace(fifo_);
    drainer_ = std::thread([this] {
      while (!stop_) calls_ += held_->read_available(50ms);
      calls_ += held_->read_available(0ms);
    });
  }

  void stop_draining() {
    if (!drainer_.joinable()) return;
    stop_ = true;
    drainer_.join();
    held_.reset();
  }

  // The program still makes calls while it ends (it releases its document),
  // so the reader runs until the process is gone.
  static void wait_until_gone(int pid) {
    for (int tries = 0; tries < 1000 && portable::process_exists(pid); ++tries) {
      std::this_thread::sleep_for(10ms);
    }
    if (portable::process_exists(pid)) portable::send_signal(pid, portable::Signal::kill);
  }

  TemporaryFolder folder_;
  std::filesystem::path fifo_;
  std::optional<portable::HeldNamedPipe> held_;
  std::thread drainer_;
  std::atomic<bool> stop_{false};
  std::string calls_;
};

TEST_P(ScenarioWaitLineE2eTest, WaitLineAloneAtRowThreeWhileTheLibraryWorks) {
  const Scenario& s = GetParam();
  int pid = 0;
  {
    TmuxSession session(options());
    ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
    pid = session.program_pid();
    session.send_keys({s.option});
    ASSERT_TRUE(session.wait_until([&] { return blocked_in_call(pid); }, "the first library call"));

    // The screen's text leaves trailing blanks off.
    const std::string wait_line(s.wait_line);
    const std::vector<std::string> shown = session.screen();
    for (int row = 0; row < 25; ++row) {
      EXPECT_EQ(shown[static_cast<std::size_t>(row)],
                row == 3 ? "     " + wait_line.substr(0, wait_line.size() - 1) : "")
          << "row " << row;
    }
    EXPECT_EQ(session.colour_at(3, 5), kWaitLine);
    EXPECT_EQ(session.colour_at(3, 4 + static_cast<int>(wait_line.size())), kWaitLine);

    start_draining();
    ASSERT_TRUE(session.wait_for_text_at(1, 0, s.title));
  }
  wait_until_gone(pid);
  stop_draining();
  EXPECT_TRUE(calls_.starts_with("Drovanexis_New(\"3.3\")\n")) << calls_;
}

INSTANTIATE_TEST_SUITE_P(Options1To6, ScenarioWaitLineE2eTest, ::testing::ValuesIn(kScenarios),
                         scenario_name);

class ScenarioPagesE2eTest : public ::testing::TestWithParam<Scenario> {
 protected:
  ScenarioPagesE2eTest() {
    std::string results = "Drovanexis_New=7\nDrovanexis_ProcesaDocumento=0\n";
    for (int index = 1; index <= 18; ++index) {
      values_.push_back("valor " + std::to_string(index) + " del documento");
      results += "Drovanexis_GetValue " + std::to_string(index) + "=" + values_.back() + "\n";
    }
    write_text(folder_.path() / "results.txt", results);
  }

  TmuxSession::Options options() const {
    TmuxSession::Options o;
    o.working_dir = folder_.path();
    o.environment = {{"DROVANEXIS_LIBRARY", BINDING_RECORDING_LIBRARY},
                     {"DROVANEXIS_RECORDING_RESULTS", (folder_.path() / "results.txt").string()},
                     {"DROVANEXIS_RECORDING_LOG", (folder_.path() / "calls.txt").string()}};
    return o;
  }

  TemporaryFolder folder_;
  std::vector<std::string> values_;
};

TEST_P(ScenarioPagesE2eTest, EveryPageInOrderThenTheMenu) {
  const Scenario& s = GetParam();
  write_text(folder_.path() / s.output, "<stamped option=\"" + std::string(s.option) + "\"/>\r\n");
  const bool external = std::string(s.option) == "6";
  // A pipe in place of the external XML is not a file: it is read as no text
  // at once instead of holding the operation until some writer comes. (The
  // wait line during the operation is the test above's.)
  if (external) {
    ASSERT_TRUE(portable::make_named_pipe(folder_.path() / "ejemploexterno.xml"));
  }

  TmuxSession session(options());
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
  session.send_keys({s.option});
  ASSERT_TRUE(session.wait_for_text_at(1, 0, s.title));
  // The banner: three full-width rows of bright white on blue, the text below
  // in bright white on black.
  for (const auto& [row, column] : {std::pair{0, 0}, {0, 79}, {1, 0}, {1, 79}, {2, 40}}) {
    EXPECT_EQ(session.colour_at(row, column), kBanner) << "row " << row << " column " << column;
  }
  EXPECT_EQ(session.colour_at(3, 0), kViewerText);
  EXPECT_EQ(row_of(session, 3), "<stamped option=\"" + std::string(s.option) + "\"/>");
  session.send_keys({"Escape"});

  walk_pages_two_to_seven(session, &values_);
  expect_menu_with_highlight(session, s);

  const std::string calls = read_text(folder_.path() / "calls.txt");
  EXPECT_TRUE(calls.ends_with("Drovanexis_Free(7)\n")) << calls;
  if (external) {
    EXPECT_NE(calls.find("Drovanexis_SetCompleteXML_cfdi33(7, \"\")"), std::string::npos) << calls;
  }
}

INSTANTIATE_TEST_SUITE_P(Options1To6, ScenarioPagesE2eTest, ::testing::ValuesIn(kScenarios),
                         scenario_name);

// Waits for `text` on the screen read as one run of rows: the report names
// the library's path before the entry, so a long build path wraps the
// entry's name across two rows.
::testing::AssertionResult wait_for_text_across_rows(TmuxSession& session, std::string_view text) {
  return session.wait_until(
      [&] {
        std::string joined;
        for (const std::string& line : session.screen()) joined += line;
        return joined.find(text) != std::string::npos;
      },
      "\"" + std::string(text) + "\" across rows");
}

TEST(ScenarioLibraryE2eTest, ALibraryWithoutAnEntryIsReportedByNameAndTheDocumentFreed) {
  TemporaryFolder folder;
  TmuxSession::Options options;
  options.working_dir = folder.path();
  options.environment = {{"DROVANEXIS_LIBRARY", BINDING_RECORDING_MISSING_ENTRY_LIBRARY},
                         {"DROVANEXIS_RECORDING_LOG", (folder.path() / "calls.txt").string()}};
  TmuxSession session(options);
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
  session.send_keys({"1"});
  // Processing "succeeds" (result 0); page 1 shows the missing file as empty.
  ASSERT_TRUE(session.wait_for_text_at(1, 0, " Este es su comprobante fiscal Digital"));
  session.send_keys({"Escape"});
  // Page 2 needs the value entry that the library lacks.
  ASSERT_TRUE(wait_for_text_across_rows(session, "Drovanexis_GetValue"));
  if (session.wait_for_text(" Quit ", 2s)) session.send_keys({"q"});
  EXPECT_EQ(session.wait_for_exit(), std::optional<int>(1));
  EXPECT_TRUE(wait_for_text_across_rows(session, "Drovanexis_GetValue"));
  EXPECT_EQ(session.pane_format("#{alternate_on}"), "0");
  const std::string modes = session.terminal_modes_after_exit();
  EXPECT_NE(modes.find(" icanon"), std::string::npos) << modes;
  EXPECT_NE(modes.find(" echo "), std::string::npos) << modes;
  const std::string calls = read_text(folder.path() / "calls.txt");
  EXPECT_TRUE(calls.ends_with("Drovanexis_Free(0)\n")) << calls;
}

// ---------------------------------------------------------------------------
// Stamping with the real library in a folder made by the init tool.

const std::filesystem::path kBin = std::filesystem::path(CFDI_BINARY_DIR) / "bin";
const std::filesystem::path kSat = CFDI_SAT_DIR;
constexpr const char* kProviderCertificate = "sandbox-pac.cer";

class ScenarioStampingE2eTest : public ::testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override {
    std::string output;
    ASSERT_EQ(run("'" + (kBin / "drovanexis-sandbox").string() + "' init '" +
                      folder_.path().string() + "'",
                  output),
              0)
        << output;
    // The tool's own product: missing, it is a failure, never a reason to skip.
    ASSERT_TRUE(std::filesystem::exists(folder_.path() / "Drovanexis.db") &&
                std::filesystem::exists(folder_.path() / kProviderCertificate))
        << "drovanexis-sandbox init did not write the provider's state (Drovanexis.db) and "
           "certificate ("
        << kProviderCertificate << "); it wrote:\n"
        << output;
  }

  TmuxSession::Options options() const {
    TmuxSession::Options o;
    o.working_dir = folder_.path();
    o.environment = {{"DROVANEXIS_LIBRARY", (kBin / "libdrovanexis.so").string()}};
    return o;
  }

  TemporaryFolder folder_;
};

TEST_P(ScenarioStampingE2eTest, StampedXmlIsValidAndBothSealsVerify) {
  const Scenario& s = GetParam();
  TmuxSession session(options());
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
  session.send_keys({s.option});
  ASSERT_TRUE(session.wait_for_text_at(1, 0, s.title, 30s));
  EXPECT_TRUE(row_of(session, 3).starts_with("<?xml")) << session.screen_dump();
  session.send_keys({"Escape"});
  walk_pages_two_to_seven(session, nullptr);
  expect_menu_with_highlight(session, s);

  const std::filesystem::path stamped = folder_.path() / s.output;
  ASSERT_TRUE(std::filesystem::exists(stamped));
  CFDI_REQUIRE_SAT(std::filesystem::exists(kSat / "bin" / "validate-cfdi33"),
                   "the SAT scripts in " << kSat);
  std::string output;
  EXPECT_EQ(run("'" + (kSat / "bin" / "validate-cfdi33").string() + "' '" + stamped.string() + "'",
                output),
            0)
      << output;
  EXPECT_EQ(run("'" + (kSat / "bin" / "verify-seal").string() + "' '" + stamped.string() + "' '" +
                    (folder_.path() / kProviderCertificate).string() + "'",
                output),
            0)
      << output;
}

INSTANTIATE_TEST_SUITE_P(Options1To6, ScenarioStampingE2eTest, ::testing::ValuesIn(kScenarios),
                         scenario_name);

// Only the red page with the library's log, then the menu; no stamped file.
class ScenarioErrorE2eTest : public ScenarioStampingE2eTest {
 protected:
  void expect_error_page_naming(const Scenario& s, const std::string& named) {
    TmuxSession session(options());
    ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
    session.send_keys({s.option});
    ASSERT_TRUE(session.wait_for_text_at(
        1, 0, " Al parecer hay errores en su comprobante fiscal (Presione <Esc> para Salir)", 30s));
    EXPECT_NE(session.screen_dump().find(named), std::string::npos) << session.screen_dump();
    session.send_keys({"Escape"});
    expect_menu_with_highlight(session, s);
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / s.output));
  }
};

TEST_P(ScenarioErrorE2eTest, AMissingKeyFileIsNamedInTheLog) {
  const Scenario& s = GetParam();
  const std::string key = std::string(s.option) == "1" || std::string(s.option) == "6"
                              ? "CSD_CACX7605101P8.key"
                              : "CSD_KIJ0906199R1.key";
  std::filesystem::remove(folder_.path() / key);
  expect_error_page_naming(s, key);
}

INSTANTIATE_TEST_SUITE_P(Options1And3, ScenarioErrorE2eTest,
                         ::testing::Values(kScenarios[0], kScenarios[2]), scenario_name);

TEST_F(ScenarioErrorE2eTest, AMalformedExternalXmlShowsTheLog) {
  write_text(folder_.path() / "ejemploexterno.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<cfdi:Comprobante Version=\"3.3\"");
  expect_error_page_naming(kScenarios[5], "XML mal formado");
}

}  // namespace
}  // namespace e2e
