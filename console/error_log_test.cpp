#include "console/error_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "portable/file_io.h"
#include "tests/support/test_folder.h"

namespace console {
namespace {

ErrorRecord sample_record() {
  ErrorRecord e;
  e.subsystem = "base";
  e.subcode = 1127;
  e.description = "ViewText";
  e.operation = "<nTop> Argument type error";
  e.file_name = "Recupera.xml";
  e.os_code = 2;
  e.can_default = true;
  e.arguments = std::vector<ErrorArgument>{ErrorArgument::text("abc"), ErrorArgument::number(3LL)};
  e.routine = "VIEWTEXT";
  e.line = 1234;
  e.module = "viewer.cpp";
  e.callers = {Frame{"VXMLSAMPLE", 88, "vxmlsample.cpp"}, Frame{"MAIN", 12, "menu.cpp"}};
  return e;
}

// A screen like the main menu after a viewer page.
void draw_sample_screen(Console& con) {
  con.set_colour("W+/N");
  con.clear();
  con.write_at(2, 20, "CFDI DEMO", "W+/R");
  con.write_at(5, 20, " 1) CFDI 3.3 Simple ");
  con.write_at(6, 20, " 12) Salir ");
  con.write_frame_at(24, 0, "\xC4\xC4");
  con.set_setting("SCOREBOARD", false);
  con.set_setting("INSERT", true);
}

std::vector<std::string> split_crlf_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The lines that depend on the machine, the build and the clock.
const char* const kMachineLabels[] = {
    "Date...............: ", "Time...............: ", "Application name...: ",
    "Workstation name...: ", "Available memory...: ", "Current directory..: ",
    "Free disk space....: ", "Operating system...: ", "Quarndel version...: ",
    "Quarndel built on..: ", "C/C++ compiler.....: ", "VM Optimization....: ",
};

std::string masked(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    std::string shown = line;
    for (const char* label : kMachineLabels) {
      if (line.rfind(label, 0) == 0) shown = std::string(label) + "<masked>";
    }
    text += shown + "\n";
  }
  return text;
}

std::string read_text(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(ErrorLog, MatchesTheGoldenFileWithTheMachineLinesMasked) {
  test_support::TestFolder folder;
  HeadlessBackend backend;
  Console con(backend);
  draw_sample_screen(con);

  ASSERT_EQ(write_error_log(sample_record(), &con), std::optional<std::string>("error.log"));
  const std::string log = read_text("error.log");
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
  const std::vector<std::string> lines = split_crlf_lines(log);
  for (const std::string& line : lines) EXPECT_EQ(line.find('\n'), std::string::npos) << line;

  EXPECT_TRUE(std::regex_match(lines.at(2), std::regex(R"(Date\.+: \d\d/\d\d/\d\d)"))) << lines[2];
  EXPECT_TRUE(std::regex_match(lines.at(3), std::regex(R"(Time\.+: \d\d:\d\d:\d\d)"))) << lines[3];
  EXPECT_EQ(lines.at(8), "Current disk.......: /");

  const std::string actual = masked(lines);
  std::ofstream(std::filesystem::path(CFDI_BINARY_DIR) / "error_log_actual.txt") << actual;
  const std::string golden =
      read_text(std::filesystem::path(CFDI_SOURCE_DIR) / "console" / "error_log_test_golden.txt");
  EXPECT_EQ(actual, golden) << "the masked log is in " CFDI_BINARY_DIR "/error_log_actual.txt";
}

TEST(ErrorLog, CentringAndLineNumbers) {
  EXPECT_EQ(centred("ab", 7, '-'), "--ab---");
  EXPECT_EQ(centred(" Quarndel Error Log ", 79, '-').size(), 79u);
  EXPECT_EQ(centred("toolong", 3, '#'), "toolong");
  EXPECT_EQ(trace_line_number(0), "      0");
  EXPECT_EQ(trace_line_number(999), "    999");
  EXPECT_EQ(trace_line_number(1000), "  1,000");
  EXPECT_EQ(trace_line_number(999999), "999,999");
}

TEST(ErrorLog, WithoutAConsoleTheSettingsHaveTheirStartUpValues) {
  const std::vector<std::string> lines = setting_lines(nullptr, ErrorLogSetting{});
  ASSERT_EQ(lines.size(), 70u);
  EXPECT_EQ(lines.front(), "SET ALTERNATE......: OFF");
  EXPECT_EQ(lines[9], "SET CANCEL.........: ON");
  EXPECT_EQ(lines[11], "SET COLOR..........: W/N,N/W,N/N,N/N,N/W");
  EXPECT_EQ(lines[58], "SET SCOREBOARD.....: ON");
  EXPECT_EQ(lines.back(), "SET WRAP...........: OFF");
}

TEST(ErrorLog, EachFatalErrorReplacesTheLog) {
  test_support::TestFolder folder;
  ErrorRecord first = sample_record();
  first.description = "first failure";
  ErrorRecord second = sample_record();
  second.description = "second failure";
  write_error_log(first, nullptr);
  write_error_log(second, nullptr);
  const std::string log = read_text("error.log");
  EXPECT_EQ(log.find("FIRST FAILURE"), std::string::npos);
  EXPECT_NE(log.find("Description .......: SECOND FAILURE\r\n"), std::string::npos);
  EXPECT_EQ(log.find(centred(" Quarndel Error Log ", 79, '-')), 0u);
  EXPECT_EQ(log.find(" Quarndel Error Log ", 79), std::string::npos);
}

TEST(ErrorLog, AppendPutsTheNewestReportFirst) {
  test_support::TestFolder folder;
  ErrorRecord first = sample_record();
  first.description = "first failure";
  ErrorRecord second = sample_record();
  second.description = "second failure";
  const ErrorLogSetting append{"error.log", true};
  write_error_log(first, nullptr, append);
  write_error_log(second, nullptr, append);
  const std::string log = read_text("error.log");
  EXPECT_LT(log.find("SECOND FAILURE"), log.find("FIRST FAILURE"));
  EXPECT_NE(log.find("SET ERRORLOG.......: ERROR.LOG,.T.\r\n"), std::string::npos);
}

TEST(ErrorLog, AnotherNameThatCannotBeCreatedFallsBackToErrorLog) {
  test_support::TestFolder folder;
  const ErrorLogSetting elsewhere{"no-such-folder/crash.log", false};
  EXPECT_EQ(write_error_log(sample_record(), nullptr, elsewhere),
            std::optional<std::string>("error.log"));
  EXPECT_NE(read_text("error.log").find("SET ERRORLOG.......: NO-SUCH-FOLDER/CRASH.LOG,.F."),
            std::string::npos);
}

TEST(ErrorLog, NoFileAtAllWhenNoneCanBeCreated) {
  test_support::TestFolder folder;
  std::filesystem::create_directory("error.log");  // nothing can replace a folder
  EXPECT_EQ(write_error_log(sample_record(), nullptr), std::nullopt);
  EXPECT_EQ(write_error_log(sample_record(), nullptr, {"ERROR.LOG", false}), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_directory("error.log"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left behind
}

}  // namespace
}  // namespace console
