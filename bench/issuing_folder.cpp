#include "issuing_folder.h"

#include <ctime>
#include <stdexcept>
#include <system_error>

#include "api/scenario_calls.h"
#include "drovanexis.h"
#include "portable/environment.h"
#include "portable/temp_folder.h"
#include "sandbox/accounts.h"
#include "sandbox/provider_identity.h"
#include "sandbox/state_file.h"
#include "tools/sandbox_artifacts.h"

namespace bench {

const char* const kIssuerCertificateFile = "CSD_CACX7605101P8.cer";
const char* const kIssuerKeyFile = "CSD_CACX7605101P8.key";
const char* const kIssuerKeyPassword = "24681357q";

namespace {

std::filesystem::path make_temporary_folder() {
  return portable::make_temporary_folder("cfdi-bench-");
}

}  // namespace

IssuingFolder::IssuingFolder(std::int64_t stamps)
    : previous_(std::filesystem::current_path()), path_(make_temporary_folder()) {
  try {
    std::filesystem::current_path(path_);
    // Processing must use this folder's state file, not one named outside.
    portable::unset_environment_variable("DROVANEXIS_SANDBOX_DB");
    sandbox_tool::init_working_folder(".", std::time(nullptr));
    auto db = drovanexis::sandbox::open_existing_state(sandbox_tool::kStateFile);
    drovanexis::sandbox::store_account(*db, drovanexis::sandbox::kDemoAccount, std::nullopt,
                                       stamps);
  } catch (const std::exception& error) {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
    throw std::runtime_error("cannot prepare the working folder " + path_.string() + ": " +
                             error.what());
  }
}

IssuingFolder::~IssuingFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

IssueResult issue_simple_invoice(const char* output_file) {
  const std::int32_t handle = drovanexis::test::build_simple_invoice();
  IssueResult result;
  result.code = Drovanexis_ProcesaDocumento(handle, kIssuerCertificateFile, kIssuerKeyFile,
                                            kIssuerKeyPassword, output_file);
  if (result.code != 0) result.description = Drovanexis_GetValue(handle, 2);
  Drovanexis_Free(handle);
  return result;
}

}  // namespace bench
