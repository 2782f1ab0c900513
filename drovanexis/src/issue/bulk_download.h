#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace drovanexis {

// The bulk download service as the SAT runs it: a request names an RFC, a
// period of issue dates and what it wants (the documents the RFC issued or
// received, as XML files or as metadata lines); the provider answers with the
// request's id, later with its state and the ids of its packages, and each
// package is a ZIP file.

enum class DownloadKind { kIssuedXml, kIssuedMetadata, kReceivedXml, kReceivedMetadata };

struct DownloadRequest {
  std::string rfc;              // the requesting taxpayer
  std::string from;             // first issue date, yyyy-mm-dd[Thh:mm:ss]
  std::string to;               // last issue date, yyyy-mm-dd[Thh:mm:ss]
  std::string counterpart_rfc;  // only documents with this receiver (issued) or issuer; "" all
  DownloadKind kind = DownloadKind::kIssuedXml;
};

// The request's state, with the SAT's numbers.
inline constexpr int kDownloadAccepted = 1;
inline constexpr int kDownloadInProcess = 2;
inline constexpr int kDownloadFinished = 3;
inline constexpr int kDownloadError = 4;
inline constexpr int kDownloadRejected = 5;  // nothing matched the request
inline constexpr int kDownloadExpired = 6;

struct DownloadVerification {
  int state = kDownloadAccepted;
  std::string status_code;  // "5000" found, "5004" no information found
  std::string message;      // Spanish
  int document_count = 0;
  std::vector<std::string> packages;  // ids, when finished
};

struct DownloadPackage {
  std::string id;
  std::string zip;  // the ZIP file's bytes
  int document_count = 0;
};

// The service refused: its code ("5004", "5005", "5007", "300", ...) and a
// Spanish explanation.
class DownloadRefusal : public std::runtime_error {
 public:
  DownloadRefusal(std::string code, const std::string& explanation)
      : std::runtime_error(explanation), code_(std::move(code)) {}
  const std::string& code() const { return code_; }

 private:
  std::string code_;
};

}  // namespace drovanexis
