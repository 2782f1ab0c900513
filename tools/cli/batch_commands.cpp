#include "tools/cli/batch_commands.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>

#include "crypto/certificate.h"
#include "crypto/crypto_error.h"
#include "crypto/digest.h"
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
#include "tools/cli/batch_inputs.h"
#include "tools/cli/document_file.h"
#include "tools/cli/durable_files.h"
#include "tools/cli/json_spool.h"
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
// The allocator keeps the pages of results freed for the next ones: handing
// them back to the system now and then cost more in page faults than the
// resident size it saved, which this bound already keeps.
constexpr std::size_t kMaxPendingResults = 512;
// Stamps committed in one transaction and written with one group of flushes.
constexpr std::size_t kMaxGroup = 256;
// A group smaller than this waits up to kGroupGathering for more results.
constexpr std::size_t kMinGroup = 64;
constexpr std::chrono::milliseconds kGroupGathering{25};

// What became of one input.
enum class Outcome {
  kMade,       // sealed, or sealed and stamped, in this run
  kRecovered,  // stamped by an earlier run whose file was never written
  kSkipped,    // its result is already there
  kFailed,     // refused or unreadable
  kNameTaken,  // another input of the run has the same result file
};

// One input, from the worker that took it to the committing thread, which
// records it, writes it and reports it.
struct JobResult {
  std::string input;
  std::string output;
  Outcome outcome = Outcome::kFailed;
  std::string code;  // a failure's code
  std::string message;
  std::string xml;   // the result to write
  std::string uuid;  // of the stamp made or recovered
  std::string resolved_folder;  // of a folder operand, links resolved
  drovanexis::sandbox::StampSource source;
  drovanexis::sandbox::LedgerEntry entry;
};

struct Summary {
  std::size_t done = 0;  // sealed or stamped in this run
  std::size_t recovered = 0;
  std::size_t skipped = 0;
  std::size_t failed = 0;
  JsonSpool json_documents;
};

fs::path output_for(const fs::path& input, const std::optional<fs::path>& out_dir,
                    const char* suffix) {
  if (out_dir) return *out_dir / input.filename();
  fs::path output = input;
  const std::string stem = input.stem().string();
  output.replace_filename(stem + suffix);
  return output;
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
        tool_(stamping ? "drovanexis stamp" : "drovanexis seal"),
        inputs_(command.operands, {kSealedSuffix, kStampedSuffix}) {}

  int run() {
    const auto jobs = parse_jobs(command_, err_, tool_);
    if (!jobs) return kExitUsage;
    if (!prepare_out_dir() || !load_credentials() || (stamping_ && !open_provider())) {
      return kExitUsage;
    }
    results_may_exist_ = any_result_present();
    // The inputs are taken one at a time by the workers, never listed whole.
    const bool show_progress = !command_.quiet() && !command_.json() && stderr_is_terminal();
    ProgressBar progress(show_progress ? inputs_.count() : 0, show_progress);
    progress_ = &progress;
    process(static_cast<std::size_t>(*jobs));
    progress.finish();
    for (const std::string& error : inputs_.errors()) {
      err_ << tool_ << ": " << error << "\n";
      usage_error_ = true;
    }
    report();
    if (usage_error_) return kExitUsage;
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

  // Whether any file where this run puts its results could be one already:
  // when none is there as the run starts (a first run into a new folder),
  // the workers need not look for each document's result, a look-up in the
  // very folder whose lock every file written holds.
  bool any_result_present() const {
    const char* suffix = stamping_ ? kStampedSuffix : kSealedSuffix;
    const auto folder_holds = [](const fs::path& folder, std::string_view ending) {
      std::error_code ec;
      for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(".") && name.ends_with(ending)) return true;
      }
      return static_cast<bool>(ec);  // a folder that cannot be read: look each time
    };
    if (out_dir_) return folder_holds(*out_dir_, ".xml");
    for (const std::string& operand : command_.operands) {
      std::error_code ec;
      if (fs::is_directory(operand, ec)) {
        if (folder_holds(operand, suffix)) return true;
      } else if (fs::exists(output_for(operand, out_dir_, suffix), ec) || ec) {
        return true;
      }
    }
    return false;
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

  // --- the workers ---

  // The next input and its result file; nullopt when there are no more.
  std::optional<JobResult> next_input() {
    std::lock_guard lock(inputs_mutex_);
    const auto input = inputs_.next();
    if (!input) return std::nullopt;
    JobResult result;
    result.input = input->file.string();
    if (stamping_ && inputs_.is_folder(input->operand)) {
      std::string& resolved = resolved_folders_[input->operand];
      if (resolved.empty()) {
        // Left empty when it cannot be resolved: each file is then resolved
        // on its own, where a failure is that document's.
        std::error_code ec;
        const fs::path folder = fs::weakly_canonical(input->file.parent_path(), ec);
        if (!ec) resolved = folder.string();
      }
      result.resolved_folder = resolved;
    }
    result.output =
        output_for(input->file, out_dir_, stamping_ ? kStampedSuffix : kSealedSuffix).string();
    if (inputs_.result_taken_by_earlier_operand(*input, out_dir_.has_value())) {
      result.outcome = Outcome::kNameTaken;
    }
    return result;
  }

  // Decides what the input needs and does it: nothing when its result is
  // already there; its stored XML when the ledger holds a stamp of this very
  // file (an earlier run stopped before writing it); else sealing, and for
  // stamping validation and the stamp, which the committing thread records.
  void work(JobResult& result, drovanexis::sandbox::SqliteDb* ledger) const {
    if (result.outcome == Outcome::kNameTaken) return;
    decide(result, ledger);
    if (result.outcome == Outcome::kSkipped || result.outcome == Outcome::kFailed) {
      // A file half-written by a run that was stopped is not left behind;
      // for the others the committing thread writes over it.
      std::error_code ec;
      fs::remove(temporary_name_for(result.output), ec);
    }
  }

  void decide(JobResult& result, drovanexis::sandbox::SqliteDb* ledger) const {
    if (results_may_exist_ && result_exists(result.output, stamping_)) {
      result.outcome = Outcome::kSkipped;
      return;
    }
    std::string bytes;
    try {
      bytes = read_whole_file(result.input);
      if (stamping_) {
        result.source.input_name = recorded_name(result);
        result.source.input_sha256 = drovanexis::sha256_hex(bytes);
      }
    } catch (const std::exception& error) {
      fail(result, "301", error.what());
      return;
    }
    if (ledger != nullptr && recover(result, *ledger)) return;
    make(result, bytes);
  }

  // The input's name as recorded with its stamp: its full path with every
  // link resolved. The folder of a folder operand is resolved once per run;
  // a file that is itself a link is resolved on its own.
  static std::string recorded_name(const JobResult& result) {
    std::error_code ec;
    if (result.resolved_folder.empty() || fs::is_symlink(result.input, ec)) {
      return fs::weakly_canonical(result.input).string();
    }
    return (fs::path(result.resolved_folder) / fs::path(result.input).filename()).string();
  }

  bool recover(JobResult& result, drovanexis::sandbox::SqliteDb& ledger) const {
    try {
      auto recorded = drovanexis::sandbox::find_stamp_by_source(ledger, result.source);
      if (!recorded) return false;
      result.outcome = Outcome::kRecovered;
      result.uuid = std::move(recorded->uuid);
      result.xml = std::move(recorded->stamped_xml);
    } catch (const std::exception& error) {
      fail(result, std::to_string(drovanexis::kCodeStateUnavailable), error.what());
    }
    return true;
  }

  void make(JobResult& result, const std::string& bytes) const {
    try {
      Element root = drovanexis::issue::read_external_document(bytes);
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
        result.uuid = stamp.uuid;
      }
      result.xml = drovanexis::write_xml(root);
      result.outcome = Outcome::kMade;
    } catch (const drovanexis::issue::ProcessingFailure& failure) {
      std::string message;
      for (const auto& item : failure.failures()) {
        if (!message.empty()) message += "; ";
        message += item.code + " " + item.node +
                   (item.attribute.empty() ? "" : "@" + item.attribute) + ": " + item.explanation;
      }
      fail(result, failure.code(), message);
    } catch (const std::exception& error) {
      fail(result, std::to_string(drovanexis::kCodeInternalError), error.what());
    }
  }

  static void fail(JobResult& result, std::string code, std::string message) {
    result.outcome = Outcome::kFailed;
    result.code = std::move(code);
    result.message = std::move(message);
    result.xml.clear();
  }

  // Each worker looks the ledger up on a connection of its own, so that it
  // never waits for the committing thread's transaction. Its look-ups go to
  // random places of an index that grows with every stamp: a small page
  // cache keeps its memory from growing with it (the system's file cache
  // still holds the pages).
  std::unique_ptr<drovanexis::sandbox::SqliteDb> ledger_reader() {
    if (!stamping_) return nullptr;
    try {
      auto reader = std::make_unique<drovanexis::sandbox::SqliteDb>(provider_->db().file());
      reader->exec("PRAGMA cache_size = -128");
      return reader;
    } catch (const std::exception&) {
      return nullptr;  // looked up on the shared connection instead
    }
  }

  void worker() {
    const auto own_ledger = ledger_reader();
    drovanexis::sandbox::SqliteDb* ledger =
        own_ledger ? own_ledger.get() : (stamping_ ? &provider_->db() : nullptr);
    for (;;) {
      std::optional<JobResult> result = next_input();
      if (!result) break;
      work(*result, ledger);
      std::unique_lock lock(mutex_);
      room_.wait(lock, [this] { return results_.size() < kMaxPendingResults; });
      results_.push_back(std::move(*result));
      // The committing thread waits for a first result, then for a group.
      if (results_.size() == 1 || results_.size() == kMinGroup) ready_.notify_one();
    }
    std::lock_guard lock(mutex_);
    --workers_left_;
    ready_.notify_one();
  }

  void process(std::size_t jobs) {
    std::vector<std::thread> threads;
    workers_left_ = jobs;
    for (std::size_t i = 0; i < jobs; ++i) threads.emplace_back([this] { worker(); });
    for (;;) {
      std::vector<JobResult> group;
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !results_.empty() || workers_left_ == 0; });
        if (results_.empty()) break;
        // A group's flushes and its transaction cost the same for a few
        // documents as for many: a small group waits a moment for more.
        ready_.wait_for(lock, kGroupGathering, [this] {
          return results_.size() >= kMinGroup || workers_left_ == 0;
        });
        while (!results_.empty() && group.size() < kMaxGroup) {
          group.push_back(std::move(results_.front()));
          results_.pop_front();
        }
        room_.notify_all();
      }
      finish_group(group);
      progress_->update(summary_.done + summary_.recovered + summary_.skipped + summary_.failed);
    }
    for (auto& thread : threads) thread.join();
  }

  // --- the committing thread ---

  // Records the group's new stamps in one transaction (one flush), then
  // writes their files, and those recovered from the ledger, with a fixed
  // number of flushes. A document counts as stamped only when both are done.
  void finish_group(std::vector<JobResult>& group) {
    if (stamping_) commit_stamps(group);
    std::vector<FileToWrite> files;
    std::vector<JobResult*> written;
    for (auto& result : group) {
      switch (result.outcome) {
        case Outcome::kNameTaken:
          err_ << tool_ << ": " << result.input << ": another input has the same name; its "
               << "result would overwrite " << result.output << "\n";
          usage_error_ = true;
          break;
        case Outcome::kSkipped:
          ++summary_.skipped;
          document_json(result, "skipped");
          break;
        case Outcome::kFailed: failed(result, result.code, result.message); break;
        case Outcome::kMade:
        case Outcome::kRecovered:
          files.push_back({result.output, std::move(result.xml), ""});
          written.push_back(&result);
          break;
      }
    }
    write_files_durably(files);
    for (std::size_t i = 0; i < files.size(); ++i) {
      JobResult& result = *written[i];
      const bool recovered = result.outcome == Outcome::kRecovered;
      if (!files[i].error.empty()) {
        failed(result, "805",
               !stamping_ ? files[i].error
                          : files[i].error + " (stamped " + (recovered ? "earlier " : "") +
                                "with UUID " + result.uuid + "; run again to write it)");
      } else if (recovered) {
        ++summary_.recovered;
        document_json(result, "recovered");
      } else {
        ++summary_.done;
        document_json(result, stamping_ ? "stamped" : "sealed");
      }
    }
  }

  void commit_stamps(std::vector<JobResult>& group) {
    auto& db = provider_->db();
    try {
      drovanexis::sandbox::Transaction transaction(db);
      for (auto& result : group) {
        if (result.outcome != Outcome::kMade) continue;
        try {
          result.entry.stamped_xml = result.xml;
          drovanexis::sandbox::record_stamp(db, result.entry);
          drovanexis::sandbox::record_stamp_source(db, result.entry.uuid, result.source);
          result.entry.stamped_xml.clear();
        } catch (const drovanexis::sandbox::StampRefused& refusal) {
          // Checked before any row of this document was written: the
          // transaction goes on for the others.
          fail(result, std::to_string(refusal.code()),
               std::string(refusal.what()) + " (account " + user_ + ")");
        }
      }
      transaction.commit();
    } catch (const std::exception& error) {
      for (auto& result : group) {
        if (result.outcome != Outcome::kMade) continue;
        fail(result, std::to_string(drovanexis::kCodeStateUnavailable), error.what());
      }
    }
  }

  void failed(const JobResult& result, const std::string& code, const std::string& message) {
    ++summary_.failed;
    err_ << tool_ << ": " << result.input << ": " << code << ": " << message << "\n";
    document_json(result, "failed", code, message);
  }

  void document_json(const JobResult& result, std::string_view status, std::string_view code = "",
                     std::string_view message = "") {
    if (!command_.json()) return;
    JsonObject object;
    object.text("file", result.input).text("output", result.output);
    object.text("status", status);
    if (!result.uuid.empty() && code.empty()) object.text("uuid", result.uuid);
    if (!code.empty()) object.text("code", code).text("message", message);
    summary_.json_documents.add(object.str());
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
      // The documents come last, streamed from where they waited.
      std::string head = object.str();
      head.pop_back();  // the closing brace
      out_ << head << (head.size() > 1 ? "," : "") << "\"documents\":";
      summary_.json_documents.write_array(out_);
      out_ << "}\n";
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
  bool usage_error_ = false;
  bool results_may_exist_ = true;

  std::mutex inputs_mutex_;
  BatchInputs inputs_;
  std::map<std::size_t, std::string> resolved_folders_;  // by operand
  Summary summary_;
  ProgressBar* progress_ = nullptr;

  std::mutex mutex_;
  std::condition_variable ready_;
  std::condition_variable room_;
  std::deque<JobResult> results_;
  std::size_t workers_left_ = 0;
};

}  // namespace

int run_seal(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return BatchRun(command, out, err, false).run();
}

int run_stamp(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  return BatchRun(command, out, err, true).run();
}

}  // namespace cli
