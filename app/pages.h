#pragma once
// The result pages that every operation of the main menu shows, drawn on the
// program's console (app::con()). Values of a processed document are fetched
// from the library (DROVANEXIS_GETVALUE) at the moment their page is drawn.
// Whatever the user does inside a viewer, nothing is written back anywhere.
// The routines that wait for keys take their caller's place (a defaulted
// `caller`), so that the calling routine's frame shows the line of the call.

#include <optional>
#include <source_location>
#include <string_view>

namespace app {

// Clears the screen and writes the message at row 3, column 5 in blinking
// white on red; returns at once (the library call follows).
void show_wait_line(std::string_view message);

// Rows 0-2 in `colour`: `row0_blanks` blanks, the full title text (with its
// trailing blanks), 134 blanks. The banner colour stays current.
void draw_banner(std::string_view title_text, std::string_view colour, int row0_blanks);

// A banner over `text` shown in the viewer on rows 3-24; returns when the
// user leaves the viewer, with "W+/N" current.
void show_viewer_page(std::string_view title_text, std::string_view colour, int row0_blanks,
                      std::string_view text,
                      std::source_location caller = std::source_location::current());

// The document's two certificate numbers, then a key.
void show_certificates_page(int handle,
                            std::source_location caller = std::source_location::current());
// Twelve result values behind their labels, then a key.
void show_values_page(int handle, std::source_location caller = std::source_location::current());

// The library's log under a red banner (after a failed processing call).
void show_error_page(std::source_location caller = std::source_location::current());

// The seven pages after a successful processing call: the stamped XML file
// (page 1, titled `page1_title`, given without its trailing blanks), the two
// original strings, the two seals, the certificates and the other values.
void show_success_sequence(int handle, std::string_view page1_title, std::string_view page1_file,
                           std::source_location caller = std::source_location::current());

// The outcome of a cancellation service over the menu: banner, the result
// line (if any) on row 4, the left file in a green viewer (columns 0-40),
// then the right file in a red viewer (columns 41-79); then the screen as it
// was before, with "W+/N" current.
void show_split_result(std::string_view title_text, std::optional<std::string_view> result_line,
                       std::string_view left_file, std::string_view right_file,
                       std::source_location caller = std::source_location::current());

}  // namespace app
