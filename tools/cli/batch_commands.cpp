#include "tools/cli/batch_commands.h"

#include <openssl/evp.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <ostream>
#include <set>
#include <thread>

#include "crypto/certificate.h"
#include "crypto/crypto_error.h"
#include "crypto/private_key.h"
#include "crypto/seal.h"
#include "document/output_rules.h"
#include "issue/external_document.h"
#include "issue/processing_failure.h"
#include "issue/provider_codes.h"
#include "sandbox/accounts.h"
#include "sandbox/ledger.h"
#include "sandbox/provider_identity.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/stamp.h"
#include "sandbox/stamp_sources.h"
#include "sandbox/state_file.h"
#include "sandbox/uuid.h"
#include "tools/cli/document_file.h"
#include "tools/cli/durable_files.h"
#include "tools/cli/output.h"
#include "validate/validation.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace cli {

namespace {

namespace fs = std::filesystem;
using drovanexis::Element;
using drovanexis::sandbox::SandboxProvider;

// Results handed from the workers to the committing thread at most; workers
// wait beyond it, so that memory stays flat however many files there are.
constexpr std::size_t kMaxPendingResults = 512;
// Stamps committed in one transaction and written with one group of flushes.
constexpr std::size_t kMaxGroup = 256;

// Kept for every input of the run; plain strings, as a path object costs
// several allocations more per file.
struct BatchJob {
  std::string input;
  std::string output;
  drovanexis::sandbox::StampSource source;
};

// What a worker made of one job.
struct JobResult {
  std::size_t job = 0;
  std::string code;  // "" on success
  std::string message;
  std::string xml;
  drovanexis::sandbox::LedgerEntry entry;
};

struct Summary {
  std::size_t done = 0;  // sealed or stamped in this run
  std::size_t recovered = 0;
  std::size_t skipped = 0;
  std::size_t failed = 0;
  std::vector<std::string> json_documents;
};

std::string sha256_hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 failed");
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0x0F];
  }
  return hex;
}

bool ends_with(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.ends_with(suffix);
}

// Results written beside their inputs by an earlier run are not inputs.
bool is_input_name(const fs::path& file) {
  const std::string name = file.filename().string();
  return ends_with(name, ".xml") && !ends_with(name, kSealedSuffix) &&
         !ends_with(name, kStampedSuffix) && !name.starts_with(".");
}

fs::path output_for(const fs::path& input, const std::optional<fs::path>& out_dir,
                    const char* suffix) {
  if (out_dir) return *out_dir / input.filename();
  fs::path output = input;
  const std::string stem = input.stem().string();
  output.replace_filename(stem + suffix);
  return output;
}

// The input files: the operands, and the *.xml files of operands that are
// folders, in name order. Reports what cannot be used on `err`.
std::vector<fs::path> collect_inputs(const std::vector<std::string>& operands, std::ostream& err,
                                     const std::string& tool, bool& usage_error) {
  std::vector<fs::path> inputs;
  for (const std::string& operand : operands) {
    std::error_code ec;
    if (fs::is_directory(operand, ec)) {
      std::vector<fs::path> found;
      for (const auto& entry : fs::directory_iterator(operand, ec)) {
        if (entry.is_regular_file(ec) && is_input_name(entry.path())) {
          found.push_back(entry.path());
        }
      }
      if (ec) {
        err << tool << ": " << operand << ": cannot list the folder: " << ec.message() << "\n";
        usage_error = true;
      }
      std::sort(found.begin(), found.end());
      inputs.insert(inputs.end(), found.begin(), found.end());
    } else if (fs::is_regular_file(operand, ec)) {
      inputs.emplace_back(operand);
    } else {
      err << tool << ": " << operand << ": no such file or folder\n";
      usage_error = true;
    }
  }
  return inputs;
}

std::optional<int> parse_jobs(const ParsedCommand& command, std::ostream& err,
                              const std::string& tool) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const auto text = command.value("jobs");
  if (!text) return static_cast<int>(cores);
  int jobs = 0;
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), jobs);
  if (ec != std::errc() || end != text->data() + text->size() || jobs < 1 || jobs > 256) {
    err << tool << ": --jobs must be a whole number from 1 to 256, not \"" << *text << "\"\n";
    return std::nullopt;
  }
  return jobs;
}

// Whether the file at `output` already holds a finished result.
bool result_exists(const fs::path& output, bool stamping) {
  std::error_code ec;
  if (!fs::is_regular_file(output, ec)) return false;
  try {
    const Element document = read_xml_file(output);
    if (stamping) return find_stamp(document) != nullptr;
    const std::string* sello = document.attribute("Sello");
    return sello != nullptr && !sello->empty();
  } catch (const std::exception&) {
    return false;  // an unreadable or broken result is made again
  }
}

drovanexis::sandbox::LedgerEntry ledger_entry_for(const Element& comprobante,
                                                  const drovanexis::StampFields& stamp) {
  auto attribute = [](const Element* element, std::string_view name) {
    const std::string* value = element ? element->attribute(name) : nullptr;
    return value ? *value : std::string();
  };
  drovanexis::sandbox::LedgerEntry entry;
  entry.uuid = stamp.uuid;
  entry.issuer_rfc = attribute(comprobante.child("cfdi:Emisor"), "Rfc");
  entry.receiver_rfc = attribute(comprobante.child("cfdi:Receptor"), "Rfc");
  entry.total = attribute(&comprobante, "Total");
  entry.document_type = attribute(&comprobante, "TipoDeComprobante");
  entry.fecha = attribute(&comprobante, "Fecha");
  entry.fecha_timbrado = stamp.fecha_timbrado;
  return entry;
}

class BatchRun {
 public:
  BatchRun(const ParsedCommand& command, std::ostream& out, std::ostream& err, bool stamping)
      : command_(command),
        out_(out),
        err_(err),
        stamping_(stamping),
        tool_(stamping ? "drovanexis stamp" : "drovanexis seal") {}

  int run() {
    const auto jobs = parse_jobs(command_, err_, tool_);
    if (!jobs) return kExitUsage;
    if (!prepare_out_dir() || !load_credentials() || (stamping_ && !open_provider())) {
      return kExitUsage;
    }
    bool usage_error = false;
    // The list of inputs lives only while the plan is made.
    plan(collect_inputs(command_.operands, err_, tool_, usage_error), usage_error);
    ProgressBar progress(pending_.size(),
                         !command_.quiet() && !command_.json() && stderr_is_terminal());
    progress_ = &progress;
    process(static_cast<std::size_t>(*jobs));
    progress.finish();
    report();
    if (usage_error) return kExitUsage;
    return summary_.failed > 0 ? kExitNotClean : kExitOk;
  }

 private:
  bool prepare_out_dir() {
    const auto out = command_.value("out");
    if (!out) return true;
    std::error_code ec;
    fs::create_directories(*out, ec);
    if (!fs::is_directory(*out, ec)) {
      err_ << tool_ << ": --out " << *out << ": cannot create the folder"
           << (ec ? ": " + ec.message() : std::string()) << "\n";
      return false;
    }
    out_dir_ = fs::path(*out);
    return true;
  }

  bool load_credentials() {
    try {
      certificate_.emplace(drovanexis::Certificate::load(*command_.value("cer")));
      key_.emplace(
          drovanexis::PrivateKey::load(*command_.value("key"), *command_.value("password")));
      key_->require_match(*certificate_);
      return true;
    } catch (const drovanexis::CryptoError& error) {
      err_ << tool_ << ": " << error.what() << "\n";
      return false;
    }
  }

  bool open_provider() {
    try {
      provider_.emplace(SandboxProvider::open(drovanexis::sandbox::default_state_path()));
      user_ = command_.value("user").value_or(std::string(drovanexis::sandbox::kDemoAccount));
      const std::string secret = command_.value("secret").value_or("");
      if (!drovanexis::sandbox::authenticate(provider_->db(), user_, secret)) {
        err_ << tool_ << ": account \"" << user_ << "\": unknown user or wrong secret (701)\n";
        return false;
      }
      return true;
    } catch (const std::exception& error) {
      err_ << tool_ << ": " << error.what() << "\n";
      return false;
    }
  }

  // Decides per input: skipped (result already there), written from the
  // ledger (stamped by an earlier run that stopped before its file), or to
  // be processed.
  void plan(const std::vector<fs::path>& inputs, bool& usage_error) {
    std::set<std::string> outputs;
    std::vector<FileToWrite> recovered;
    std::vector<std::size_t> recovered_jobs;
    for (const auto& input : inputs) {
      BatchJob job{input.string(),
                   output_for(input, out_dir_, stamping_ ? kStampedSuffix : kSealedSuffix).string(),
                   {}};
      if (!outputs.insert(fs::weakly_canonical(job.output).string()).second) {
        err_ << tool_ << ": " << input.string() << ": another input has the same name; its "
             << "result would overwrite " << job.output << "\n";
        usage_error = true;
        continue;
      }
      std::error_code ec;
      fs::remove(temporary_name_for(job.output), ec);
      if (result_exists(job.output, stamping_)) {
        ++summary_.skipped;
        document_json(job, "skipped", "", "");
        continue;
      }
      if (stamping_) {
        const Recorded found = find_recorded(job, recovered);
        if (found == Recorded::kUnreadable) continue;
        if (found == Recorded::kInLedger) {
          recovered_jobs.push_back(jobs_.size());
          jobs_.push_back(std::move(job));
          continue;
        }
      }
      pending_.push_back(jobs_.size());
      jobs_.push_back(std::move(job));
    }
    write_recovered(recovered, recovered_jobs);
  }

  enum class Recorded { kNotYet, kInLedger, kUnreadable };

  // Fills the job's source; when the ledger already holds a stamp of that
  // very file, queues its stored XML to be written.
  Recorded find_recorded(BatchJob& job, std::vector<FileToWrite>& recovered) {
    try {
      job.source.input_name = fs::weakly_canonical(job.input).string();
      job.source.input_sha256 = sha256_hex(read_whole_file(job.input));
    } catch (const std::exception& error) {
      fail_unqueued(job, error.what());
      return Recorded::kUnreadable;
    }
    const auto recorded = drovanexis::sandbox::find_stamp_by_source(provider_->db(), job.source);
    if (!recorded) return Recorded::kNotYet;
    recovered.push_back({job.output, recorded->stamped_xml, ""});
    recovered_uuids_.push_back(recorded->uuid);
    return Recorded::kInLedger;
  }

  void write_recovered(std::vector<FileToWrite>& files, const std::vector<std::size_t>& jobs) {
    if (files.empty()) return;
    write_files_durably(files);
    for (std::size_t i = 0; i < files.size(); ++i) {
      const BatchJob& job = jobs_[jobs[i]];
      if (files[i].error.empty()) {
        ++summary_.recovered;
        document_json(job, "recovered", recovered_uuids_[i], "");
      } else {
        failed(job, "805",
               files[i].error + " (stamped earlier with UUID " + recovered_uuids_[i] +
                   "; run again to write it)");
      }
    }
  }

  void fail_unqueued(const BatchJob& job, const std::string& message) {
    jobs_.push_back(job);
    failed(job, "301", message);
  }

  void failed(const BatchJob& job, const std::string& code, const std::string& message) {
    ++summary_.failed;
    err_ << tool_ << ": " << job.input << ": " << code << ": " << message << "\n";
    document_json(job, "failed", "", code, message);
  }

  void document_json(const BatchJob& job, std::string_view status, std::string_view uuid,
                     std::string_view code, std::string_view message = "") {
    if (!command_.json()) return;
    JsonObject object;
    object.text("file", job.input).text("output", job.output);
    object.text("status", status);
    if (!uuid.empty()) object.text("uuid", uuid);
    if (!code.empty()) object.text("code", code).text("message", message);
    summary_.json_documents.push_back(object.str());
  }

  // --- the workers ---

  JobResult work(std::size_t job_index) const {
    const BatchJob& job = jobs_[job_index];
    JobResult result;
    result.job = job_index;
    try {
      Element root = drovanexis::issue::read_external_document(read_whole_file(job.input));
      drovanexis::prepare_for_sealing(root, drovanexis::central_mexico_now());
      drovanexis::seal(root, *certificate_, *key_);
      if (stamping_) {
        auto failures = drovanexis::validate_document(root, provider_->validation_context(root));
        if (!failures.empty()) throw drovanexis::issue::ProcessingFailure(std::move(failures));
        const auto stamp = drovanexis::sandbox::add_stamp(root, provider_->signer(),
                                                          drovanexis::sandbox::new_uuid(),
                                                          drovanexis::central_mexico_now());
        result.entry = ledger_entry_for(root, stamp);
        result.entry.account = user_;
      }
      result.xml = drovanexis::write_xml(root);
    } catch (const drovanexis::issue::ProcessingFailure& failure) {
      result.code = failure.code();
      for (const auto& item : failure.failures()) {
        if (!result.message.empty()) result.message += "; ";
        result.message += item.code + " " + item.node +
                          (item.attribute.empty() ? "" : "@" + item.attribute) + ": " +
                          item.explanation;
      }
    } catch (const std::exception& error) {
      result.code = std::to_string(drovanexis::kCodeInternalError);
      result.message = error.what();
    }
    return result;
  }

  void worker() {
    for (;;) {
      const std::size_t next = next_job_.fetch_add(1);
      if (next >= pending_.size()) return;
      JobResult result = work(pending_[next]);
      std::unique_lock lock(mutex_);
      room_.wait(lock, [this] { return results_.size() < kMaxPendingResults; });
      results_.push_back(std::move(result));
      ready_.notify_one();
    }
  }

  void process(std::size_t jobs) {
    if (pending_.empty()) return;
    std::vector<std::thread> threads;
    const std::size_t count = std::min(jobs, pending_.size());
    for (std::size_t i = 0; i < count; ++i) threads.emplace_back([this] { worker(); });
    std::size_t handled = 0;
    while (handled < pending_.size()) {
      std::vector<JobResult> group;
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !results_.empty(); });
        while (!results_.empty() && group.size() < kMaxGroup) {
          group.push_back(std::move(results_.front()));
          results_.pop_front();
        }
        room_.notify_all();
      }
      handled += group.size();
      finish_group(group);
      progress_->update(summary_.done + summary_.failed);
    }
    for (auto& thread : threads) thread.join();
  }

  // --- the committing thread ---

  // Records the group's stamps in one transaction (one flush), then writes
  // their files with a fixed number of flushes. A document counts as stamped
  // only when both are done.
  void finish_group(std::vector<JobResult>& group) {
    if (stamping_) commit_stamps(group);
    std::vector<FileToWrite> files;
    std::vector<JobResult*> written;
    for (auto& result : group) {
      if (!result.code.empty()) {
        failed(jobs_[result.job], result.code, result.message);
        continue;
      }
      files.push_back({jobs_[result.job].output, std::move(result.xml), ""});
      written.push_back(&result);
    }
    write_files_durably(files);
    for (std::size_t i = 0; i < files.size(); ++i) {
      const JobResult& result = *written[i];
      const BatchJob& job = jobs_[result.job];
      if (!files[i].error.empty()) {
        failed(job, "805",
               stamping_ ? files[i].error + " (stamped with UUID " + result.entry.uuid +
                               "; run again to write it)"
                         : files[i].error);
        continue;
      }
      ++summary_.done;
      document_json(job, stamping_ ? "stamped" : "sealed", result.entry.uuid, "");
    }
  }

  void commit_stamps(std::vector<JobResult>& group) {
    auto& db = provider_->db();
    try {
      drovanexis::sandbox::Transaction transaction(db);
      for (auto& result : group) {
        if (!result.code.empty()) continue;
        try {
          result.entry.stamped_xml = result.xml;
          drovanexis::sandbox::record_stamp(db, result.entry);
          drovanexis::sandbox::record_stamp_source(db, result.entry.uuid, jobs_[result.job].source);
          result.entry.stamped_xml.clear();
        } catch (const drovanexis::sandbox::StampRefused& refusal) {
          // Checked before any row of this document was written: the
          // transaction goes on for the others.
          result.code = std::to_string(refusal.code());
          result.message = std::string(refusal.what()) + " (account " + user_ + ")";
        }
      }
      transaction.commit();
    } catch (const std::exception& error) {
      for (auto& result : group) {
        if (!result.code.empty()) continue;
        result.code = std::to_string(drovanexis::kCodeStateUnavailable);
        result.message = error.what();
      }
    }
  }

  void report() {
    const char* verb = stamping_ ? "stamped" : "sealed";
    if (stamping_) {
      try {
        balance_left_ = drovanexis::sandbox::account_balance(provider_->db(), user_).value_or(-1);
      } catch (const std::exception&) {
        balance_left_ = -1;  // the summary then leaves the balance out
      }
    }
    if (command_.json()) {
      JsonObject object;
      object.number(verb, static_cast<std::int64_t>(summary_.done));
      if (stamping_) object.number("recovered", static_cast<std::int64_t>(summary_.recovered));
      object.number("skipped", static_cast<std::int64_t>(summary_.skipped))
          .number("failed", static_cast<std::int64_t>(summary_.failed));
      if (stamping_ && balance_left_ >= 0) object.number("balance", balance_left_);
      object.raw("documents", json_array(summary_.json_documents));
      out_ << object.str() << "\n";
      return;
    }
    out_ << verb << ": " << summary_.done;
    if (stamping_) out_ << ", written from the ledger: " << summary_.recovered;
    out_ << ", skipped (already done): " << summary_.skipped << ", failed: " << summary_.failed;
    if (stamping_ && balance_left_ >= 0) out_ << ", stamps left: " << balance_left_;
    out_ << "\n";
  }

  const ParsedCommand& command_;
  std::ostream& out_;
  std::ostream& err_;
  bool stamping_;
  std::string tool_;
  std::optional<fs::path> out_dir_;
  std::optional<drovanexis::Certificate> certificate_;
  std::optional<drovanexis::PrivateKey> key_;
  std::optional<SandboxProvider> provider_;
  std::string user_;
  std::int64_t balance_left_ = -1;

  std::vector<BatchJob> jobs_;
  std::vector<std::size_t> pending_;  // indices into jobs_ still to process
  std::vector<std::string> recovered_uuids_;
  Summary summary_;
  ProgressBar* progress_ = nullptr;

  std::atomic<std::size_t> next_job_{0};
  std::mutex mutex_;
  std::condition_variable ready_;
  std::condition_variable room_;
  std::deque<JobResult> results_;
};

}  // namespace

int run_seal(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return BatchRun(command, out, err, false).run();
}

int run_stamp(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return BatchRun(command, out, err, true).run();
}

}  // namespace cli
