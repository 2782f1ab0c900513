#include "tools/cli/pdf_command.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <thread>
#include <vector>

#include "issue/output_guard.h"
#include "tools/cli/document_file.h"
#include "tools/cli/durable_files.h"
#include "tools/cli/output.h"
#include "tools/pdf/cfdi_pdf.h"
#include "tools/pdf/pdf_canvas.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kTool = "drovanexis pdf";

// Written PDFs wait in memory until this many (or this many bytes) are
// ready, so that a batch pays its disk flushes once per group.
constexpr std::size_t kGroupFiles = 32;
constexpr std::size_t kGroupBytes = 16 << 20;

// One input and what became of it.
struct PdfJob {
  std::string input;
  fs::path target;
  int exit_code = kExitOk;
  std::string error;
  int pages = 0;
  bool stamped = false;
};

bool ends_with_xml(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".xml";
}

// NAME.xml becomes NAME.pdf; any other name gets ".pdf" added.
fs::path pdf_name_for(const fs::path& input) {
  std::string name = input.filename().string();
  if (ends_with_xml(name)) name.resize(name.size() - 4);
  return name + ".pdf";
}

std::vector<fs::path> paths_of(const std::vector<std::string>& names) {
  return {names.begin(), names.end()};
}

// Decides every input's PDF before anything is drawn, and refuses a target
// the library's output rule refuses (an input of the run, the provider's
// state or journal, the log, anything not a regular file) or the target of
// an earlier input.
class TargetPlan {
 public:
  explicit TargetPlan(const ParsedCommand& command)
      : inputs_(paths_of(command.operands)), guard_(inputs_) {
    const auto out = command.value("out");
    if (!out) return;
    const bool folder =
        fs::is_directory(*out) || command.operands.size() > 1 || out->ends_with('/');
    if (folder) {
      std::error_code ec;
      fs::create_directories(*out, ec);
      if (ec) throw UnreadableFile(*out + ": cannot create the folder: " + ec.message());
      folder_ = fs::path(*out);
    } else {
      file_ = fs::path(*out);
    }
  }

  // The target of an input, or "" with the job's error set.
  void place(PdfJob& job) {
    if (file_) {
      job.target = *file_;
    } else if (folder_) {
      job.target = *folder_ / pdf_name_for(job.input);
    } else {
      job.target = fs::path(job.input).parent_path() / pdf_name_for(job.input);
    }
    const auto refuse = [&](const std::string& why) {
      job.exit_code = kExitNotClean;
      job.error = job.target.string() + ": not written: " + why;
      job.target.clear();
    };
    const fs::path key = fs::absolute(job.target).lexically_normal();
    if (!taken_.insert(key).second) {
      refuse("another input of the run has the same PDF name");
      return;
    }
    try {
      guard_.check(job.target, job.target.string());
    } catch (const drovanexis::UnsafeOutput& unsafe) {
      // The rule's text already names the target.
      job.exit_code = kExitNotClean;
      job.error = std::string(unsafe.what()) + "; not written";
      job.target.clear();
    }
  }

 private:
  std::vector<fs::path> inputs_;
  drovanexis::OutputGuard guard_;
  std::set<fs::path> taken_;
  std::optional<fs::path> folder_;
  std::optional<fs::path> file_;
};

// Draws the PDF of one job, or sets its error.
std::optional<FileToWrite> draw(PdfJob& job) {
  try {
    const auto document = read_xml_file(job.input);
    pdf::PrintedCfdi printed = pdf::print_cfdi(document);
    job.pages = printed.pages;
    job.stamped = printed.stamped;
    return FileToWrite{job.target, std::move(printed.bytes), {}};
  } catch (const UnreadableFile& error) {
    job.exit_code = kExitUsage;
    job.error = error.what();
  } catch (const std::exception& error) {
    job.exit_code = kExitNotClean;
    job.error = describe_parse_error(job.input, error);
  }
  return std::nullopt;
}

// Writes a group and records each file's failure in its job.
void write_group(std::vector<FileToWrite>& group, std::vector<PdfJob*>& owners) {
  write_files_durably(group);
  for (std::size_t i = 0; i < group.size(); ++i) {
    if (!group[i].error.empty()) {
      owners[i]->exit_code = kExitNotClean;
      owners[i]->error = group[i].error;
    }
  }
  group.clear();
  owners.clear();
}

void run_worker(std::vector<PdfJob>& jobs, std::atomic<std::size_t>& next) {
  std::vector<FileToWrite> group;
  std::vector<PdfJob*> owners;
  std::size_t bytes = 0;
  for (std::size_t i = next++; i < jobs.size(); i = next++) {
    PdfJob& job = jobs[i];
    if (job.error.empty()) {
      if (auto file = draw(job)) {
        bytes += file->bytes.size();
        group.push_back(std::move(*file));
        owners.push_back(&job);
      }
    }
    if (group.size() >= kGroupFiles || bytes >= kGroupBytes) {
      write_group(group, owners);
      bytes = 0;
    }
  }
  if (!group.empty()) write_group(group, owners);
}

unsigned jobs_option(const ParsedCommand& command) {
  const auto text = command.value("jobs");
  if (!text) return std::max(1U, std::thread::hardware_concurrency());
  try {
    const int jobs = std::stoi(*text);
    if (jobs >= 1 && jobs <= 256) return static_cast<unsigned>(jobs);
  } catch (const std::exception&) {
  }
  throw UnreadableFile("--jobs must be a number from 1 to 256, not \"" + *text + "\"");
}

void report(const ParsedCommand& command, const PdfJob& job, std::ostream& out, std::ostream& err) {
  if (!job.error.empty()) {
    err << kTool << ": " << shown(job.error) << "\n";
    if (command.json()) {
      out << JsonObject()
                 .text("input", job.input)
                 .boolean("written", false)
                 .text("error", job.error)
                 .str()
          << "\n";
    }
    return;
  }
  if (command.json()) {
    out << JsonObject()
               .text("input", job.input)
               .boolean("written", true)
               .text("file", job.target.string())
               .number("pages", job.pages)
               .boolean("stamped", job.stamped)
               .str()
        << "\n";
  } else if (!command.quiet()) {
    out << shown(job.input + ": " + job.target.string()) << " (" << job.pages
        << (job.pages == 1 ? " page" : " pages") << (job.stamped ? "" : ", SIN TIMBRAR") << ")\n";
  }
}

}  // namespace

int run_pdf(const ParsedCommand& command, std::ostream& out, std::ostream& err) {
  unsigned workers = 1;
  std::vector<PdfJob> jobs;
  try {
    workers = jobs_option(command);
    const auto out_option = command.value("out");
    if (out_option && command.operands.size() > 1 && fs::exists(*out_option) &&
        !fs::is_directory(*out_option)) {
      throw UnreadableFile(*out_option + ": --out must name a folder when several files are given");
    }
    TargetPlan plan(command);
    for (const auto& input : command.operands) {
      PdfJob job;
      job.input = input;
      plan.place(job);
      jobs.push_back(std::move(job));
    }
  } catch (const UnreadableFile& error) {
    err << kTool << ": " << shown(error.what()) << "\n";
    return kExitUsage;
  }

  std::atomic<std::size_t> next{0};
  workers = std::min<unsigned>(workers, static_cast<unsigned>(jobs.size()));
  std::vector<std::thread> threads;
  for (unsigned i = 1; i < workers; ++i) {
    threads.emplace_back([&] { run_worker(jobs, next); });
  }
  run_worker(jobs, next);
  for (auto& thread : threads) thread.join();
  pdf::release_drawing_caches();

  int exit_code = kExitOk;
  for (const PdfJob& job : jobs) {
    report(command, job, out, err);
    exit_code = std::max(exit_code, job.exit_code);
  }
  return exit_code;
}

}  // namespace cli
