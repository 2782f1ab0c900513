#include "issue/provider_codes.h"

namespace drovanexis {

std::string_view describe_provider_code(int code) {
  switch (code) {
    case kCodeBadCredentials: return "Usuario o contraseña del servicio de timbrado no válidos";
    case kCodeNoStampsLeft: return "La cuenta no tiene timbres disponibles";
    case kCodeStateUnavailable: return "El servicio de timbrado no está disponible";
    case kCodeCertificateUnreadable: return "No se pudo leer el certificado";
    case kCodeKeyUnreadable: return "No se pudo leer la llave privada";
    case kCodeWrongKeyPassword: return "La contraseña de la llave privada es incorrecta";
    case kCodeKeyDoesNotMatch: return "La llave privada no corresponde al certificado";
    case kCodeOutputNotWritten: return "No se pudo escribir el archivo de salida";
    case kCodeNoDocument: return "El documento no existe o está vacío";
    case kCodeInternalError: return "Error interno de la biblioteca";
    default: return "";
  }
}

}  // namespace drovanexis
