#include <sys/stat.h>

#include <exception>
#include <mutex>
#include <optional>

#include "issue/provider.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/state_file.h"

// The one place that knows which provider the pipeline talks to.
namespace drovanexis {

namespace {

// The file behind a path, so that a state file deleted or replaced under the
// same name is never written through a connection to the old one.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identity_of(const std::filesystem::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino};
}

// The sandbox provider stays open for the life of the process: opening it
// costs a connection, the schema check, the provider's certificates and the
// write-ahead log's set-up, several times the stamp's own work. One state file
// is kept open (the one used last); calls are serialised, as one connection
// serves them all.
class OpenSandbox {
 public:
  static OpenSandbox& instance() {
    static OpenSandbox open;
    return open;
  }

  std::int64_t use_balance(const std::string& user, const std::string& password) {
    std::lock_guard lock(mutex_);
    return current().balance(user, password);
  }

  StampResult use_stamp(const StampRequest& request) {
    std::lock_guard lock(mutex_);
    return current().stamp(request);
  }

  // Runs fn on the open provider, under the lock that serialises its use.
  template <typename Fn>
  auto with(Fn&& fn) {
    std::lock_guard lock(mutex_);
    return fn(current());
  }

  // Opens the state file now, so that a missing one is reported before any
  // work is done.
  void ensure_open() {
    std::lock_guard lock(mutex_);
    current();
  }

 private:
  sandbox::SandboxProvider& current() {
    const std::filesystem::path path = sandbox::default_state_path();
    const auto identity = identity_of(path);
    if (!provider_ || path != path_ || !identity || identity != identity_) {
      provider_.reset();
      try {
        provider_.emplace(sandbox::SandboxProvider::open(path));
      } catch (const std::exception& error) {
        throw ProviderUnavailable(error.what());
      }
      path_ = path;
      identity_ = identity_of(path);
    }
    return *provider_;
  }

  std::mutex mutex_;
  std::optional<sandbox::SandboxProvider> provider_;
  std::filesystem::path path_;
  std::optional<FileIdentity> identity_;
};

// What the pipeline holds: the process's open sandbox.
class SharedSandbox final : public Provider {
 public:
  StampResult stamp(const StampRequest& request) override {
    return OpenSandbox::instance().use_stamp(request);
  }
  std::int64_t balance(const std::string& user, const std::string& password) override {
    return OpenSandbox::instance().use_balance(user, password);
  }
  std::int64_t stamps_used(const std::string& user) override {
    return OpenSandbox::instance().with([&](Provider& p) { return p.stamps_used(user); });
  }
  std::vector<Failure> check_rules(Element comprobante, std::time_t at) override {
    return OpenSandbox::instance().with(
        [&](Provider& p) { return p.check_rules(std::move(comprobante), at); });
  }
  bool stamp_seal_verifies(const Element& timbre) override {
    return OpenSandbox::instance().with([&](Provider& p) { return p.stamp_seal_verifies(timbre); });
  }
  std::string request_download(const DownloadRequest& request, std::time_t now) override {
    return OpenSandbox::instance().with(
        [&](Provider& p) { return p.request_download(request, now); });
  }
  DownloadVerification verify_download(const std::string& rfc,
                                       const std::string& request_id) override {
    return OpenSandbox::instance().with(
        [&](Provider& p) { return p.verify_download(rfc, request_id); });
  }
  DownloadPackage download_package(const std::string& rfc, const std::string& package_id) override {
    return OpenSandbox::instance().with(
        [&](Provider& p) { return p.download_package(rfc, package_id); });
  }
  CancellationAnswer cancel(const CancellationRequest& request) override {
    return OpenSandbox::instance().with([&](Provider& p) { return p.cancel(request); });
  }
  StatusAnswer status(const StatusRequest& request) override {
    return OpenSandbox::instance().with([&](Provider& p) { return p.status(request); });
  }
  std::optional<Acknowledgement> acknowledgement(const AcknowledgementRequest& request) override {
    return OpenSandbox::instance().with([&](Provider& p) { return p.acknowledgement(request); });
  }
  std::optional<CfdiDescription> recorded_cfdi(const std::string& uuid) override {
    return OpenSandbox::instance().with([&](Provider& p) { return p.recorded_cfdi(uuid); });
  }
  // The batch works on its own connections: only opening it is serialised.
  std::unique_ptr<StampBatch> open_batch(const std::string& user, const std::string& password,
                                         XmlSerializer serialize) override {
    return OpenSandbox::instance().with(
        [&](Provider& p) { return p.open_batch(user, password, std::move(serialize)); });
  }
};

}  // namespace

std::unique_ptr<Provider> open_provider() {
  OpenSandbox::instance().ensure_open();
  return std::make_unique<SharedSandbox>();
}

void set_provider_folder(const std::filesystem::path& folder) { sandbox::set_state_folder(folder); }

std::vector<std::filesystem::path> provider_kept_files() {
  const std::filesystem::path state = sandbox::default_state_path();
  std::vector<std::filesystem::path> kept{state};
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    kept.emplace_back(state.string() + suffix);
  }
  return kept;
}

}  // namespace drovanexis
