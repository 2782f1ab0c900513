#include <exception>

#include "issue/provider.h"
#include "issue/provider_codes.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/state_file.h"

// The one place that knows which provider the pipeline talks to.
namespace drovanexis {

std::unique_ptr<Provider> open_provider() {
  try {
    return std::make_unique<sandbox::SandboxProvider>(
        sandbox::SandboxProvider::open(sandbox::default_state_path()));
  } catch (const std::exception& error) {
    throw ProviderRefusal(kCodeStateUnavailable, error.what());
  }
}

std::vector<std::filesystem::path> provider_kept_files() {
  const std::filesystem::path state = sandbox::default_state_path();
  std::vector<std::filesystem::path> kept{state};
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    kept.emplace_back(state.string() + suffix);
  }
  return kept;
}

}  // namespace drovanexis
