#include "console/error_record.h"

#include <gtest/gtest.h>

#include "console/error_handler.h"
#include "console/runtime_error.h"

namespace console {
namespace {

ErrorRecord viewer_error() {
  ErrorRecord e;
  e.subsystem = "BASE";
  e.subcode = 1127;
  e.description = "VIEWTEXT";
  e.operation = "<nTop> Argument type error";
  return e;
}

struct MessageCase {
  const char* name;
  ErrorRecord record;
  std::string message;
};

TEST(ErrorMessage, TellsSeverityComponentDescriptionAndWhatWasConcerned) {
  ErrorRecord warning = viewer_error();
  warning.severity = 1;
  ErrorRecord with_file = viewer_error();
  with_file.file_name = "Recupera.xml";
  ErrorRecord anonymous;
  anonymous.operation = "DIVIDE";
  ErrorRecord with_arguments = viewer_error();
  with_arguments.arguments = std::vector<ErrorArgument>{
      ErrorArgument::text("abc"), ErrorArgument::number(5LL), ErrorArgument::absent(),
      ErrorArgument::logical(true), ErrorArgument::number(2.5)};
  ErrorRecord empty_arguments = viewer_error();
  empty_arguments.arguments = std::vector<ErrorArgument>{};
  ErrorRecord with_os_code = viewer_error();
  with_os_code.os_code = 2;

  const MessageCase cases[] = {
      {"error with operation", viewer_error(),
       "Error BASE/1127  VIEWTEXT: <nTop> Argument type error"},
      {"warning", warning, "Warning BASE/1127  VIEWTEXT: <nTop> Argument type error"},
      {"file name before operation", with_file, "Error BASE/1127  VIEWTEXT: Recupera.xml"},
      {"no subsystem, subcode or description", anonymous,
       "Error ???"
       "/???: DIVIDE"},
      {"arguments", with_arguments,
       "Error BASE/1127  VIEWTEXT: <nTop> Argument type error Arguments: ( [ 1] = Type: C Val: "
       "abc [ 2] = Type: N Val: 5 [ 3] = Type: U [ 4] = Type: L Val: .T. [ 5] = Type: N Val: "
       "2.5)"},
      {"empty argument list", empty_arguments,
       "Error BASE/1127  VIEWTEXT: <nTop> Argument type error Arguments: ()"},
      {"OS code stays out of the message", with_os_code,
       "Error BASE/1127  VIEWTEXT: <nTop> Argument type error"},
  };
  for (const MessageCase& c : cases) EXPECT_EQ(error_message(c.record), c.message) << c.name;
  EXPECT_EQ(dos_error_text(2), "(DOS Error 2)");
}

TEST(ErrorMessage, ArgumentNumbersAreRightAlignedInTwoCharacters) {
  std::vector<ErrorArgument> twelve(12, ErrorArgument::number(1LL));
  const std::string text = argument_text(twelve);
  EXPECT_EQ(text.substr(0, 24), " [ 1] = Type: N Val: 1 [");
  EXPECT_NE(text.find(" [12] = Type: N Val: 1"), std::string::npos);
}

TEST(ErrorRecord, StandardDescriptionsByGenericCode) {
  EXPECT_EQ(standard_description(0), "Unknown error");
  EXPECT_EQ(standard_description(5), "Zero divisor");
  EXPECT_EQ(standard_description(21), "Open error");
  EXPECT_EQ(standard_description(41), "Lock Failure");
  EXPECT_EQ(standard_description(9), "");
  EXPECT_EQ(standard_description(19), "");
  EXPECT_EQ(standard_description(42), "");
}

TEST(ErrorRecord, IsLocatedInTheRoutineRunningWhenRaised) {
  RoutineFrame outer("MAIN");
  RoutineFrame inner("VXMLSAMPLE");
  const RuntimeError error("BASE", 1127, "VIEWTEXT", "<nTop> Argument type error");
  const ErrorRecord& e = error.record();
  EXPECT_EQ(e.generic_code, generic_code::argument);
  EXPECT_EQ(e.routine, "VXMLSAMPLE");
  EXPECT_EQ(e.module, "error_record_test.cpp");
  ASSERT_EQ(e.callers.size(), 1u);
  EXPECT_EQ(e.callers[0].name, "MAIN");
  EXPECT_EQ(error.subsystem(), "BASE");
  EXPECT_EQ(error.subcode(), 1127);
  EXPECT_EQ(error.description(), "VIEWTEXT");
  EXPECT_EQ(std::string(error.what()), "Error BASE/1127  VIEWTEXT: <nTop> Argument type error");
}

TEST(ErrorRecord, ConsoleReportWithOsCodeAndCallers) {
  ErrorRecord e = viewer_error();
  e.os_code = 2;
  e.routine = "VIEWTEXT";
  e.line = 1234;
  e.module = "viewer.cpp";
  e.callers = {Frame{"VXMLSAMPLE", 88, "vxmlsample.cpp"}, Frame{"MAIN", 12, "menu.cpp"}};
  EXPECT_EQ(console_report(e, "\n"),
            "Error BASE/1127  VIEWTEXT: <nTop> Argument type error (DOS Error 2)\n"
            "\n"
            "Error at ...: VIEWTEXT(1234) in Module: viewer.cpp\n"
            "Called from : VXMLSAMPLE(88) in Module: vxmlsample.cpp\n"
            "Called from : MAIN(12) in Module: menu.cpp");
}

TEST(ErrorRecord, LibraryFailuresNameTheFileAndTheEntry) {
  const ErrorRecord missing = library_error_record(
      "cannot load the invoicing library \"/opt/x/libdrovanexis.so\" (from DROVANEXIS_LIBRARY): "
      "No such file or directory");
  EXPECT_EQ(missing.subsystem, "DROVANEXIS");
  EXPECT_EQ(missing.generic_code, generic_code::open_error);
  EXPECT_EQ(missing.subcode, 1001);
  EXPECT_EQ(missing.file_name, "/opt/x/libdrovanexis.so");
  EXPECT_EQ(missing.operation, "");

  const ErrorRecord entry = library_error_record(
      "the invoicing library \"libdrovanexis.so\" has no entry \"Drovanexis_GetValue\"");
  EXPECT_EQ(entry.generic_code, generic_code::undefined_function);
  EXPECT_EQ(entry.subcode, 1002);
  EXPECT_EQ(entry.file_name, "libdrovanexis.so");
  EXPECT_EQ(entry.operation, "Drovanexis_GetValue");
  EXPECT_EQ(entry.description,
            "the invoicing library \"libdrovanexis.so\" has no entry \"Drovanexis_GetValue\"");
}

}  // namespace
}  // namespace console
