#include "cbb/qr_matrix.h"

#include <qrencode.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace drovanexis::cbb {

namespace {

struct QrCodeFree {
  void operator()(QRcode* code) const { QRcode_free(code); }
};

QRecLevel to_qrencode(ErrorCorrection level) {
  switch (level) {
    case ErrorCorrection::kLow: return QR_ECLEVEL_L;
    case ErrorCorrection::kMedium: return QR_ECLEVEL_M;
    case ErrorCorrection::kQuartile: return QR_ECLEVEL_Q;
    case ErrorCorrection::kHigh: return QR_ECLEVEL_H;
  }
  return QR_ECLEVEL_M;
}

}  // namespace

QrMatrix encode_qr(std::string_view text, ErrorCorrection level) {
  if (text.empty()) throw CbbError("el texto del CBB está vacío");
  // 8-bit mode keeps every byte as given; version 0 lets the encoder pick the
  // smallest symbol.
  std::unique_ptr<QRcode, QrCodeFree> code(QRcode_encodeData(
      static_cast<int>(text.size()), reinterpret_cast<const unsigned char*>(text.data()), 0,
      to_qrencode(level)));
  if (!code) {
    const int error = errno;
    if (error == ERANGE) {
      throw CbbError("el texto del CBB (" + std::to_string(text.size()) +
                     " bytes) no cabe en un código QR con esa corrección de errores");
    }
    throw CbbError(std::string("no se pudo codificar el código QR: ") + std::strerror(error));
  }
  QrMatrix matrix;
  matrix.version = code->version;
  matrix.width = code->width;
  const auto cells = static_cast<std::size_t>(code->width) * static_cast<std::size_t>(code->width);
  matrix.dark.resize(cells);
  // Bit 0 of each byte is the module's colour; the other bits describe its role.
  for (std::size_t i = 0; i < cells; ++i) matrix.dark[i] = (code->data[i] & 1U) != 0;
  return matrix;
}

}  // namespace drovanexis::cbb
