#include "cbb/cbb_generator.h"

#include <exception>
#include <string>

#include "cbb/bmp_writer.h"
#include "cbb/cbb_log.h"
#include "cbb/qr_matrix.h"
#include "portable/file_io.h"

namespace drovanexis::cbb {

namespace {

constexpr int kMaxModulePixels = 64;
constexpr int kMaxMarginModules = 64;
constexpr const char* kLevelNames[] = {"L (7%)", "M (15%)", "Q (25%)", "H (30%)"};

// The reason the request's arguments cannot be used, or "" when they can.
std::string argument_problem(const CbbRequest& request) {
  if (request.mode != 0 && request.mode != 1) {
    return "modo " + std::to_string(request.mode) +
           " no válido: 0 = el texto tal cual, 1 = dirección de verificación del SAT";
  }
  if (request.level < 0 || request.level > 3) {
    return "nivel de corrección " + std::to_string(request.level) +
           " no válido: 0 = L, 1 = M, 2 = Q, 3 = H";
  }
  if (request.module_pixels < 1 || request.module_pixels > kMaxModulePixels) {
    return "tamaño de módulo " + std::to_string(request.module_pixels) + " no válido: de 1 a " +
           std::to_string(kMaxModulePixels) + " píxeles";
  }
  if (request.margin_modules < 0 || request.margin_modules > kMaxMarginModules) {
    return "margen " + std::to_string(request.margin_modules) + " no válido: de 0 a " +
           std::to_string(kMaxMarginModules) + " módulos";
  }
  if (request.bitmap_file.empty()) return "no se indicó el archivo del mapa de bits";
  return "";
}

void log_request(CbbLog& log, const CbbRequest& request) {
  log.step("Texto recibido: " + request.text);
  log.step("Mapa de bits: " + request.bitmap_file);
  log.step("Modo " + std::to_string(request.mode) + ", corrección " +
           std::to_string(request.level) + ", módulo " + std::to_string(request.module_pixels) +
           " px, margen " + std::to_string(request.margin_modules) + " módulos");
}

int generate(const CbbRequest& request, CbbLog& log) {
  log_request(log, request);
  if (const std::string problem = argument_problem(request); !problem.empty()) {
    log.error(problem);
    return kCbbBadArgument;
  }
  const std::string content = cbb_content(request.text, request.mode);
  log.step("Contenido del código: " + content);
  QrMatrix matrix;
  try {
    matrix = encode_qr(content, static_cast<ErrorCorrection>(request.level));
  } catch (const CbbError& error) {
    log.error(error.what());
    return kCbbNotEncodable;
  }
  const int side = bitmap_side(matrix, request.module_pixels, request.margin_modules);
  log.step("Código QR versión " + std::to_string(matrix.version) + ", " +
           std::to_string(matrix.width) + " x " + std::to_string(matrix.width) +
           " módulos, corrección " + kLevelNames[request.level]);
  try {
    portable::write_file_atomic(request.bitmap_file,
                                render_bmp(matrix, request.module_pixels, request.margin_modules));
  } catch (const std::exception& error) {
    log.error(std::string("no se pudo escribir el mapa de bits: ") + error.what());
    return kCbbNotWritten;
  }
  log.step("Mapa de bits escrito: " + request.bitmap_file + " (" + std::to_string(side) + " x " +
           std::to_string(side) + " píxeles, monocromático)");
  return kCbbGenerated;
}

}  // namespace

std::string cbb_content(std::string_view text, int mode) {
  if (mode != 1) return std::string(text);
  std::string address(kVerificationAddress);
  if (text.empty() || text.front() != '?') address += '?';
  return address + std::string(text);
}

int generate_cbb(const CbbRequest& request) noexcept {
  try {
    CbbLog log("Generación de CBB");
    const int result = generate(request, log);
    log.step("Resultado: " + std::to_string(result) +
             (result == kCbbGenerated ? " (CBB generado)" : " (CBB no generado)"));
    if (!request.log_file.empty()) log.append_to(request.log_file);
    return result;
  } catch (...) {
    return kCbbNotWritten;
  }
}

}  // namespace drovanexis::cbb
