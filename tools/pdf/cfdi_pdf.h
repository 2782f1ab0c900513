#pragma once

#include <stdexcept>
#include <string>

#include "document/element.h"

namespace pdf {

// A document the printed form cannot be made of (not a CFDI, or a version
// it does not know); what() says which.
class PrintError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PrintedCfdi {
  std::string bytes;  // the PDF
  int pages = 0;
  bool stamped = false;
};

// The printed form of a CFDI as a letter-size PDF in Spanish: issuer,
// receiver and the document's data with its stamp, the lines, the taxes and
// totals (the total in words too), the payment terms, related CFDIs, a
// section per complement, the QR code of the SAT's verification page, the
// seals and the stamp's original string. A document without a stamp is
// marked "SIN TIMBRAR" on every page and carries no QR code.
PrintedCfdi print_cfdi(const drovanexis::Element& comprobante);

}  // namespace pdf
