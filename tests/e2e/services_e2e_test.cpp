// Options 7 to 11 in a real terminal. The wait lines are checked against the
// recording library, whose call log is a named pipe here: each call blocks
// opening it until the test reads, so the screen can be read while the
// library "works". Everything else runs against the real library in a demo
// folder prepared by drovanexis-sandbox, so every answer comes from the
// sandbox's rules and ledger.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "portable/cp1252.h"
#include "portable/environment.h"
#include "tests/e2e/tmux_session.h"
#include "tests/support/command_output.h"
#include "tests/support/test_folder.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

const CellColour kNormal{7, 0, false, false};
const CellColour kBanner{7, 1, true, false};
const CellColour kWaitLine{7, 4, false, true};
const CellColour kLeftViewer{7, 2, true, false};
const CellColour kRightViewer{7, 4, true, false};
const CellColour kHighlight{0, 7, false, false};
const CellColour kPage{7, 0, true, false};

const fs::path kBin = fs::path(CFDI_BINARY_DIR) / "bin";

std::string file_text(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The output of a shell command (for the oracle `base64 -w0`).
std::string command_output(const std::string& command) {
  return test_support::run_command_line(command).output;
}

std::string first_line(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// Columns first..first+count-1 of a screen row (UTF-8, trailing blanks
// dropped), as the characters they show.
std::string columns_of(const std::string& row, std::size_t first, std::size_t count) {
  std::string text;
  std::size_t column = 0;
  for (std::size_t i = 0; i < row.size(); ++i) {
    const auto byte = static_cast<unsigned char>(row[i]);
    if ((byte & 0xC0) != 0x80 && i > 0) ++column;
    if (column >= first + count) break;
    if (column >= first) text += row[i];
  }
  return text;
}

std::string trimmed_right(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// Colours read from the whole screen at once. The terminal sends a colour
// only where it changes, also across rows, and blank cells at the end of a
// row carry colours too, so a row cannot be read on its own: the screen is
// captured with its trailing blanks and parsed from the first cell on. Each
// test gives tmux a folder of its own (TMUX_TMPDIR), so the one server
// socket there is the session's.
class ScreenColours {
 public:
  ScreenColours() = default;
  ScreenColours(const ScreenColours&) = delete;
  ScreenColours& operator=(const ScreenColours&) = delete;

  CellColour at(int row, int column) const {
    std::string socket;
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(folder_.path(), ignored)) {
      if (entry.is_socket()) socket = entry.path().string();
    }
    std::string screen = command_output("tmux -S '" + socket + "' capture-pane -e -p -N -t 0");
    std::erase(screen, '\n');
    const StyledRow cells = parse_styled_row(screen);
    const auto index = static_cast<std::size_t>(row * 80 + column);
    return index < cells.colours.size() ? cells.colours[index] : CellColour{};
  }

 private:
  test_support::TemporaryFolder folder_{"cfdi-e2e-tmux-"};
  portable::ScopedEnvironmentVariable tmux_folder_{"TMUX_TMPDIR", folder_.path().string()};
};

// The menu row of an option (1-12).
int menu_row(int option) { return 4 + option; }

class ServicesE2eTest : public ::testing::Test {
 protected:
  // Moves the bar to the option and chooses it.
  static void choose(TmuxSession& session, int option) {
    std::vector<std::string> keys = {"Home"};
    for (int i = 1; i < option; ++i) keys.emplace_back("Down");
    keys.emplace_back("Enter");
    session.send_keys(keys);
  }

  ::testing::AssertionResult menu_back(TmuxSession& session, int option) const {
    return session.wait_until(
        [&] {
          return session.screen()[16].find("12) Salir") != std::string::npos &&
                 colours_.at(menu_row(option), 20) == kHighlight;
        },
        "the menu with option " + std::to_string(option) + " highlighted");
  }

  void expect_blue_banner() const {
    for (int row = 0; row < 3; ++row) {
      EXPECT_EQ(colours_.at(row, 0), kBanner) << "row " << row;
      EXPECT_EQ(colours_.at(row, 79), kBanner) << "row " << row;
    }
  }

  TemporaryFolder folder_;
  ScreenColours colours_;
};

// Against the recording library, with its call log a named pipe.
class ServicesWaitLineTest : public ServicesE2eTest {
 protected:
  ServicesWaitLineTest() {
    fifo_ = folder_.path() / "calls.fifo";
    if (mkfifo(fifo_.c_str(), 0600) != 0) ADD_FAILURE() << "cannot make " << fifo_;
    std::ofstream(folder_.path() / "results.txt")
        << "Drovanexis_CerTo64=TUlJRmVqQ0NCR0tnQXdJQkFnSVV\n";
  }

  TmuxSession::Options options() const {
    TmuxSession::Options o;
    o.working_dir = folder_.path();
    o.environment = {{"DROVANEXIS_LIBRARY", BINDING_RECORDING_LIBRARY},
                     {"DROVANEXIS_RECORDING_LOG", fifo_.string()},
                     {"DROVANEXIS_RECORDING_RESULTS", (folder_.path() / "results.txt").string()}};
    return o;
  }

  // True while the program waits inside a library call for the test to
  // read its log line: blocked opening the pipe (system call openat).
  static bool blocked_in_call(int pid) {
    return file_text("/proc/" + std::to_string(pid) + "/syscall").starts_with("257 ");
  }

  // Reads the line of the call the program is blocked in, which lets it go on.
  std::string take_call() const {
    std::ifstream in(fifo_);
    std::string line;
    std::getline(in, line);
    return line;
  }

  fs::path fifo_;
};

TEST_F(ServicesWaitLineTest, OptionSevenShowsItsCutWaitLineAndOptionEightNone) {
  TmuxSession session(options());
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
  const int pid = session.program_pid();

  session.send_keys({"7"});
  ASSERT_TRUE(session.wait_until([&] { return blocked_in_call(pid); }, "the Base64 call"));
  const std::string wait_line =
      " Generando archivo en Base64 del certificado CSD_KIJ0906199R1.CER, espere p";
  ASSERT_TRUE(session.wait_for_text_at(3, 5, wait_line));
  std::vector<std::string> shown = session.screen();
  for (int row = 0; row < 25; ++row) {
    EXPECT_EQ(shown[static_cast<std::size_t>(row)], row == 3 ? "     " + wait_line : "")
        << "row " << row;
  }
  EXPECT_EQ(colours_.at(3, 4), kNormal);
  EXPECT_EQ(colours_.at(3, 5), kWaitLine);
  EXPECT_EQ(colours_.at(3, 79), kWaitLine);
  EXPECT_EQ(take_call(), R"(Drovanexis_CerTo64("CSD_KIJ0906199R1.CER"))");

  ASSERT_TRUE(session.wait_for_text_at(
      1, 0, " Este es el archivo .CER en Base64 (Presione <Esc> para salir)"));
  expect_blue_banner();
  EXPECT_TRUE(session.wait_for_text_at(3, 0, "TUlJRmVqQ0NCR0tnQXdJQkFnSVV"));
  session.send_keys({"Escape"});
  ASSERT_TRUE(menu_back(session, 7));

  // Option 8: both calls run while the menu stays on the screen.
  const std::vector<std::string> menu = session.screen();
  session.send_keys({"8"});
  const std::string query = R"("?re=AAA010101AAA&rr=FOHG380609Q76...")";
  for (const char* bitmap : {R"(".\x5CQR_ind.BMP", 0)", R"(".\x5CQR_dep.BMP", 1)"}) {
    SCOPED_TRACE(bitmap);
    ASSERT_TRUE(session.wait_until([&] { return blocked_in_call(pid); }, "a CBB call"));
    EXPECT_TRUE(session.wait_until([&] { return session.screen() == menu; }, "the menu unchanged"));
    EXPECT_EQ(take_call(),
              "Drovanexis_GeneraCBB(" + query + ", " + bitmap + R"(, ".\x5CQR.LOG", 1, 4, 5))");
  }
  ASSERT_TRUE(session.wait_for_text_at(
      1, 0, " Archivo LOG de generación de CBB (Presione <Esc> para salir)"));
  expect_blue_banner();
  session.send_keys({"Escape"});
  EXPECT_TRUE(menu_back(session, 8));
}

// Against the real library in a fresh demo folder.
class ServicesDemoFolderTest : public ServicesE2eTest {
 protected:
  ServicesDemoFolderTest() {
    const std::string init = "'" + (kBin / "drovanexis-sandbox").string() + "' init '" +
                             folder_.path().string() + "' >/dev/null 2>&1; echo $?";
    init_status_ = command_output(init);
  }

  TmuxSession::Options options() const {
    TmuxSession::Options o;
    o.working_dir = folder_.path();
    return o;
  }

  // One service on the split result screen: the message on row 4, the
  // first line of each file in its viewer, then both viewers left and the
  // menu back as it was.
  void expect_service(TmuxSession& session, int option, const std::string& title,
                      const std::string& message, const std::string& left_file,
                      const std::string& right_file) {
    SCOPED_TRACE("option " + std::to_string(option));
    const std::vector<std::string> menu = session.screen();
    choose(session, option);
    ASSERT_TRUE(session.wait_for_text_at(1, 0, title));
    expect_blue_banner();
    EXPECT_TRUE(session.wait_until([&] { return session.screen()[4] == message; },
                                   "\"" + message + "\" on row 4"));
    std::vector<std::string> shown = session.screen();
    EXPECT_EQ(shown[3], "");
    EXPECT_EQ(shown[5], "");
    // The files are Windows-1252, the terminal shows UTF-8; the viewers
    // wrap long lines at a blank, so each shows the start of its first line.
    const std::string left =
        portable::cp1252_to_utf8(first_line(file_text(folder_.path() / left_file)));
    const std::string right =
        portable::cp1252_to_utf8(first_line(file_text(folder_.path() / right_file)));
    const std::string left_shown = trimmed_right(columns_of(shown[6], 0, 41));
    EXPECT_FALSE(left_shown.empty()) << left_file;
    EXPECT_TRUE(left.starts_with(left_shown))
        << left_file << ": " << left << "\nshown: " << left_shown;
    EXPECT_EQ(colours_.at(6, 0), kLeftViewer);
    EXPECT_EQ(colours_.at(24, 40), kLeftViewer);
    EXPECT_EQ(colours_.at(4, 0), kPage);

    session.send_keys({"Escape"});
    EXPECT_TRUE(session.wait_until(
        [&] {
          const std::string shown_right = trimmed_right(columns_of(session.screen()[6], 41, 39));
          return !shown_right.empty() && right.starts_with(shown_right);
        },
        "the log in the right viewer"));
    EXPECT_EQ(colours_.at(6, 41), kRightViewer);
    EXPECT_EQ(colours_.at(24, 79), kRightViewer);
    EXPECT_EQ(colours_.at(24, 40), kLeftViewer);
    session.send_keys({"Escape"});
    EXPECT_TRUE(menu_back(session, option));
    EXPECT_EQ(session.screen(), menu);
  }

  std::string init_status_;
};

TEST_F(ServicesDemoFolderTest, CertificateInBase64AndTheCbbLog) {
  ASSERT_EQ(init_status_, "0\n");
  TmuxSession session(options());
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));

  session.send_keys({"7"});
  ASSERT_TRUE(session.wait_for_text_at(
      1, 0, " Este es el archivo .CER en Base64 (Presione <Esc> para salir)"));
  const std::string base64 =
      command_output("base64 -w0 '" + (folder_.path() / "CSD_KIJ0906199R1.cer").string() + "'");
  ASSERT_GT(base64.size(), 160u);
  // One long line, wrapped by the viewer at its right edge.
  EXPECT_TRUE(session.wait_for_text_at(3, 0, base64.substr(0, 80)));
  EXPECT_EQ(session.screen()[4], base64.substr(80, 80));
  session.send_keys({"Escape"});
  ASSERT_TRUE(menu_back(session, 7));

  session.send_keys({"8"});
  ASSERT_TRUE(session.wait_for_text_at(
      1, 0, " Archivo LOG de generación de CBB (Presione <Esc> para salir)"));
  EXPECT_TRUE(fs::exists(folder_.path() / "QR_ind.BMP"));
  EXPECT_TRUE(fs::exists(folder_.path() / "QR_dep.BMP"));
  const std::string log =
      portable::cp1252_to_utf8(first_line(file_text(folder_.path() / "QR.LOG")).substr(0, 40));
  ASSERT_FALSE(log.empty());
  EXPECT_TRUE(session.wait_for_text_at(3, 0, log));
  session.send_keys({"Escape"});
  EXPECT_TRUE(menu_back(session, 8));
}

// Status, cancellation, status again and the acknowledgement, in that order:
// each answer follows from what the sandbox's ledger holds at that moment.
TEST_F(ServicesDemoFolderTest, CancellationStoryOfTheSampleCfdi) {
  ASSERT_EQ(init_status_, "0\n");
  TmuxSession session(options());
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
  expect_service(session, 10, " Resultado de la Consulta", "CFDI Vigente y Cancelable",
                 "StatusCFDI.INI", "StatusCFDI.LOG");
  expect_service(session, 9, " Resultado de la Cancelación", "CFDI Cancelado directamente",
                 "CancelaCFDI.INI", "CancelaCFDI.LOG");
  expect_service(session, 10, " Resultado de la Consulta", "CFDI previamente cancelado",
                 "StatusCFDI.INI", "StatusCFDI.LOG");
  expect_service(session, 11, " Resultado de la Recuperación del Acuse de Cancelación",
                 "Operación Exitosa, Acuse obtenido", "Recupera.xml", "Recupera.log");
  EXPECT_NE(file_text(folder_.path() / "Recupera.xml").find("Acuse"), std::string::npos);
}

}  // namespace
}  // namespace e2e
