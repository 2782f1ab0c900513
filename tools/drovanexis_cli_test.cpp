// The drovanexis command line as a user runs it: the real executable in a
// working folder prepared by "drovanexis-sandbox init", judged by its exit
// code, standard output and standard error.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "portable/test_folder.h"
#include "sandbox/sqlite_db.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path kBin = fs::path(CFDI_BINARY_DIR) / "bin";
const fs::path kSat = CFDI_SAT_DIR;
constexpr const char* kPassword = "24681357q";

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

std::string read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string quoted(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs a program of the build (or any path) in the working folder.
Outcome run(const fs::path& program, const std::vector<std::string>& args) {
  std::string line = quoted(program.string());
  for (const auto& arg : args) line += " " + quoted(arg);
  line += " >cli.out 2>cli.err </dev/null";
  const int status = std::system(line.c_str());
  Outcome result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = read_file("cli.out");
  result.err = read_file("cli.err");
  fs::remove("cli.out");
  fs::remove("cli.err");
  return result;
}

Outcome drovanexis(const std::vector<std::string>& args) { return run(kBin / "drovanexis", args); }

bool have_sat() {
  if (fs::is_directory(kSat)) return true;
  if (std::getenv("CI") != nullptr) ADD_FAILURE() << kSat << " is missing";
  return false;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DROVANEXIS_SANDBOX_DB");
    const Outcome init = run(kBin / "drovanexis-sandbox", {"init", "."});
    ASSERT_EQ(init.exit_code, 0) << init.err;
    sample_ = read_file("ejemploexterno.xml");
  }

  std::vector<std::string> credentials() const {
    return {"--cer",  "CSD_CACX7605101P8.cer", "--key", "CSD_CACX7605101P8.key", "--password",
            kPassword};
  }

  // One stamped copy of the sample invoice, "factura.timbrado.xml".
  void stamp_one() {
    write_file("factura.xml", sample_);
    auto args = credentials();
    args.insert(args.begin(), "stamp");
    args.push_back("factura.xml");
    const Outcome stamped = drovanexis(args);
    ASSERT_EQ(stamped.exit_code, 0) << stamped.err;
  }

  // Unsealed copies of the sample in a folder.
  void make_inputs(const fs::path& folder, int count) {
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
      std::string text = sample_;
      // A distinct Folio per copy, so that every input has its own bytes.
      text.replace(text.find("Folio=\"1001\""), 12, "Folio=\"" + std::to_string(5000 + i) + "\"");
      char name[32];
      std::snprintf(name, sizeof name, "recibo%04d.xml", i);
      write_file(folder / name, text);
    }
  }

  portable::TestFolder folder_;
  std::string sample_;
};

// --- usage, help and errors --------------------------------------------

TEST_F(CliTest, UsageErrorsAndHelp) {
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string in_out;
    std::string in_err;
  } cases[] = {
      {{}, 2, "", "missing subcommand"},
      {{"frob"}, 2, "", "unknown subcommand \"frob\""},
      {{"validate", "--frob", "x.xml"}, 2, "", "unknown option --frob"},
      {{"--help"}, 0, "Exit codes", ""},
      {{"stamp", "--help"}, 0, "Example:", ""},
      {{"validate", "no-such.xml"}, 2, "", "no-such.xml: cannot open"},
      {{"cadena", "no-such.xml"}, 2, "", "no-such.xml: cannot open"},
      {{"check", "."}, 2, "", "is a folder"},
      {{"cer64", "no-such.cer"}, 2, "", "no-such.cer"},
      {{"stamp", "--cer", "CSD_CACX7605101P8.cer", "--key", "CSD_CACX7605101P8.key", "--password",
        "wrong", "ejemploexterno.xml"},
       2,
       "",
       "password"},
      {{"stamp", "--cer", "CSD_CACX7605101P8.cer", "--key", "CSD_KIJ0906199R1.key", "--password",
        kPassword, "ejemploexterno.xml"},
       2,
       "",
       "CSD_KIJ0906199R1.key"},
      {{"stamp", "--cer", "CSD_CACX7605101P8.cer", "--key", "CSD_CACX7605101P8.key", "--password",
        kPassword, "--jobs", "0", "ejemploexterno.xml"},
       2,
       "",
       "--jobs"},
      {{"balance", "--user", "nobody"}, 1, "", "701"},
  };
  for (const auto& c : cases) {
    std::string joined;
    for (const auto& a : c.args) joined += a + " ";
    const Outcome result = drovanexis(c.args);
    EXPECT_EQ(result.exit_code, c.exit_code) << joined << "\n" << result.err;
    EXPECT_NE(result.out.find(c.in_out), std::string::npos) << joined << "\n" << result.out;
    EXPECT_NE(result.err.find(c.in_err), std::string::npos) << joined << "\n" << result.err;
  }
}

// --- services ----------------------------------------------------------------

TEST_F(CliTest, ServicesAnswerInTextAndJson) {
  stamp_one();
  const Outcome balance = drovanexis({"balance", "--json"});
  EXPECT_EQ(balance.exit_code, 0) << balance.err;
  EXPECT_EQ(balance.out, "{\"user\":\"demo_valdorin\",\"balance\":999}\n");

  const Outcome status = drovanexis({"status", "factura.timbrado.xml"});
  EXPECT_EQ(status.exit_code, 0) << status.err;
  EXPECT_NE(status.out.find("Vigente"), std::string::npos) << status.out;

  auto cancel_args = credentials();
  cancel_args.insert(cancel_args.begin(), "cancel");
  cancel_args.push_back("factura.timbrado.xml");
  cancel_args.push_back("--json");
  const Outcome cancel = drovanexis(cancel_args);
  EXPECT_EQ(cancel.exit_code, 0) << cancel.err << cancel.out;
  EXPECT_TRUE(cancel.out.starts_with("{\"result\":")) << cancel.out;

  const Outcome unknown =
      drovanexis({"status", "--uuid", "00000000-0000-4000-8000-000000000000", "--issuer",
                  "CACX7605101P8", "--receiver", "XAXX010101000", "--total", "1.00"});
  EXPECT_EQ(unknown.exit_code, 1) << unknown.out << unknown.err;

  const Outcome ack = drovanexis({"ack", "--uuid", "F94FE4AC-4743-4745-BA99-E0D13100331D",
                                  "--issuer", "AAA010101AAA", "--out", "acuse.xml"});
  EXPECT_EQ(ack.exit_code, 0) << ack.out << ack.err;
  EXPECT_NE(read_file("acuse.xml").find("F94FE4AC"), std::string::npos);

  const Outcome cer64 = drovanexis({"cer64", "CSD_CACX7605101P8.cer", "--json"});
  EXPECT_EQ(cer64.exit_code, 0) << cer64.err;
  EXPECT_NE(cer64.out.find("\"rfc\":\"CACX7605101P8\""), std::string::npos) << cer64.out;

  const Outcome qr = drovanexis({"qr", "--out", "qr.bmp", "factura.timbrado.xml"});
  EXPECT_EQ(qr.exit_code, 0) << qr.err;
  EXPECT_EQ(read_file("qr.bmp").substr(0, 2), "BM");
  EXPECT_NE(qr.out.find("&re=CACX7605101P8"), std::string::npos) << qr.out;
}

TEST_F(CliTest, SandboxAccountCreatesAndSetsBalances) {
  const fs::path tool = kBin / "drovanexis-sandbox";
  EXPECT_EQ(run(tool, {"account", "nomina", "--password", "s3creto", "--stamps", "5"}).exit_code,
            0);
  EXPECT_EQ(drovanexis({"balance", "--user", "nomina", "--secret", "s3creto"}).out,
            "nomina: 5 stamps left\n");
  EXPECT_EQ(drovanexis({"balance", "--user", "nomina", "--secret", "wrong"}).exit_code, 1);
  EXPECT_EQ(run(tool, {"account", "nomina", "--stamps", "7"}).exit_code, 0);
  EXPECT_EQ(drovanexis({"balance", "--user", "nomina", "--secret", "s3creto"}).out,
            "nomina: 7 stamps left\n");
  EXPECT_EQ(run(tool, {"account", "nadie", "--stamps", "7"}).exit_code, 2);
  EXPECT_EQ(run(tool, {"account", "nomina", "--stamps", "-1"}).exit_code, 2);
}

// --- judging files ----------------------------------------------------------

TEST_F(CliTest, CheckVerifiesBothSealsAndFindsTampering) {
  stamp_one();
  const Outcome good = drovanexis({"check", "factura.timbrado.xml"});
  EXPECT_EQ(good.exit_code, 0) << good.out << good.err;
  EXPECT_NE(good.out.find("SelloSAT OK"), std::string::npos) << good.out;

  std::string text = read_file("factura.timbrado.xml");
  text.replace(text.find("Total=\"1740.00\""), 15, "Total=\"1741.00\"");
  write_file("alterada.xml", text);
  const Outcome bad = drovanexis({"check", "alterada.xml", "--json"});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_NE(bad.out.find("{\"check\":\"Sello\",\"ok\":false"), std::string::npos) << bad.out;
}

// The 3.3 and the 4.0 examples alike: cadena-cfdi picks the stylesheet of
// each document's version, as the command does.
TEST_F(CliTest, CadenaEqualsTheSatStylesheets) {
  if (!have_sat()) GTEST_SKIP() << kSat << " absent";
  stamp_one();
  std::vector<fs::path> files{"factura.timbrado.xml"};
  for (const auto& entry : fs::directory_iterator(kSat / "examples")) {
    if (entry.path().extension() == ".xml") files.push_back(entry.path());
  }
  ASSERT_GE(files.size(), 11u);
  for (const auto& file : files) {
    const Outcome ours = drovanexis({"cadena", file.string()});
    const Outcome sat = run(kSat / "bin" / "cadena-cfdi", {file.string()});
    ASSERT_EQ(sat.exit_code, 0) << sat.err;
    EXPECT_EQ(ours.exit_code, 0) << ours.err;
    EXPECT_EQ(ours.out, sat.out) << file;
    const Outcome ours_tfd = drovanexis({"cadena", "--tfd", file.string()});
    const Outcome sat_tfd = run(kSat / "bin" / "cadena-tfd11", {file.string()});
    EXPECT_EQ(ours_tfd.out, sat_tfd.out) << file;
  }
  const Outcome unstamped = drovanexis({"cadena", "--tfd", "ejemploexterno.xml"});
  EXPECT_EQ(unstamped.exit_code, 1);
  EXPECT_NE(unstamped.err.find("no stamp"), std::string::npos);
}

// A CFDI 4.0 is judged by the 4.0 schemas; a clean one says what was not
// checked, and a root whose namespace and Version disagree is refused.
TEST_F(CliTest, ValidateJudgesA40DocumentByItsSchemasAndSaysSo) {
  if (!have_sat()) GTEST_SKIP() << kSat << " absent";
  const std::string good = read_file(kSat / "examples" / "cfdi40-global.xml");
  auto changed = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::string warning =
      ": warning: the CFDI 4.0 business rules are not checked yet; only its schemas were\n";
  struct Case {
    std::string name;
    std::string text;
    int exit_code;
    std::string expected;  // a part of the output
  } cases[] = {
      {"global.xml", good, 0, "global.xml: valid\nglobal.xml" + warning},
      {"sin-exportacion.xml", changed("Exportacion=\"01\"", ""), 1,
       "301 cfdi:Comprobante@Exportacion: Esquema (atributo obligatorio)"},
      {"version-33.xml", changed("Version=\"4.0\"", "Version=\"3.3\""), 1,
       "está en el espacio de nombres http://www.sat.gob.mx/cfd/4 y su Version es \"3.3\""},
  };
  for (const auto& c : cases) {
    write_file(c.name, c.text);
    const Outcome ours = drovanexis({"validate", c.name});
    EXPECT_EQ(ours.exit_code, c.exit_code) << c.name << "\n" << ours.out << ours.err;
    EXPECT_NE(ours.out.find(c.expected), std::string::npos) << c.name << "\n" << ours.out;
    const Outcome sat = run(kSat / "bin" / "validate-cfdi40", {c.name});
    EXPECT_EQ(sat.exit_code, c.exit_code) << c.name << sat.err;
  }
}

TEST_F(CliTest, ValidateAgreesWithTheSchemaOracle) {
  if (!have_sat()) GTEST_SKIP() << kSat << " absent";
  stamp_one();
  const std::string good = read_file("factura.timbrado.xml");
  auto broken = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  struct Case {
    std::string name;
    std::string text;
    bool valid;
  } cases[] = {
      {"good.xml", good, true},
      {"no-moneda.xml", broken("Moneda=\"MXN\" ", ""), false},
      {"tipo-z.xml", broken("TipoDeComprobante=\"I\"", "TipoDeComprobante=\"Z\""), false},
      {"bad-rfc.xml", broken("Rfc=\"CACX7605101P8\"", "Rfc=\"??\""), false},
  };
  for (const auto& c : cases) {
    write_file(c.name, c.text);
    const Outcome ours = drovanexis({"validate", c.name});
    const Outcome sat = run(kSat / "bin" / "validate-cfdi33", {c.name});
    EXPECT_EQ(sat.exit_code, c.valid ? 0 : 1) << c.name << sat.err;
    EXPECT_EQ(ours.exit_code, c.valid ? 0 : 1) << c.name << "\n" << ours.out << ours.err;
  }
  // An example stamped elsewhere, long ago, with another authority's CSD.
  const fs::path example = kSat / "examples" / "cfdi33-ingreso.xml";
  const Outcome elsewhere = drovanexis({"validate", "--json", example.string()});
  EXPECT_EQ(elsewhere.exit_code,
            run(kSat / "bin" / "validate-cfdi33", {example.string()}).exit_code)
      << elsewhere.out;
}

// --- batch stamping -----------------------------------------------------------

// Starts a program of the build with its output thrown away.
pid_t spawn_quietly(const fs::path& program, const std::vector<std::string>& args) {
  std::vector<std::string> words{program.string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
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
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (std::chrono::steady_clock::now() < give_up) {
    std::error_code ec;
    if (fs::is_directory("out", ec) &&
        std::distance(fs::directory_iterator("out"), fs::directory_iterator()) >= 40) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
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

}  // namespace
