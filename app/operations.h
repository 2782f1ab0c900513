#pragma once
// The operations of the main menu, one per option 1-11. Each takes no
// arguments, draws through app::con() and returns to the menu.

namespace app {

void VXMLSAMPLE();       // 1: simple invoice
void VXMLPAGOS();        // 2: invoice with the payments complement
void VXMLNOMINA();       // 3: payroll receipt
void VXMLCARTAPORTE1();  // 4: transport complement 1.0
void VXMLCARTAPORTE2();  // 5: transport complement 2.0
void VXMLEXTERNO();      // 6: stamping an externally built XML
void CERTA64();          // 7: certificate to Base64
void BMPSAMANO();        // 8: CBB bitmaps
void CANCELACFDI();      // 9: cancellation
void ESTADOCFDI();       // 10: cancellation status query
void ACUSECANCELA();     // 11: cancellation acknowledgement

}  // namespace app
