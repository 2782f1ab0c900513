#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

// A temporary working folder prepared as "drovanexis-sandbox init" prepares
// one (test authority, sample CSD files, provider state), made the working
// folder for the lifetime of the object and removed afterwards. The
// demonstration account is given `stamps` stamps so that long runs do not
// empty it. Throws std::runtime_error naming what failed.
class IssuingFolder {
 public:
  explicit IssuingFolder(std::int64_t stamps);
  ~IssuingFolder();
  IssuingFolder(const IssuingFolder&) = delete;
  IssuingFolder& operator=(const IssuingFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// The result of issuing one document: 0 and "" on success, else the
// library's result number and description.
struct IssueResult {
  int code = 0;
  std::string description;
};

// Issues the demo's simple invoice through the C entries, as the program
// does: builds it, processes it with the sample issuer's CSD files into
// `output_file`, and frees it.
IssueResult issue_simple_invoice(const char* output_file);

// The CSD files of the simple invoice's issuer and their password.
extern const char* const kIssuerCertificateFile;
extern const char* const kIssuerKeyFile;
extern const char* const kIssuerKeyPassword;

}  // namespace bench
