// Batch stamping as a user runs it: many runs at once, output folders that
// fill up, turn read-only or vanish, and runs stopped by signals. However
// the run ends, each input costs one stamp and its document is on disk, or
// it costs nothing.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "sandbox/sqlite_db.h"
#include "tools/cli_test_support.h"

namespace {

using namespace cli_test;
using cli_test::drovanexis;  // the program, not the namespace


// Waits (two minutes at most) until `folder` holds `count` entries.
void wait_for_entries(const fs::path& folder, std::ptrdiff_t count) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (std::chrono::steady_clock::now() < give_up) {
    std::error_code ec;
    if (fs::is_directory(folder, ec) &&
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()) >= count) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

// What the ledger says of the batch stamps, against the files in `out`.
void expect_ledger_matches_files(const std::vector<fs::path>& outs, std::size_t expected_files) {
  std::set<std::string> file_uuids;
  std::size_t files = 0;
  const std::regex uuid_attribute(" UUID=\"([0-9A-F-]{36})\"");
  for (const auto& out : outs) {
    for (const auto& entry : fs::directory_iterator(out)) {
      ASSERT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
      ++files;
      std::smatch match;
      const std::string text = read_file(entry.path());
      ASSERT_TRUE(std::regex_search(text, match, uuid_attribute)) << entry.path();
      file_uuids.insert(match[1]);
    }
  }
  EXPECT_EQ(files, expected_files);
  EXPECT_EQ(file_uuids.size(), files) << "a UUID is shared by two files";
  drovanexis::sandbox::SqliteDb db("Drovanexis.db");
  drovanexis::sandbox::Statement rows(db, "SELECT uuid FROM stamp_sources");
  std::set<std::string> ledger_uuids;
  std::size_t count = 0;
  while (rows.step()) {
    ledger_uuids.insert(rows.text(0));
    ++count;
  }
  EXPECT_EQ(count, files) << "one ledger row per output file";
  EXPECT_EQ(ledger_uuids, file_uuids);
}

TEST_F(CliTest, BatchStampsAFolderOnTwoJobsAndIsRestartable) {
  constexpr int kCount = 300;
  make_inputs("in", kCount);
  ASSERT_EQ(
      run(kBin / "drovanexis-sandbox", {"account", "lote", "--password", "x", "--stamps", "1000"})
          .exit_code,
      0);
  auto args = credentials();
  args.insert(args.begin(), "stamp");
  for (const char* more :
       {"--user", "lote", "--secret", "x", "--jobs", "2", "--out", "out", "in"}) {
    args.push_back(more);
  }
  const Outcome first = drovanexis(args);
  ASSERT_EQ(first.exit_code, 0) << first.err;
  EXPECT_EQ(first.out,
            "stamped: 300, written from the ledger: 0, skipped (already done): 0, failed: 0, "
            "stamps left: 700\n");
  expect_ledger_matches_files({"out"}, kCount);

  // A run stopped after its commit but before its files: the files are
  // written from the ledger, nothing is stamped again.
  fs::remove("out/recibo0007.xml");
  fs::remove("out/recibo0250.xml");
  args.push_back("--json");
  const Outcome again = drovanexis(args);
  EXPECT_EQ(again.exit_code, 0) << again.err;
  EXPECT_NE(again.out.find("{\"stamped\":0,\"recovered\":2,\"skipped\":298,\"failed\":0,"
                           "\"balance\":700"),
            std::string::npos)
      << again.out.substr(0, 200);
  expect_ledger_matches_files({"out"}, kCount);
}

TEST_F(CliTest, BatchKilledMidwayLosesNothingAndStampsNothingTwice) {
  constexpr int kCount = 600;
  make_inputs("in", kCount);
  auto args = credentials();
  args.insert(args.begin(), "stamp");
  for (const char* more : {"--jobs", "2", "--quiet", "--out", "out", "in"}) args.push_back(more);

  const pid_t pid = spawn_quietly(kBin / "drovanexis", args);
  ASSERT_GT(pid, 0);
  // Killed once some files are out, while the rest are still being made.
  wait_for_entries("out", 40);
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before it could be killed";
  const auto after_kill = std::distance(fs::directory_iterator("out"), fs::directory_iterator());
  EXPECT_LT(after_kill, kCount);

  const Outcome again = drovanexis(args);
  EXPECT_EQ(again.exit_code, 0) << again.err;
  expect_ledger_matches_files({"out"}, kCount);
  const Outcome balance = drovanexis({"balance"});
  EXPECT_EQ(balance.out, "demo_valdorin: " + std::to_string(1000 - kCount) + " stamps left\n");
}

// An input is known by its path with every link resolved: the same files
// reached through a linked folder, or a linked file, are written from the
// ledger, not stamped again.
TEST_F(CliTest, BatchKnowsAnInputThroughLinksToIt) {
  make_inputs("real", 3);
  fs::create_directory_symlink("real", "linked");
  make_inputs("elsewhere", 4);
  fs::create_directories("aliases");
  fs::create_symlink("../elsewhere/recibo0003.xml", "aliases/alias.xml");
  const auto stamp = [&](std::initializer_list<const char*> more) {
    auto args = credentials();
    args.insert(args.begin(), "stamp");
    args.insert(args.end(), more.begin(), more.end());
    return drovanexis(args);
  };
  const Outcome through_links = stamp({"--out", "first", "linked", "aliases"});
  ASSERT_EQ(through_links.exit_code, 0) << through_links.err;
  EXPECT_NE(through_links.out.find("stamped: 4, written from the ledger: 0,"), std::string::npos)
      << through_links.out;
  const Outcome direct = stamp({"--out", "second", "real", "elsewhere/recibo0003.xml"});
  EXPECT_EQ(direct.exit_code, 0) << direct.err;
  EXPECT_NE(direct.out.find("stamped: 0, written from the ledger: 4,"), std::string::npos)
      << direct.out;
  EXPECT_EQ(drovanexis({"balance"}).out, "demo_valdorin: 996 stamps left\n");
}

TEST_F(CliTest, BatchReportsFailedDocumentsAndGoesOn) {
  make_inputs("in", 3);
  write_file("in/roto.xml", "<cfdi:Comprobante");
  std::string stamped_before = sample_;
  auto args = credentials();
  args.insert(args.begin(), "seal");
  args.push_back("in");
  const Outcome sealed = drovanexis(args);
  EXPECT_EQ(sealed.exit_code, 1);
  EXPECT_EQ(sealed.out, "sealed: 3, skipped (already done): 0, failed: 1\n");
  EXPECT_NE(sealed.err.find("roto.xml: 301"), std::string::npos) << sealed.err;
  EXPECT_FALSE(fs::exists("in/roto.sellado.xml"));
  EXPECT_TRUE(fs::exists("in/recibo0000.sellado.xml"));
  const Outcome check = drovanexis({"check", "in/recibo0001.sellado.xml"});
  EXPECT_EQ(check.exit_code, 0) << check.out;
  // Run again, the results beside their inputs are found and kept.
  const Outcome again = drovanexis(args);
  EXPECT_EQ(again.out, "sealed: 0, skipped (already done): 3, failed: 1\n");
}

// Two inputs whose results would be one file: the first is stamped, the
// second refused before any stamp is taken for it.
TEST_F(CliTest, BatchRefusesASecondInputWithTheSameResultFile) {
  make_inputs("a", 2);
  make_inputs("b", 1);
  auto args = credentials();
  args.insert(args.begin(), "stamp");
  for (const char* more : {"--jobs", "2", "--out", "out", "a", "b"}) args.push_back(more);
  const Outcome stamped = drovanexis(args);
  EXPECT_EQ(stamped.exit_code, 2);
  EXPECT_NE(stamped.err.find("b/recibo0000.xml: another input has the same name"),
            std::string::npos)
      << stamped.err;
  EXPECT_NE(stamped.out.find("stamped: 2,"), std::string::npos) << stamped.out;
  expect_ledger_matches_files({"out"}, 2);
  EXPECT_EQ(drovanexis({"balance"}).out, "demo_valdorin: 998 stamps left\n");
}

TEST_F(CliTest, TwoBatchesAtOnceOnOneStateFileShareNothing) {
  make_inputs("a", 150);
  make_inputs("b", 150);
  auto args = credentials();
  args.insert(args.begin(), "stamp");
  args.push_back("--jobs");
  args.push_back("2");
  auto first = args;
  first.insert(first.end(), {"--out", "out-a", "a"});
  auto second = args;
  second.insert(second.end(), {"--out", "out-b", "b"});
  const pid_t one = spawn_quietly(kBin / "drovanexis", first);
  const pid_t two = spawn_quietly(kBin / "drovanexis", second);
  ASSERT_GT(one, 0);
  ASSERT_GT(two, 0);
  for (pid_t pid : {one, two}) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  expect_ledger_matches_files({"out-a", "out-b"}, 300);
  EXPECT_EQ(drovanexis({"balance"}).out, "demo_valdorin: 700 stamps left\n");
}


// --- once per input, delivered or not spent ---------------------------------

// The stamp the ledger holds for each input, by the input's file name.
std::map<std::string, std::string> ledger_stamps_by_input() {
  drovanexis::sandbox::SqliteDb db("Drovanexis.db");
  drovanexis::sandbox::Statement rows(db, "SELECT input_name, uuid FROM stamp_sources");
  std::map<std::string, std::string> stamps;
  while (rows.step()) {
    const std::string name = fs::path(rows.text(0)).filename().string();
    EXPECT_TRUE(stamps.emplace(name, rows.text(1)).second) << "stamped twice: " << name;
  }
  return stamps;
}

std::string uuid_in(const fs::path& file) {
  static const std::regex uuid_attribute(" UUID=\"([0-9A-F-]{36})\"");
  std::smatch match;
  const std::string text = read_file(file);
  return std::regex_search(text, match, uuid_attribute) ? match[1].str() : std::string();
}

// Every result in `out` carries the ledger's stamp for its input, and no
// temporary file is left there; returns how many results there are.
std::size_t expect_results_are_the_ledgers(const fs::path& out,
                                           const std::map<std::string, std::string>& ledger) {
  std::size_t results = 0;
  for (const auto& entry : fs::directory_iterator(out)) {
    const std::string name = entry.path().filename().string();
    EXPECT_FALSE(name.starts_with(".")) << "left behind: " << entry.path();
    if (name.starts_with(".")) continue;
    ++results;
    const auto stamp = ledger.find(name);
    if (stamp == ledger.end()) {
      ADD_FAILURE() << entry.path() << " holds a stamp the ledger does not know";
    } else {
      EXPECT_EQ(uuid_in(entry.path()), stamp->second) << entry.path();
    }
  }
  return results;
}

std::int64_t balance_of_demo_account() {
  drovanexis::sandbox::SqliteDb db("Drovanexis.db");
  drovanexis::sandbox::Statement row(db, "SELECT balance FROM accounts WHERE user = 'demo_valdorin'");
  EXPECT_TRUE(row.step());
  return row.integer(0);
}

int wait_for(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

class BatchOnceTest : public CliTest {
 protected:
  std::vector<std::string> stamp_args(std::initializer_list<std::string> more) const {
    auto args = credentials();
    args.insert(args.begin(), "stamp");
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
};

// Several runs on the same inputs at once, into one folder and into two:
// one stamp per input, and every output carries the ledger's stamp.
TEST_F(BatchOnceTest, RunsAtOnceStampEachInputOnce) {
  constexpr int kCount = 200;
  make_inputs("in", kCount);
  const std::int64_t before = balance_of_demo_account();
  std::vector<pid_t> runs;
  for (const char* out : {"out", "out", "out", "other"}) {
    runs.push_back(spawn_quietly(kBin / "drovanexis", stamp_args({"--jobs", "2", "--out", out, "in"})));
    ASSERT_GT(runs.back(), 0);
  }
  for (pid_t pid : runs) EXPECT_EQ(wait_for(pid), 0);

  const auto ledger = ledger_stamps_by_input();
  EXPECT_EQ(ledger.size(), static_cast<std::size_t>(kCount));
  EXPECT_EQ(expect_results_are_the_ledgers("out", ledger), static_cast<std::size_t>(kCount));
  EXPECT_EQ(expect_results_are_the_ledgers("other", ledger), static_cast<std::size_t>(kCount));
  EXPECT_EQ(balance_of_demo_account(), before - kCount);
}

// A folder mounted for the test, unmounted when it ends.
class MountedFolder {
 public:
  MountedFolder(const fs::path& where, const std::string& options) : where_(where) {
    fs::create_directories(where);
    mounted_ = ::mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~MountedFolder() {
    if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  bool make_read_only() {
    return ::mount("tmpfs", where_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  fs::path where_;
  bool mounted_ = false;
};

// A full or read-only output folder: the run stops at the first file it
// cannot write, says so, and has spent exactly the stamps of the files that
// are there.
TEST_F(BatchOnceTest, AFullOrReadOnlyOutputFolderSpendsOnlyWhatIsDelivered) {
  make_inputs("in", 600);
  for (const bool read_only : {false, true}) {
    SCOPED_TRACE(read_only ? "read-only" : "full");
    const fs::path out = read_only ? "ro" : "full";
    MountedFolder folder(out, "size=1m");
    if (read_only && folder.mounted() && !folder.make_read_only()) {
      GTEST_SKIP() << "cannot make a mounted folder read-only here";
    }
    if (!folder.mounted()) {
      if (::geteuid() == 0) GTEST_SKIP() << "cannot mount a small folder here (needs root)";
      if (!read_only) GTEST_SKIP() << "a full disk needs a small folder mounted by root";
      fs::permissions(out, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const std::int64_t before = balance_of_demo_account();
    const std::size_t recorded_before = ledger_stamps_by_input().size();
    const Outcome run = drovanexis(stamp_args({"--jobs", "2", "--out", out.string(), "in"}));
    EXPECT_EQ(run.exit_code, 1) << run.err;
    EXPECT_NE(run.err.find("stopped: cannot write the results"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("run the same command again"), std::string::npos) << run.err;
    const auto ledger = ledger_stamps_by_input();
    const std::size_t delivered = expect_results_are_the_ledgers(out, ledger);
    EXPECT_EQ(ledger.size() - recorded_before, delivered);
    EXPECT_EQ(before - balance_of_demo_account(), static_cast<std::int64_t>(delivered));
    if (read_only) {
      EXPECT_EQ(delivered, 0u);
    } else {
      EXPECT_GT(delivered, 0u);
      EXPECT_LT(delivered, 600u);
    }
  }
}

// A provider whose state file's disk is full: the run stops at the first
// group it cannot record, with one message, and the stamps recorded before
// are those of the files delivered.
TEST_F(BatchOnceTest, AFullStateDiskStopsTheRunWithOneMessage) {
  make_inputs("in", 600);
  MountedFolder state("state", "size=1m");
  if (!state.mounted()) GTEST_SKIP() << "cannot mount a small folder here (needs root)";
  fs::copy_file("Drovanexis.db", "state/Drovanexis.db");
  ::setenv("DROVANEXIS_SANDBOX_DB", "state/Drovanexis.db", 1);
  const Outcome run = drovanexis(stamp_args({"--jobs", "2", "--out", "out", "in"}));
  const auto ledger = [] {
    drovanexis::sandbox::SqliteDb db("state/Drovanexis.db");
    drovanexis::sandbox::Statement rows(db, "SELECT COUNT(*) FROM stamp_sources");
    rows.step();
    return rows.integer(0);
  }();
  ::unsetenv("DROVANEXIS_SANDBOX_DB");
  EXPECT_EQ(run.exit_code, 1) << run.err;
  std::size_t refusals = 0;
  for (std::size_t at = run.err.find(": 703: "); at != std::string::npos;
       at = run.err.find(": 703: ", at + 1)) {
    ++refusals;
  }
  EXPECT_EQ(refusals, 1u) << run.err;
  EXPECT_NE(run.err.find("stopped: the provider cannot record stamps"), std::string::npos)
      << run.err;
  std::size_t delivered = 0;
  for (const auto& entry : fs::directory_iterator("out")) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    ++delivered;
  }
  EXPECT_EQ(static_cast<std::size_t>(ledger), delivered);
  EXPECT_LT(delivered, 600u);
}

// A state whose look-ups fail (here the index they read is damaged, while
// the account can still be opened): the workers' first refused look-up stops
// the run with one message, and nothing is stamped.
TEST_F(BatchOnceTest, AStateThatCannotBeLookedUpStopsTheRunWithOneMessage) {
  make_inputs("in", 200);
  std::int64_t page = 0;
  std::int64_t page_size = 0;
  {
    drovanexis::sandbox::SqliteDb db("Drovanexis.db");
    db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    drovanexis::sandbox::Statement root(
        db, "SELECT rootpage FROM sqlite_master WHERE name = 'stamp_sources_input'");
    ASSERT_TRUE(root.step());
    page = root.integer(0);
    drovanexis::sandbox::Statement size(db, "PRAGMA page_size");
    ASSERT_TRUE(size.step());
    page_size = size.integer(0);
  }
  ASSERT_GT(page, 1);
  {
    std::fstream state("Drovanexis.db", std::ios::in | std::ios::out | std::ios::binary);
    state.seekp((page - 1) * page_size);
    const std::string garbage(static_cast<std::size_t>(page_size), '\xFF');
    state.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
  }
  const Outcome run = drovanexis(stamp_args({"--jobs", "2", "--out", "out", "in"}));
  EXPECT_EQ(run.exit_code, 1) << run.err;
  std::size_t refusals = 0;
  for (std::size_t at = run.err.find(": 703: "); at != std::string::npos;
       at = run.err.find(": 703: ", at + 1)) {
    ++refusals;
  }
  EXPECT_EQ(refusals, 1u) << run.err;
  EXPECT_NE(run.err.find("stopped: the provider cannot read its state"), std::string::npos)
      << run.err;
  EXPECT_TRUE(!fs::exists("out") || fs::is_empty("out"));
}

// The output folder moved away while the run writes into it: the run stops;
// the stamps it spent are those of the files it delivered, but for a
// document whose stamp was recorded just before its file could be put in
// place, which the run names and the next run writes from the ledger.
TEST_F(BatchOnceTest, AVanishingOutputFolderStopsTheRunAndLosesNothing) {
  constexpr int kCount = 600;
  make_inputs("in", kCount);
  const pid_t pid = spawn_quietly(kBin / "drovanexis", stamp_args({"--jobs", "2", "--out", "out", "in"}));
  ASSERT_GT(pid, 0);
  wait_for_entries("out", 60);
  fs::rename("out", "moved");
  EXPECT_EQ(wait_for(pid), 1);
  auto ledger = ledger_stamps_by_input();
  // Files delivered before the move; a temporary file can only be one whose
  // rename came after it.
  std::size_t delivered = 0;
  for (const auto& entry : fs::directory_iterator("moved")) {
    if (!entry.path().filename().string().starts_with(".")) ++delivered;
  }
  EXPECT_LT(delivered, static_cast<std::size_t>(kCount));
  EXPECT_GE(ledger.size(), delivered);
  EXPECT_LE(ledger.size(), delivered + 2 * 256) << "more stamps than one group in hand";

  // The next run into the folder's place writes the rest: from the ledger
  // what was stamped, stamped afresh what was not.
  const Outcome again = drovanexis(stamp_args({"--jobs", "2", "--out", "out", "in"}));
  EXPECT_EQ(again.exit_code, 0) << again.err;
  ledger = ledger_stamps_by_input();
  EXPECT_EQ(ledger.size(), static_cast<std::size_t>(kCount));
  EXPECT_EQ(expect_results_are_the_ledgers("out", ledger), static_cast<std::size_t>(kCount));
  EXPECT_EQ(balance_of_demo_account(), 1000 - kCount);
}

// SIGTERM and SIGINT at random moments, once or twice: the run finishes or
// undoes the group in hand, clears its temporary files, says what it did and
// ends with the signal's status; a second signal ends it at once. A last run
// then finds everything consistent: nothing lost, nothing stamped twice, no
// temporary file left, the balance down by the stamps in the ledger.
TEST_F(BatchOnceTest, SignalsAtRandomMomentsLoseNothingAndStampNothingTwice) {
  constexpr int kCount = 2000;
  constexpr int kStamps = 5000;
  constexpr int kRuns = 30;
  make_inputs("in", kCount);
  ASSERT_EQ(run(kBin / "drovanexis-sandbox",
                {"account", "demo_valdorin", "--any-password", "--stamps", std::to_string(kStamps)})
                .exit_code,
            0);
  std::mt19937 random(20261211);
  int stopped_cleanly = 0;
  for (int i = 0; i < kRuns; ++i) {
    const int signal_number = i % 2 == 0 ? SIGTERM : SIGINT;
    const bool twice = i % 5 == 4;
    const pid_t pid = spawn_quietly(kBin / "drovanexis",
                                    stamp_args({"--jobs", "2", "--quiet", "--out", "out", "in"}));
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 300));
    ::kill(pid, signal_number);
    if (twice) ::kill(pid, signal_number);
    const int status = wait_for(pid);
    // 0: it finished before the signal; 128 + n: stopped by it.
    EXPECT_TRUE(status == 0 || status == 128 + signal_number) << "run " << i << ": " << status;
    if (!twice && status == 128 + signal_number) {
      ++stopped_cleanly;
      // A signal that came before the run made its output folder leaves none.
      if (!fs::exists("out")) continue;
      for (const auto& entry : fs::directory_iterator("out")) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("."))
            << "run " << i << " left " << entry.path();
      }
    }
    if (status == 0) break;
  }
  EXPECT_GT(stopped_cleanly, 0);
  const Outcome last = drovanexis(stamp_args({"--jobs", "2", "--out", "out", "in"}));
  EXPECT_EQ(last.exit_code, 0) << last.err;
  const auto ledger = ledger_stamps_by_input();
  EXPECT_EQ(ledger.size(), static_cast<std::size_t>(kCount));
  EXPECT_EQ(expect_results_are_the_ledgers("out", ledger), static_cast<std::size_t>(kCount));
  EXPECT_EQ(balance_of_demo_account(), kStamps - kCount);
}

// What a stopped run says: the summary on standard output, why it stopped
// and what to do on standard error.
TEST_F(BatchOnceTest, AStoppedRunSaysWhatItDidAndWhatToDo) {
  make_inputs("in", 400);
  const Outcome run = [&] {
    const std::string line = quoted((kBin / "drovanexis").string());
    std::string command = line;
    for (const auto& arg : stamp_args({"--jobs", "2", "--out", "out", "in"})) command += " " + quoted(arg);
    // The shell sends SIGTERM to the run once it has begun writing.
    command += " >cli.out 2>cli.err </dev/null & p=$!; "
               "while [ ! -d out ] || [ $(ls out | wc -l) -lt 20 ]; do sleep 0.01; done; "
               "kill -TERM $p; wait $p";
    Outcome outcome;
    const int status = std::system(command.c_str());
    outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = read_file("cli.out");
    outcome.err = read_file("cli.err");
    return outcome;
  }();
  EXPECT_EQ(run.exit_code, 143) << run.err;
  EXPECT_TRUE(run.out.starts_with("stamped: ")) << run.out;
  EXPECT_NE(run.err.find("stopped by SIGTERM"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("run the same command again to go on"), std::string::npos) << run.err;
}

}  // namespace
