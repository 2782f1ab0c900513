#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "issue/provider.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// A batch of stamps for one account on the sandbox's state file. It works on
// a provider of its own (its own connection, certificates and key), so that
// the workers that prepare stamps never wait for another caller of the
// process's provider, and keeps a second connection for look-ups, so that
// they never wait for the committing transaction.
class SandboxBatch final : public StampBatch {
 public:
  SandboxBatch(SandboxProvider provider, std::string user, XmlSerializer serialize);

  std::optional<RecordedStamp> recorded(const StampSource& source) override;
  PreparedStamp prepare(Element& comprobante) override;
  void commit(std::span<BatchItem> group, BatchDelivery& delivery) override;
  std::int64_t balance() override;

 private:
  // Decides each item inside the open transaction: the recorded stamp, the
  // prepared one while stamps are left, or a refusal.
  void decide(std::span<BatchItem> group);
  void record(std::span<BatchItem> group);

  SandboxProvider provider_;
  std::string user_;
  XmlSerializer serialize_;
  std::mutex reader_mutex_;
  std::unique_ptr<SqliteDb> reader_;
};

}  // namespace drovanexis::sandbox
