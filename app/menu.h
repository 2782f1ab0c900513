#pragma once
// The main menu: MAIN sizes the screen, switches SCOREBOARD off and shows the
// menu again and again, calling the chosen operation, until option 12.

#include <array>
#include <functional>
#include <string_view>

namespace app {

// The title and the twelve prompts, as Windows-1252 bytes.
constexpr std::string_view kMenuTitle = " Seleccione una opcion ";
constexpr int kMenuTitleRow = 3;
constexpr int kMenuColumn = 20;
constexpr int kMenuFirstRow = 5;
constexpr int kMenuExitOption = 12;
extern const std::array<std::string_view, 12> kMenuPrompts;

using Operations = std::array<std::function<void()>, 11>;
// The operations of options 1-11 in option order.
const Operations& menu_operations();

// The menu loop on app::con() with the given operations; returns when option
// 12 is chosen.
void run_menu(const Operations& operations);

// The program's entry routine.
void MAIN();

}  // namespace app
