// The run-time error handler in a real terminal: a library that cannot be
// loaded ends the program through the error dialog, the console report and
// "error.log".

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "tests/e2e/tmux_session.h"

namespace e2e {
namespace {

const CellColour kDialog{7, 4, true, false};
const CellColour kCurrentButton{7, 1, true, false};

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(ErrorE2eTest, AMissingLibraryShowsTheDialogReportsAndLogsTheScreen) {
  TemporaryFolder folder;
  const std::string missing = (folder.path() / "gone" / "libdrovanexis.so").string();
  TmuxSession::Options options;
  options.working_dir = folder.path();
  options.environment = {{"DROVANEXIS_LIBRARY", missing}};
  TmuxSession session(options);
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
  // Mouse reporting is off at the menu, so the terminal's own text selection
  // works; the error dialog turns it on while it waits for a click.
  EXPECT_EQ(session.pane_format("#{mouse_any_flag}"), "0");

  session.send_keys({"1"});
  ASSERT_TRUE(session.wait_for_text("Error DROVANEXIS/1001"));
  ASSERT_TRUE(session.wait_for_text(" Quit "));
  EXPECT_TRUE(session.wait_until([&] { return session.pane_format("#{mouse_any_flag}") == "1"; },
                                 "mouse reporting on while the dialog is up"));
  // The current button is bright white on blue inside the bright white on
  // red box.
  int button_row = -1;
  int button_column = -1;
  for (int row = 0; row < 25 && button_row < 0; ++row) {
    for (int column = 0; column < 80; ++column) {
      if (session.colour_at(row, column) == kCurrentButton) {
        button_row = row;
        button_column = column;
        break;
      }
    }
  }
  ASSERT_GE(button_row, 0);
  EXPECT_EQ(session.colour_at(button_row, button_column + 5), kCurrentButton);
  EXPECT_EQ(session.colour_at(button_row, button_column - 1), kDialog);
  EXPECT_EQ(session.colour_at(button_row, button_column + 6), kDialog);
  EXPECT_NE(session.screen_dump().find("\xE2\x94\x8C"), std::string::npos);  // the frame's corner

  session.send_keys({"x"});  // no button begins with x
  EXPECT_FALSE(session.wait_for_exit(300ms).has_value());
  session.send_keys({"q"});
  EXPECT_EQ(session.wait_for_exit(), std::optional<int>(1));

  // The report stays on the terminal once the program has given it back.
  EXPECT_TRUE(session.wait_for_text("Error DROVANEXIS/1001  cannot load the invoicing library"));
  EXPECT_TRUE(session.wait_for_text("Error at ...: VXMLSAMPLE("));
  EXPECT_TRUE(session.wait_for_text("Called from : MAIN("));
  EXPECT_EQ(session.pane_format("#{alternate_on}"), "0");
  const std::string modes = session.terminal_modes_after_exit();
  EXPECT_NE(modes.find(" icanon"), std::string::npos) << modes;
  EXPECT_NE(modes.find(" echo "), std::string::npos) << modes;

  const std::string log = read_file(folder.path() / "error.log");
  EXPECT_EQ(
      log.find(
          "----------------------------- Quarndel Error Log ------------------------------\r\n"),
      0u);
  EXPECT_NE(log.find("Subsystem Call ....: DROVANEXIS\r\n"), std::string::npos);
  std::string missing_upper = missing;
  for (char& c : missing_upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_NE(log.find("Involved File .....: " + missing_upper + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\nVXMLSAMPLE            : "), std::string::npos);
  // The screen dump: 25 framed rows, showing the screen the error left,
  // the console report included.
  const std::string rule = "\r\n+" + std::string(80, '-') + "+\r\n";
  const std::size_t dump = log.find(rule);
  ASSERT_NE(dump, std::string::npos);
  const std::size_t dump_end = log.find(rule, dump + rule.size());
  ASSERT_EQ(dump_end, dump + rule.size() + 25 * 84 - 2);
  EXPECT_NE(log.find("\r\n|Error at ...: VXMLSAMPLE(", dump), std::string::npos);
}

// The failure has left its routines by the time the dialog shows it; Alt+C
// there still names where it happened and the routine that called it.
TEST(ErrorE2eTest, AltCInTheDialogNamesWhereTheFailureHappened) {
  TemporaryFolder folder;
  TmuxSession::Options options;
  options.working_dir = folder.path();
  options.environment = {{"DROVANEXIS_LIBRARY", (folder.path() / "gone.so").string()}};
  TmuxSession session(options);
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
  session.send_keys({"1"});
  ASSERT_TRUE(session.wait_for_text(" Quit "));
  session.send_keys({"M-c"});
  EXPECT_EQ(session.wait_for_exit(), std::optional<int>(1));
  const std::string errors = session.error_output();
  EXPECT_TRUE(errors.starts_with("\nCancelled at: VXMLSAMPLE (")) << errors;
  EXPECT_NE(errors.find(")\nMAIN ("), std::string::npos) << errors;
}

}  // namespace
}  // namespace e2e
