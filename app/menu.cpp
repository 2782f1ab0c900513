#include "app/menu.h"

#include "app/globals.h"
#include "app/operations.h"
#include "console/call_stack.h"

namespace app {

// Byte for byte; "\xF3" is the Windows-1252 "o" with acute accent.
const std::array<std::string_view, 12> kMenuPrompts = {
    " 1) CFDI 3.3 Simple ",
    " 2) CFDI 3.3 con Complemento de Pagos 1.0 ",
    " 3) CFDI 3.3 con Complemento de Nomina 1.2 ",
    " 4) CFDI 3.3 con Complemento de Carta Porte 1.0",
    " 5) CFDI 3.3 con Complemento de Carta Porte 2.0",
    " 6) Timbrado de un XML creado externamente ",
    " 7) Convertir archivo .CER a Base64 ",
    " 8) Generar CBB manualmente ",
    " 9) Cancelar CFDI con el nuevo esquema",
    " 10) Consulta estado de un CFDI para cancelaci\xF3n",
    " 11) Recuperar acuse de cancelaci\xF3n",
    " 12) Salir ",
};

const Operations& menu_operations() {
  static const Operations operations = {VXMLSAMPLE,      VXMLPAGOS,   VXMLNOMINA,  VXMLCARTAPORTE1,
                                        VXMLCARTAPORTE2, VXMLEXTERNO, CERTA64,     BMPSAMANO,
                                        CANCELACFDI,     ESTADOCFDI,  ACUSECANCELA};
  return operations;
}

namespace {

console::SelectionVariable nprompt_variable() {
  return console::SelectionVariable{
      "nPrompt",
      [] {
        return nPrompt.has_value() ? std::optional<std::optional<int>>(*nPrompt) : std::nullopt;
      },
      [](std::optional<int> value) { nPrompt = value; }};
}

void draw_menu(console::Console& con) {
  con.clear();
  con.set_position(0, 0);
  con.write_at(kMenuTitleRow, kMenuColumn, kMenuTitle, "W+/R");
  for (std::size_t i = 0; i < kMenuPrompts.size(); ++i) {
    con.add_prompt(kMenuFirstRow + static_cast<int>(i), kMenuColumn, std::string(kMenuPrompts[i]));
  }
}

}  // namespace

void run_menu(const Operations& operations) {
  while (true) {
    console::Console& con = app::con();
    draw_menu(con);
    nPrompt = con.select(nprompt_variable());
    const int chosen = *nPrompt;
    if (chosen >= 1 && chosen <= static_cast<int>(operations.size())) {
      console::RoutineFrame::at();  // MAIN runs the operation's call
      operations[static_cast<std::size_t>(chosen - 1)]();
    } else if (chosen == kMenuExitOption) {
      return;
    }
    // Anything else (0 after Esc) draws the menu again.
  }
}

void MAIN() {
  console::RoutineFrame frame("MAIN");
  con().set_mode(25, 80);
  con().set_setting("SCOREBOARD", false);
  run_menu(menu_operations());
}

}  // namespace app
