#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "issue/bulk_download.h"

// The services of the library that stand beside processing: checking a CFDI
// as its receiver would, stamping a sealed file, the key and certificate
// check, the account's balance and the bulk download. Texts are UTF-8, file
// names Windows-style. Each writes its steps and findings to its log file,
// which is replaced whole by every call; none throws.
namespace drovanexis::services {

// The result codes of check_cfdi_file besides 0 and the SAT's rule numbers.
inline constexpr int kCheckFileUnreadable = 901;
inline constexpr int kCheckStampSealInvalid = 902;

// 0 when the file is a well-formed, schema-valid CFDI 3.3 that passes the
// provider's rules, whose Sello verifies over its original string and, when
// stamped, whose stamp was sealed by a provider certificate the sandbox
// knows. Else the number of the first failure (901, 301, a rule's number,
// 302, 902, 703).
int check_cfdi_file(std::string_view file, std::string_view log_file);

// Stamps a sealed CFDI file with the given account, writing the stamped
// document to stamped_file_name(file). 0 or the processing codes.
int stamp_sealed_file(std::string_view file, const std::string& user, const std::string& password,
                      std::string_view log_file);
// "<folder>/<name>_timbrado.xml" for the file "<folder>/<name>.xml" as found
// on disk (any extension).
std::string stamped_file_name(std::string_view file);

// Results of cer_key_match.
inline constexpr int kPairMatches = 1;
inline constexpr int kPairDiffers = 0;
inline constexpr int kPairCertificateMissing = -1;
inline constexpr int kPairKeyMissing = -2;
inline constexpr int kPairWrongPassword = -3;
inline constexpr int kPairCertificateDamaged = -4;
inline constexpr int kPairKeyDamaged = -5;
int cer_key_match(std::string_view certificate_file, std::string_view key_file,
                  std::string_view password, std::string_view log_file);

// Base64 of the file's bytes; "" (and a log line) when it cannot be read.
std::string file_to_base64(std::string_view file, std::string_view log_file);

// Results of the account and bulk download services.
inline constexpr int kServiceDone = 0;
inline constexpr int kServiceBadArgument = -1;
inline constexpr int kServiceCredentials = -2;
inline constexpr int kServiceInternalError = -3;
inline constexpr int kServiceUnknownRequest = -4;

// Writes Usuario, TimbresDisponibles, TimbresUtilizados to result_file.
int query_balance(const std::string& user, const std::string& password,
                  std::string_view result_file, std::string_view log_file);

// The requester's e.firma (or CSD): the certificate must be the RFC's and
// the key its pair.
struct Requester {
  std::string certificate_file;
  std::string key_file;
  std::string key_password;
  std::string rfc;
};

int request_bulk_download(const Requester& requester, const DownloadRequest& request,
                          std::string_view result_file, std::string_view log_file);
// Returns the request's state (1 accepted, 2 in process, 3 finished, 4
// error, 5 rejected, 6 expired) or a negative code.
int verify_bulk_download(const Requester& requester, const std::string& request_id,
                         std::string_view result_file, std::string_view log_file);
int download_bulk_package(const Requester& requester, const std::string& package_id,
                          std::string_view package_file, std::string_view result_file,
                          std::string_view log_file);

}  // namespace drovanexis::services
