// Two processes stamping against one state file at the same time: nothing is
// lost, no UUID or operation number is shared, the balance stays exact.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include "issue/processing.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/accounts.h"
#include "sandbox/sandbox_test_support.h"
#include "sandbox/state_file.h"
#include "tests/support/sat_folder.h"

namespace drovanexis::sandbox {
namespace {

using namespace sandbox::testing;

constexpr int kPerProcess = 200;

// Runs in the child: stamps kPerProcess documents, writes their UUIDs one a
// line, and exits 0 only if every one succeeded.
[[noreturn]] void stamp_in_child(int worker) {
  int status = 0;
  try {
    std::ofstream uuids("uuids-" + std::to_string(worker) + ".txt");
    const std::string output = "salida-" + std::to_string(worker) + ".xml";
    for (int i = 0; i < kPerProcess; ++i) {
      Document document = example_document("cfdi33-ingreso.xml");
      if (process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key", kKeyPassword,
                           output) != 0) {
        status = 1;
        break;
      }
      uuids << document.value(9) << ' ' << document.value(13) << '\n';
    }
  } catch (...) {
    status = 2;
  }
  std::_Exit(status);
}

TEST(Concurrency, TwoProcessesStampingLoseNothingAndShareNothing) {
  portable::TestFolder folder;
  ::unsetenv("DROVANEXIS_SANDBOX_DB");
  CFDI_REQUIRE_SAT(examples_available(), "the shared SAT folder is absent: " << CFDI_SAT_DIR);
  prepare_working_folder();
  std::int64_t ledger_before = 0;
  {
    auto db = open_existing_state("Drovanexis.db");
    Statement count(*db, "SELECT COUNT(*) FROM ledger");
    count.step();
    ledger_before = count.integer(0);
  }

  pid_t children[2];
  for (int worker = 0; worker < 2; ++worker) {
    children[worker] = ::fork();
    ASSERT_GE(children[worker], 0);
    if (children[worker] == 0) stamp_in_child(worker);
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "a child failed; last log:\n"
        << portable::read_file("Drovanexis.log").value_or("");
  }

  std::set<std::string> uuids;
  std::set<std::string> operations;
  for (int worker = 0; worker < 2; ++worker) {
    std::ifstream in("uuids-" + std::to_string(worker) + ".txt");
    std::string uuid, operation;
    while (in >> uuid >> operation) {
      uuids.insert(uuid);
      operations.insert(operation);
    }
  }
  EXPECT_EQ(uuids.size(), 2u * kPerProcess);
  EXPECT_EQ(operations.size(), 2u * kPerProcess);

  auto db = open_existing_state("Drovanexis.db");
  Statement rows(
      *db, "SELECT COUNT(*), COUNT(DISTINCT uuid), COUNT(DISTINCT operation_number) FROM ledger");
  rows.step();
  EXPECT_EQ(rows.integer(0), ledger_before + 2 * kPerProcess);
  EXPECT_EQ(rows.integer(1), rows.integer(0));
  EXPECT_EQ(rows.integer(2), rows.integer(0));
  for (const std::string& uuid : uuids) {
    Statement found(*db, "SELECT 1 FROM ledger WHERE uuid = ?");
    found.bind(1, uuid);
    EXPECT_TRUE(found.step()) << uuid;
  }
  EXPECT_EQ(account_balance(*db, "demo_valdorin"), 1000 - 2 * kPerProcess);
}

}  // namespace
}  // namespace drovanexis::sandbox
