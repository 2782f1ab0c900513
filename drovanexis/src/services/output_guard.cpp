#include "services/output_guard.h"

#include <filesystem>
#include <stdexcept>
#include <string>

#include "issue/processing.h"
#include "portable/windows_path.h"
#include "sandbox/state_file.h"

namespace drovanexis::services {

namespace {

// A path in a form two names of one file share, whether it exists or not.
std::filesystem::path canonical_form(const std::filesystem::path& path) {
  std::error_code ec;
  auto result = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
  return ec ? path.lexically_normal() : result;
}

}  // namespace

void refuse_reserved_output(std::string_view output_file,
                            std::initializer_list<std::string_view> inputs) {
  if (output_file.empty()) throw std::invalid_argument("no se indicó el archivo de salida");
  const auto target = canonical_form(portable::resolve_path(output_file));
  const std::string name(output_file);

  const auto state = canonical_form(sandbox::default_state_path());
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    if (target == canonical_form(std::filesystem::path(state.string() + suffix))) {
      throw std::invalid_argument(name + " es el archivo de estado del proveedor o su bitácora");
    }
  }
  if (target == canonical_form(portable::resolve_path(kProcessingLogFile))) {
    throw std::invalid_argument(name + " es la bitácora de la biblioteca");
  }
  for (std::string_view input : inputs) {
    if (!input.empty() && target == canonical_form(portable::resolve_path(input))) {
      throw std::invalid_argument(name + " es también un archivo de entrada de la misma llamada");
    }
  }
}

}  // namespace drovanexis::services
