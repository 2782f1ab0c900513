// The command line given careless or hostile files: every subcommand refuses
// special files and oversized or name-bomb documents quickly and within a
// bounded memory, refuses to write over the ledger, a credential or its own
// input, and keeps what it prints valid and one line per finding. Each case
// also checks that no file of the working folder changed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "portable/cp1252.h"
#include "tools/cli_test_support.h"

namespace {

using namespace cli_test;
using cli_test::drovanexis;  // the program, not the namespace

constexpr auto kTimeBound = std::chrono::seconds(5);
// Well above what a run holding one 32 MiB document needs, far below what
// reading a 3 GB file or an endless device whole would take.
constexpr long kMemoryBoundKiB = 300 * 1024;

// What identifies a file's content without reading it: a write in place
// changes the size or the time, a replacement the inode.
using FileState = std::tuple<std::uintmax_t, std::int64_t, ino_t>;

std::map<std::string, FileState> folder_state(const fs::path& folder) {
  std::map<std::string, FileState> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    struct stat info {};
    if (::lstat(entry.path().c_str(), &info) != 0 || S_ISDIR(info.st_mode)) continue;
    files[entry.path().string()] = {
        static_cast<std::uintmax_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
        info.st_ino};
  }
  return files;
}

long children_max_rss_kib() {
  struct rusage usage {};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss;
}

// Elements whose attributes all have names of their own: hundreds of
// thousands of distinct names in a few MiB.
std::string distinct_attribute_names(int elements) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>";
  int name = 0;
  for (int e = 0; e < elements; ++e) {
    text += "<e";
    for (int a = 0; a < 200; ++a) text += " a" + std::to_string(name++) + "=\"\"";
    text += "/>";
  }
  return text + "</r>";
}

std::string distinct_element_names(int elements) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>";
  for (int e = 0; e < elements; ++e) text += "<e" + std::to_string(e) + "/>";
  return text + "</r>";
}

class HostileInputTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    ASSERT_EQ(::mkfifo("fifo.xml", 0600), 0);
    const int sparse = ::open("sparse.xml", O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(sparse, 0);
    ASSERT_EQ(::ftruncate(sparse, off_t{3} << 30), 0);  // 3 GiB, no disk used
    ::close(sparse);
    write_file("big.xml", sample_ + std::string(33u * 1024u * 1024u, ' '));
    write_file("attribute_names.xml", distinct_attribute_names(2500));
    write_file("element_names.xml", distinct_element_names(300'000));
  }

  // Runs the command and checks the time, the memory and that no file of
  // the working folder changed.
  Outcome run_unchanged(const std::vector<std::string>& args, const std::string& label) {
    const auto before = folder_state(".");
    const auto started = std::chrono::steady_clock::now();
    const Outcome result = drovanexis(args);
    EXPECT_LT(std::chrono::steady_clock::now() - started, kTimeBound) << label;
    EXPECT_LT(children_max_rss_kib(), kMemoryBoundKiB) << label;
    EXPECT_EQ(folder_state("."), before) << label << "\n" << result.err;
    return result;
  }

  std::vector<std::string> with_credentials(const std::string& subcommand) const {
    auto args = credentials();
    args.insert(args.begin(), subcommand);
    return args;
  }
};

TEST_F(HostileInputTest, EverySubcommandRefusesSpecialLargeAndNameBombInputsQuickly) {
  struct Input {
    std::string file;
    int exit_code;
    std::string message;
  } inputs[] = {
      {"fifo.xml", 2, "fifo.xml: not a regular file"},
      {"/dev/zero", 2, "/dev/zero: not a regular file"},
      {"sparse.xml", 1, "larger than 32 MiB"},
      {"big.xml", 1, "larger than 32 MiB"},
      {"attribute_names.xml", 1, "distinct element and attribute names"},
      {"element_names.xml", 1, "distinct element and attribute names"},
  };
  auto seal = with_credentials("seal");
  auto stamp = with_credentials("stamp");
  // Results go to a folder of their own, so that "nothing changed" holds.
  fs::create_directory("results");
  seal.insert(seal.end(), {"--out", "results"});
  stamp.insert(stamp.end(), {"--out", "results"});
  const std::vector<std::vector<std::string>> commands = {
      {"validate"}, {"validate", "--json"},    {"cadena"}, {"check"}, {"status"},
      {"ack"},      {"qr", "--out", "qr.bmp"}, seal,       stamp};
  for (const auto& command : commands) {
    for (const Input& input : inputs) {
      std::vector<std::string> args = command;
      args.push_back(input.file);
      const std::string label = args.front() + " " + input.file;
      const Outcome result = run_unchanged(args, label);
      EXPECT_EQ(result.exit_code, input.exit_code) << label << "\n" << result.err << result.out;
      EXPECT_NE((result.out + result.err).find(input.message), std::string::npos)
          << label << "\n"
          << result.err << result.out;
    }
  }
  EXPECT_TRUE(fs::is_empty("results"));
}

TEST_F(HostileInputTest, NoSubcommandWritesOverTheLedgerACredentialOrItsInput) {
  stamp_one();  // factura.timbrado.xml
  fs::create_directories("o");
  write_file("o/Drovanexis.db", sample_);
  write_file("o/CSD_CACX7605101P8.key", sample_);
  fs::create_directories("in");
  write_file("in/factura.xml", sample_);
  fs::create_symlink("../Drovanexis.db", "in/factura.sellado.xml");

  // Cases of the batch subcommands name them and give only what follows
  // the credentials.
  struct Case {
    std::vector<std::string> batch;
    std::vector<std::string> args;
    int exit_code;
    std::string message;
  } cases[] = {
      {{"seal", "stamp"}, {"--out", ".", "o/Drovanexis.db"}, 1, "estado del proveedor"},
      {{"seal", "stamp"},
       {"--out", ".", "o/CSD_CACX7605101P8.key"},
       1,
       "entrada de la misma llamada"},
      // A result name that is a link to the ledger.
      {{"seal"}, {"in/factura.xml"}, 1, "estado del proveedor"},
      {{}, {"qr", "--out", "Drovanexis.db", "factura.timbrado.xml"}, 2, "estado del proveedor"},
      {{}, {"qr", "--out", "Drovanexis.db-journal", "--text", "x"}, 2, "estado del proveedor"},
      {{},
       {"qr", "--out", "factura.timbrado.xml", "factura.timbrado.xml"},
       2,
       "entrada de la misma llamada"},
      {{}, {"ack", "--out", "Drovanexis.db", "factura.timbrado.xml"}, 2, "estado del proveedor"},
      {{},
       {"ack", "--out", "factura.timbrado.xml", "factura.timbrado.xml"},
       2,
       "entrada de la misma llamada"},
      {{}, {"ack", "--out", "/dev/null", "factura.timbrado.xml"}, 2, "no es un archivo regular"},
  };
  for (const auto& c : cases) {
    std::vector<std::vector<std::string>> runs;
    for (const std::string& subcommand : c.batch) {
      runs.push_back(with_credentials(subcommand));
      runs.back().insert(runs.back().end(), c.args.begin(), c.args.end());
    }
    if (c.batch.empty()) runs.push_back(c.args);
    for (const auto& args : runs) {
      const std::string label = args.front() + " " + args.back();
      const Outcome result = run_unchanged(args, label);
      EXPECT_EQ(result.exit_code, c.exit_code) << label << "\n" << result.err;
      EXPECT_NE(result.err.find(c.message), std::string::npos) << label << "\n" << result.err;
    }
  }
  EXPECT_FALSE(fs::exists("Drovanexis.db-journal"));
}

// A folder's special files named like inputs are named in the report, and
// the run goes on with the rest.
TEST_F(HostileInputTest, SpecialFilesInAFolderAreNamedAndLeftOut) {
  fs::create_directories("in");
  write_file("in/a.xml", sample_);
  ASSERT_EQ(::mkfifo("in/pipe.xml", 0600), 0);
  auto args = with_credentials("seal");
  args.push_back("in");
  const auto started = std::chrono::steady_clock::now();
  const Outcome result = drovanexis(args);
  EXPECT_LT(std::chrono::steady_clock::now() - started, kTimeBound);
  EXPECT_EQ(result.exit_code, 2) << result.err;
  EXPECT_NE(result.err.find("in/pipe.xml: not a regular file"), std::string::npos) << result.err;
  EXPECT_NE(result.out.find("sealed: 1"), std::string::npos) << result.out;
  EXPECT_TRUE(fs::is_regular_file("in/a.sellado.xml"));
}

// File names in another encoding or with control characters, and a document
// whose encoding error the XML library words over two lines: the JSON stays
// valid UTF-8 and each finding stays on one line, with no control character
// reaching the terminal.
TEST_F(HostileInputTest, NamesAndFindingsPrintAsValidOneLineText) {
  const std::vector<std::string> names = {"caf\xE9.xml", "esc\x1B[2J.xml", "new\nline.xml"};
  // Each file gives one finding: it is not well-formed.
  for (const auto& name : names) write_file(name, "<");
  write_file("latin.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a b=\"caf\xE9 x\"/>");
  std::vector<std::string> args = {"validate"};
  args.insert(args.end(), names.begin(), names.end());
  args.push_back("latin.xml");

  const Outcome text = drovanexis(args);
  EXPECT_EQ(text.exit_code, 1) << text.err;
  EXPECT_TRUE(portable::is_valid_utf8(text.out)) << text.out;
  EXPECT_EQ(text.out.find('\x1B'), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("caf\\xE9.xml: 301"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("new\\x0Aline.xml: 301"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("esc\\x1B[2J.xml: 301"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Input is not proper UTF-8"), std::string::npos) << text.out;
  // One line per file, each with its one finding.
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 4) << text.out;

  args.insert(args.begin() + 1, "--json");
  const Outcome json = drovanexis(args);
  EXPECT_EQ(json.exit_code, 1) << json.err;
  EXPECT_TRUE(portable::is_valid_utf8(json.out)) << json.out;
  EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 1) << json.out;
  for (const char c : json.out.substr(0, json.out.size() - 1)) {
    EXPECT_GE(static_cast<unsigned char>(c), 0x20) << json.out;
  }
  EXPECT_NE(json.out.find(R"("file":"caf\\xE9.xml")"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find(R"("file":"esc\u001b[2J.xml")"), std::string::npos) << json.out;
}

}  // namespace
