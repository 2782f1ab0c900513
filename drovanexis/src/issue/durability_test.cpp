// Stamping killed at random moments, two hundred times: the state file stays
// whole, every output file that exists is whole and has its ledger row, and
// the balance went down by exactly the rows recorded.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "crypto/seal.h"
#include "issue/processing.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/accounts.h"
#include "sandbox/ledger.h"
#include "sandbox/sandbox_test_support.h"
#include "sandbox/sqlite_db.h"
#include "sandbox/state_file.h"
#include "tests/support/sat_folder.h"
#include "xml/xml_reader.h"

namespace drovanexis::issue {
namespace {

using namespace sandbox;
using namespace sandbox::testing;

constexpr int kKills = 200;

// Stamps documents one after another into out-<round>-<n>.xml until killed.
[[noreturn]] void stamp_until_killed(int round) {
  for (int n = 0;; ++n) {
    Document document = example_document("cfdi33-ingreso.xml");
    process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key", kKeyPassword,
                     "out-" + std::to_string(round) + "-" + std::to_string(n) + ".xml");
  }
}

const Element* stamp_of(const Element& root) {
  const Element* complemento = root.child("cfdi:Complemento");
  return complemento ? complemento->child("tfd:TimbreFiscalDigital") : nullptr;
}

TEST(Durability, StampingKilledAtRandomMomentsLeavesLedgerAndFilesConsistent) {
  ::unsetenv("DROVANEXIS_SANDBOX_DB");
  CFDI_REQUIRE_SAT(examples_available(), "the shared SAT folder is absent: " << CFDI_SAT_DIR);
  portable::TestFolder folder;
  prepare_working_folder();
  const std::int64_t start =
      *account_balance(*open_existing_state("Drovanexis.db"), "demo_valdorin");
  // The kills land anywhere in a stamp's course: their delays span three
  // times one stamp's duration as this build runs it (a sanitized build is
  // several times slower), and at least 60 ms.
  const auto before = std::chrono::steady_clock::now();
  Document first = example_document("cfdi33-ingreso.xml");
  ASSERT_EQ(process_document(first, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key", kKeyPassword,
                             "calibration.xml"),
            0);
  const auto one_stamp = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - before);
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> delay_ms(
      0, std::max(60, 3 * static_cast<int>(one_stamp.count())));
  for (int round = 0; round < kKills; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) stamp_until_killed(round);
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
  }

  auto state = open_existing_state("Drovanexis.db");
  Statement integrity(*state, "PRAGMA integrity_check");
  ASSERT_TRUE(integrity.step());
  EXPECT_EQ(integrity.text(0), "ok");

  Statement rows(*state, "SELECT uuid FROM ledger WHERE account = 'demo_valdorin'");
  std::set<std::string> recorded;
  std::int64_t row_count = 0;
  while (rows.step()) {
    recorded.insert(rows.text(0));
    ++row_count;
  }
  EXPECT_EQ(static_cast<std::int64_t>(recorded.size()), row_count) << "a UUID counted twice";
  EXPECT_EQ(*account_balance(*state, "demo_valdorin"), start - row_count);

  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("out-")) continue;
    ++files;
    SCOPED_TRACE(name);
    const Element root = parse_xml(*portable::read_file(name));  // whole: it parses
    EXPECT_TRUE(seal_verifies(root));
    const Element* stamp = stamp_of(root);
    ASSERT_NE(stamp, nullptr);
    EXPECT_TRUE(recorded.contains(*stamp->attribute("UUID"))) << "a file without its ledger row";
  }
  EXPECT_GT(files, 0) << "no document was stamped in " << kKills << " runs";
  EXPECT_LE(files, row_count);
}

}  // namespace
}  // namespace drovanexis::issue
