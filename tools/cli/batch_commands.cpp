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
#include <set>
#include <span>
#include <thread>

#include "crypto/certificate.h"
#include "crypto/crypto_error.h"
#include "crypto/digest.h"
#include "crypto/private_key.h"
#include "crypto/seal.h"
#include "document/output_rules.h"
#include "issue/external_document.h"
#include "issue/output_guard.h"
#include "issue/processing_failure.h"
#include "issue/provider.h"
#include "issue/provider_codes.h"
#include "sandbox/provider_identity.h"
#include "tools/cli/batch_inputs.h"
#include "tools/cli/document_file.h"
#include "tools/cli/durable_files.h"
#include "tools/cli/json_spool.h"
#include "tools/cli/output.h"
#include "tools/cli/stop_signals.h"
#include "validate/validation.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace cli {

namespace {

namespace fs = std::filesystem;
using drovanexis::BatchItem;
using drovanexis::BatchOutcome;
using drovanexis::Element;

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
// How often a waiting committing thread looks whether the run must stop.
constexpr std::chrono::milliseconds kStopPoll{50};

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
  std::string xml;   // the sealed document to write (sealing only)
  std::string uuid;  // of the stamp made or recovered
  std::string resolved_folder;  // of a folder operand, links resolved
  bool provider_unavailable = false;  // the provider's state refused the look-up
  drovanexis::StampSource source;
  std::optional<drovanexis::PreparedStamp> prepared;  // stamped, not yet recorded
};

struct Summary {
  std::size_t done = 0;  // sealed or stamped in this run
  std::size_t recovered = 0;
  std::size_t skipped = 0;
  std::size_t failed = 0;
  std::size_t abandoned = 0;  // in hand when the run stopped: nothing done
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
    err << tool << ": --jobs must be a whole number from 1 to 256, not \"" << shown(*text)
        << "\"\n";
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

// Formats a refusal's failures as one line: "CODE node@attribute: text; ...".
std::string failures_text(const std::vector<drovanexis::Failure>& failures) {
  std::string message;
  for (const auto& item : failures) {
    if (!message.empty()) message += "; ";
    message += item.code + (item.node.empty() ? "" : " " + item.node) +
               (item.attribute.empty() ? "" : "@" + item.attribute) + ": " + item.explanation;
  }
  return message;
}

// Delivers a committing group's documents to their result files: each is
// written to a temporary name of this run and flushed while the provider
// holds its transaction, and put in place only once the stamp is recorded.
// After the first failure it writes nothing more, so that a full, read-only
// or vanished folder costs no stamp for the documents in hand.
class ResultFiles final : public drovanexis::BatchDelivery {
 public:
  ResultFiles(std::span<const BatchItem> items, const std::vector<JobResult*>& owners)
      : items_(items), owners_(owners), indices_(items.size(), kNone) {}

  bool write(const BatchItem& item) override {
    if (!first_error_.empty()) return false;
    const auto position = static_cast<std::size_t>(&item - items_.data());
    const std::size_t index = files_.write(owners_[position]->output, item.stamped_xml);
    if (!files_.error(index).empty()) {
      first_error_ = files_.error(index);
      return false;
    }
    indices_[position] = index;
    return true;
  }

  bool flush() override {
    if (files_.flush()) return true;
    for (std::size_t index : indices_) {
      if (index != kNone && first_error_.empty()) first_error_ = files_.error(index);
    }
    return false;
  }

  // Puts the item's file in place; "" or the error.
  std::string place(std::size_t position) {
    const std::size_t index = indices_[position];
    if (index == kNone) return first_error_;
    files_.place(index);
    return files_.error(index);
  }

  // Makes the renames durable; "" or the error of the item's file then.
  void finish() { files_.finish(); }
  std::string error_after_finish(std::size_t position) const {
    const std::size_t index = indices_[position];
    return index == kNone ? first_error_ : files_.error(index);
  }

  const std::string& first_error() const { return first_error_; }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::span<const BatchItem> items_;
  const std::vector<JobResult*>& owners_;
  std::vector<std::size_t> indices_;  // by item: its file in the group
  FileGroup files_;
  std::string first_error_;
};

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
    if (!prepare_out_dir() || !load_credentials() || (stamping_ && !open_batch())) {
      return kExitUsage;
    }
    const std::vector<fs::path> credentials{*command_.value("cer"), *command_.value("key")};
    output_guard_.emplace(credentials);
    remove_stale_temporary_files();
    results_may_exist_ = any_result_present();
    // The inputs are taken one at a time by the workers, never listed whole.
    const bool show_progress = !command_.quiet() && !command_.json() && stderr_is_terminal();
    ProgressBar progress(show_progress ? inputs_.count() : 0, show_progress);
    progress_ = &progress;
    process(static_cast<std::size_t>(*jobs));
    progress.finish();
    for (const std::string& error : inputs_.errors()) {
      err_ << tool_ << ": " << shown(error) << "\n";
      usage_error_ = true;
    }
    report();
    if (const int signal_number = signals_.received(); signal_number != 0) {
      return 128 + signal_number;
    }
    if (!halt_reason_.empty()) return kExitNotClean;
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
      err_ << tool_ << ": --out " << shown(*out) << ": cannot create the folder"
           << (ec ? ": " + ec.message() : std::string()) << "\n";
      return false;
    }
    out_dir_ = fs::path(*out);
    return true;
  }

  // Clears the temporary files that runs no longer alive left where this run
  // writes its results, once per folder.
  void remove_stale_temporary_files() const {
    if (out_dir_) {
      remove_stale_temporaries(*out_dir_);
      return;
    }
    std::set<fs::path> folders;
    for (const std::string& operand : command_.operands) {
      std::error_code ec;
      const fs::path path(operand);
      folders.insert(fs::is_directory(path, ec) ? path
                     : path.has_parent_path()   ? path.parent_path()
                                                : fs::path("."));
    }
    for (const fs::path& folder : folders) remove_stale_temporaries(folder);
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
      err_ << tool_ << ": " << shown(error.what()) << "\n";
      return false;
    }
  }

  // Opens the provider's batch for the account: every stamp of the run goes
  // through it.
  bool open_batch() {
    user_ = command_.value("user").value_or(std::string(drovanexis::sandbox::kDemoAccount));
    const std::string secret = command_.value("secret").value_or("");
    try {
      provider_ = drovanexis::open_provider();
      batch_ = provider_->open_batch(user_, secret,
                                     [](const Element& root) { return drovanexis::write_xml(root); });
      return true;
    } catch (const drovanexis::ProviderUnavailable& unavailable) {
      err_ << tool_ << ": " << shown(unavailable.reason()) << "\n";
    } catch (const drovanexis::ProviderRefusal& refusal) {
      if (refusal.failures().front().code == std::to_string(drovanexis::kCodeBadCredentials)) {
        err_ << tool_ << ": account \"" << shown(user_) << "\": unknown user or wrong secret ("
             << drovanexis::kCodeBadCredentials << ")\n";
      } else {
        err_ << tool_ << ": " << shown(failures_text(refusal.failures())) << "\n";
      }
    } catch (const std::exception& error) {
      err_ << tool_ << ": " << shown(error.what()) << "\n";
    }
    return false;
  }

  // Whether the run must stop taking inputs: a signal, a result file that
  // could not be written, or a provider that cannot record stamps.
  bool stopping() const { return signals_.received() != 0 || halted_.load(); }

  // --- the workers ---

  // The next input and its result file; nullopt when there are no more or
  // the run is stopping.
  std::optional<JobResult> next_input() {
    std::lock_guard lock(inputs_mutex_);
    if (stopping()) return std::nullopt;
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
  // already there; for stamping, nothing more when the provider already
  // holds a stamp of this very file (the committing thread writes it from
  // there); else sealing, and for stamping the provider's validation and
  // stamp, which the committing thread has the provider record.
  void work(JobResult& result) const {
    if (result.outcome == Outcome::kNameTaken) return;
    // A result that would replace the ledger, the log, a credential in use or
    // the input itself is refused before the input is read. A folder that
    // cannot take the result is the writer's to find: it stops the run.
    try {
      const fs::path input(result.input);
      output_guard_->refuse_kept(result.output, result.output, std::span(&input, 1));
    } catch (const drovanexis::UnsafeOutput& unsafe) {
      fail(result, std::to_string(drovanexis::kCodeOutputNotWritten), unsafe.what());
      return;
    }
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
    if (stamping_ && recorded_earlier(result)) return;
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

  // A look-up that spares the sealing and the stamp's signature of an input
  // already stamped; the provider looks again where it counts, inside the
  // transaction that would record a new stamp.
  bool recorded_earlier(JobResult& result) const {
    try {
      if (!batch_->recorded(result.source)) return false;
      result.outcome = Outcome::kRecovered;
    } catch (const drovanexis::ProviderUnavailable& unavailable) {
      // Every next look-up would fail the same way: the run stops.
      fail(result, std::to_string(drovanexis::kCodeStateUnavailable), unavailable.reason());
      result.provider_unavailable = true;
      halted_.store(true);
    } catch (const drovanexis::ProviderRefusal& refusal) {
      fail(result, refusal.failures().front().code, failures_text(refusal.failures()));
    }
    return true;
  }

  void make(JobResult& result, const std::string& bytes) const {
    try {
      Element root = drovanexis::issue::read_external_document(bytes);
      drovanexis::prepare_for_sealing(root, drovanexis::central_mexico_now());
      drovanexis::seal(root, *certificate_, *key_);
      if (stamping_) {
        result.prepared = batch_->prepare(root);
        result.uuid = result.prepared->uuid;
      } else {
        result.xml = drovanexis::write_xml(root);
      }
      result.outcome = Outcome::kMade;
    } catch (const drovanexis::issue::ProcessingFailure& failure) {
      fail(result, failure.code(), failures_text(failure.failures()));
    } catch (const drovanexis::ProviderRefusal& refusal) {
      fail(result, refusal.failures().front().code, failures_text(refusal.failures()));
    } catch (const std::exception& error) {
      fail(result, std::to_string(drovanexis::kCodeInternalError), error.what());
    }
  }

  static void fail(JobResult& result, std::string code, std::string message) {
    result.outcome = Outcome::kFailed;
    result.code = std::move(code);
    result.message = std::move(message);
    result.xml.clear();
    result.prepared.reset();
  }

  void worker() {
    for (;;) {
      std::optional<JobResult> result = next_input();
      if (!result) break;
      work(*result);
      std::unique_lock lock(mutex_);
      room_.wait(lock, [this] { return results_.size() < kMaxPendingResults || stopping(); });
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
        const auto has_work = [this] {
          return !results_.empty() || workers_left_ == 0 || stopping();
        };
        while (!ready_.wait_for(lock, kStopPoll, has_work)) {
        }
        if (stopping()) {
          // The documents in hand are reported or let go; nothing more is
          // committed. The workers end after the document they are on.
          group.assign(std::make_move_iterator(results_.begin()),
                       std::make_move_iterator(results_.end()));
          results_.clear();
          room_.notify_all();
          const bool workers_done = workers_left_ == 0;
          lock.unlock();
          abandon(group);
          if (workers_done) break;
          continue;
        }
        if (results_.empty()) break;
        // A group's flushes and its transaction cost the same for a few
        // documents as for many: a small group waits a moment for more.
        ready_.wait_for(lock, kGroupGathering, [this] {
          return results_.size() >= kMinGroup || workers_left_ == 0 || stopping();
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

  // Reports what a stopping run had in hand: the failures and skips as
  // usual; the documents made or to be written from the ledger are let go
  // unrecorded (their stamps were never spent).
  void abandon(std::vector<JobResult>& group) {
    for (auto& result : group) {
      if (!report_unwritten(result)) ++summary_.abandoned;
    }
  }

  // Reports an input that needs no file written: skipped, failed, or whose
  // result name another input took. False for those that need their file.
  bool report_unwritten(const JobResult& result) {
    switch (result.outcome) {
      case Outcome::kNameTaken:
        err_ << tool_ << ": " << shown(result.input) << ": another input has the same name; its "
             << "result would overwrite " << shown(result.output) << "\n";
        usage_error_ = true;
        return true;
      case Outcome::kSkipped:
        ++summary_.skipped;
        document_json(result, "skipped");
        return true;
      case Outcome::kFailed:
        if (!result.provider_unavailable) {
          failed(result, result.code, result.message);
        } else if (halt_reason_.empty()) {
          // The first look-up the state refused speaks for all the others.
          failed(result, result.code, result.message);
          halt("the provider cannot read its state: " + result.message,
               "once the provider can read and record stamps again,");
        } else {
          ++summary_.abandoned;
        }
        return true;
      case Outcome::kMade:
      case Outcome::kRecovered: return false;
    }
    return true;
  }

  void finish_group(std::vector<JobResult>& group) {
    std::vector<JobResult*> to_write;
    for (auto& result : group) {
      if (!report_unwritten(result)) to_write.push_back(&result);
    }
    if (to_write.empty()) return;
    if (stamping_) {
      commit_and_write(to_write);
    } else {
      write_sealed(to_write);
    }
  }

  // Sealing: the files of the group, written durably.
  void write_sealed(const std::vector<JobResult*>& results) {
    std::vector<FileToWrite> files;
    for (JobResult* result : results) files.push_back({result->output, std::move(result->xml), ""});
    write_files_durably(files);
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (files[i].error.empty()) {
        ++summary_.done;
        document_json(*results[i], "sealed");
      } else {
        output_failure(*results[i], files[i].error, "");
      }
    }
  }

  // Stamping: the provider records the group in one transaction, inside
  // which every file is written and flushed; the files are put in place once
  // the stamps are recorded. A document whose file cannot be written is not
  // stamped.
  void commit_and_write(const std::vector<JobResult*>& results) {
    std::vector<BatchItem> items;
    items.reserve(results.size());
    for (JobResult* result : results) {
      BatchItem item;
      item.source = result->source;
      item.prepared = std::move(result->prepared);
      items.push_back(std::move(item));
    }
    ResultFiles files(items, results);
    try {
      batch_->commit(items, files);
    } catch (const drovanexis::ProviderUnavailable& unavailable) {
      // Nothing of the group was recorded; the next groups would fail the
      // same way: one message, and the run stops.
      failed(*results.front(), std::to_string(drovanexis::kCodeStateUnavailable),
             unavailable.reason());
      summary_.abandoned += results.size() - 1;
      halt("the provider cannot record stamps: " + unavailable.reason(),
           "once the provider can record stamps again,");
      return;  // the group's temporary files go with `files`
    }
    std::vector<std::string> errors(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i].outcome == BatchOutcome::kStamped ||
          items[i].outcome == BatchOutcome::kRecovered) {
        errors[i] = files.place(i);
      }
    }
    files.finish();
    for (std::size_t i = 0; i < items.size(); ++i) {
      JobResult& result = *results[i];
      const BatchItem& item = items[i];
      result.uuid = item.uuid;
      switch (item.outcome) {
        case BatchOutcome::kStamped:
        case BatchOutcome::kRecovered: {
          const bool recovered = item.outcome == BatchOutcome::kRecovered;
          const std::string error = errors[i].empty() ? files.error_after_finish(i) : errors[i];
          if (!error.empty()) {
            output_failure(result, error,
                           " (stamped " + std::string(recovered ? "earlier " : "") +
                               "with UUID " + item.uuid + "; run again to write it)");
          } else if (recovered) {
            ++summary_.recovered;
            document_json(result, "recovered");
          } else {
            ++summary_.done;
            document_json(result, "stamped");
          }
          break;
        }
        case BatchOutcome::kNotDelivered:
          // The first is reported with the folder's error; the others were
          // only in hand when it came.
          if (halt_reason_.empty()) {
            output_failure(result, files.first_error(), " (not stamped)");
          } else {
            ++summary_.abandoned;
          }
          break;
        case BatchOutcome::kRefused:
          result.uuid.clear();
          failed(result, std::to_string(item.code), item.message + " (account " + user_ + ")");
          break;
      }
    }
  }

  // A result file that could not be written: the document failed, and the
  // run stops taking inputs, as the next files would fail the same way.
  void output_failure(const JobResult& result, const std::string& error,
                      const std::string& what_became) {
    failed(result, "805", error + what_became);
    halt("cannot write the results: " + error, "make room or fix the folder, then");
  }

  // Stops the run for a reason that every next document would meet too; the
  // first reason is the one reported.
  void halt(const std::string& reason, const std::string& advice) {
    if (halt_reason_.empty()) {
      halt_reason_ = reason;
      halt_advice_ = advice;
    }
    halted_.store(true);
  }

  void failed(const JobResult& result, const std::string& code, const std::string& message) {
    ++summary_.failed;
    err_ << tool_ << ": " << shown(result.input) << ": " << code << ": " << shown(message) << "\n";
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

  // Why the run stopped before its end and what to do, or "".
  std::string stop_text() const {
    const char* verb = stamping_ ? "stamped" : "sealed";
    std::string why;
    if (const int signal_number = signals_.received(); signal_number != 0) {
      why = std::string("stopped by ") + signal_name(signal_number);
    } else if (!halt_reason_.empty()) {
      why = "stopped: " + halt_reason_;
    } else {
      return {};
    }
    return why + "; " + std::to_string(summary_.abandoned) + " document" +
           (summary_.abandoned == 1 ? "" : "s") + " in hand and the inputs not begun were not " +
           verb + (stamping_ ? " (no stamp spent for them)" : "") +
           (halt_advice_.empty() ? "; " : "; " + halt_advice_ + " ") +
           "run the same command again to go on";
  }

  void report() {
    const char* verb = stamping_ ? "stamped" : "sealed";
    if (stamping_) {
      try {
        balance_left_ = batch_->balance();
      } catch (const std::exception&) {
        balance_left_ = -1;  // the summary then leaves the balance out
      }
    }
    const std::string stopped = stop_text();
    if (command_.json()) {
      JsonObject object;
      object.number(verb, static_cast<std::int64_t>(summary_.done));
      if (stamping_) object.number("recovered", static_cast<std::int64_t>(summary_.recovered));
      object.number("skipped", static_cast<std::int64_t>(summary_.skipped))
          .number("failed", static_cast<std::int64_t>(summary_.failed));
      if (stamping_ && balance_left_ >= 0) object.number("balance", balance_left_);
      if (!stopped.empty()) object.text("stopped", stopped);
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
    if (!stopped.empty()) err_ << tool_ << ": " << shown(stopped) << "\n";
  }

  const ParsedCommand& command_;
  std::ostream& out_;
  std::ostream& err_;
  bool stamping_;
  std::string tool_;
  std::optional<fs::path> out_dir_;
  std::optional<drovanexis::Certificate> certificate_;
  std::optional<drovanexis::PrivateKey> key_;
  std::optional<drovanexis::OutputGuard> output_guard_;
  std::unique_ptr<drovanexis::Provider> provider_;
  std::unique_ptr<drovanexis::StampBatch> batch_;
  std::string user_;
  std::int64_t balance_left_ = -1;
  bool usage_error_ = false;
  bool results_may_exist_ = true;
  StopSignals signals_;
  // Set by the committing thread, and by a worker whose look-up the state
  // refused.
  mutable std::atomic<bool> halted_{false};
  std::string halt_reason_;  // the first, as the committing thread saw it
  std::string halt_advice_;

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
