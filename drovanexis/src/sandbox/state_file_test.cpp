#include "sandbox/state_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "portable/test_folder.h"
#include "sandbox/accounts.h"
#include "sandbox/ledger.h"
#include "sandbox/provider_identity.h"
#include "sandbox/provider_store.h"
#include "sandbox/sandbox_init.h"
#include "sandbox/state_schema.h"
#include "time/central_mexico.h"

namespace drovanexis::sandbox {
namespace {

const CertificateWithKey kAuthority{"authority-der", "authority-key", "pw-a"};
const CertificateWithKey kProvider{"provider-der", "provider-key", "pw-p"};

TEST(StateFile, CreatedMigratedAndReopenedWithItsData) {
  portable::TestFolder folder;
  {
    auto db = open_state("state.db");
    EXPECT_EQ(state_schema_version(*db), kStateSchemaVersion);
    store_account(*db, "someone", "secret", 7);
  }
  auto again = open_state("state.db");
  EXPECT_EQ(state_schema_version(*again), kStateSchemaVersion);
  EXPECT_EQ(account_balance(*again, "someone"), 7);
  Statement mode(*again, "PRAGMA journal_mode");
  ASSERT_TRUE(mode.step());
  EXPECT_EQ(mode.text(0), "wal");
}

TEST(StateFile, NewerSchemaIsRefusedNotMisread) {
  portable::TestFolder folder;
  {
    SqliteDb raw("state.db");
    raw.exec("PRAGMA user_version = 99");
  }
  EXPECT_THROW(open_state("state.db"), StateError);
}

TEST(StateFile, MissingFileIsNotSilentlyCreatedForProcessing) {
  portable::TestFolder folder;
  try {
    open_existing_state("absent.db");
    FAIL() << "expected a StateError";
  } catch (const StateError& error) {
    EXPECT_NE(std::string(error.what()).find("absent.db"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists("absent.db"));
}

TEST(StateFile, EnvironmentNamesAnotherFile) {
  portable::TestFolder folder;
  ::setenv("DROVANEXIS_SANDBOX_DB", "other.db", 1);
  EXPECT_EQ(default_state_path(), std::filesystem::path("other.db"));
  ::unsetenv("DROVANEXIS_SANDBOX_DB");
  EXPECT_EQ(default_state_path(), std::filesystem::path("Drovanexis.db"));
}

// AddressSanitizer keeps freed memory in quarantine, so resident memory grows
// with every allocation there; its leak check at exit covers that build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryTellsLeaks = false;
#else
constexpr bool kResidentMemoryTellsLeaks = true;
#endif

std::size_t open_descriptors() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

long resident_kib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  }
  return -1;
}

void overwrite(const std::string& file, std::streamoff offset, const std::string& bytes) {
  std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
  out.seekp(offset);
  out << bytes;
}

// Opening a damaged state file fails with a StateError every time, and
// leaves neither a descriptor nor memory behind, however often it happens.
TEST(StateFile, DamagedFileOpenedOverAndOverLeaksNothing) {
  portable::TestFolder folder;
  { std::ofstream("garbage.db") << std::string(8192, 'x'); }
  {
    auto db = open_state("malformed.db");
    store_account(*db, "someone", "secret", 7);
  }
  // Keep the header, damage the pages behind it.
  overwrite("malformed.db", 100, std::string(8000, '\xA5'));
  for (const char* file : {"garbage.db", "malformed.db"}) {
    const auto attempt = [&] {
      try {
        open_existing_state(file);
        ADD_FAILURE() << file << " opened";
      } catch (const StateError& error) {
        EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
      }
    };
    for (int i = 0; i < 20; ++i) attempt();  // allocator and caches settle
    const auto descriptors = open_descriptors();
    const long resident = resident_kib();
    for (int i = 0; i < 1000; ++i) attempt();
    EXPECT_EQ(open_descriptors(), descriptors) << file;
    if (kResidentMemoryTellsLeaks) {
      EXPECT_LT(resident_kib() - resident, 4096) << file << ": resident memory grew (KiB)";
    }
  }
}

TEST(Initialise, StoresCertificatesDemoAccountAndSamples) {
  portable::TestFolder folder;
  const auto now = std::chrono::system_clock::now();
  initialise("Drovanexis.db", kAuthority, kProvider, now);
  auto db = open_existing_state("Drovanexis.db");

  EXPECT_EQ(load_authority(*db)->certificate_der, "authority-der");
  const auto provider = load_provider(*db);
  ASSERT_TRUE(provider);
  EXPECT_EQ(provider->rfc, kProviderRfc);
  EXPECT_EQ(provider->credentials.key_der, "provider-key");
  EXPECT_EQ(provider->credentials.key_password, "pw-p");

  EXPECT_EQ(account_balance(*db, "demo_valdorin"), 1000);
  EXPECT_TRUE(authenticate(*db, "demo_valdorin", "zqvx"));
  EXPECT_TRUE(authenticate(*db, "demo_valdorin", "pelunarq"));

  const auto in_force = find_ledger_entry(*db, "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3");
  ASSERT_TRUE(in_force);
  EXPECT_EQ(in_force->issuer_rfc, "CACX7605101P8");
  EXPECT_EQ(in_force->receiver_rfc, "VDN020304QX7");
  EXPECT_EQ(in_force->total, "1102.00");
  EXPECT_EQ(in_force->status, "Vigente");
  EXPECT_EQ(in_force->fecha_timbrado, central_mexico::format(now - std::chrono::days(4)));

  const auto cancelled = find_ledger_entry(*db, "F94FE4AC-4743-4745-BA99-E0D13100331D");
  ASSERT_TRUE(cancelled);
  EXPECT_EQ(cancelled->issuer_rfc, "AAA010101AAA");
  EXPECT_EQ(cancelled->status, "Cancelado");
  Statement acuse(*db,
                  "SELECT status_code, acknowledgement_xml FROM acknowledgements WHERE uuid = ?");
  acuse.bind(1, cancelled->uuid);
  ASSERT_TRUE(acuse.step());
  EXPECT_EQ(acuse.text(0), "201");
  EXPECT_NE(acuse.text(1).find("<UUID>F94FE4AC-4743-4745-BA99-E0D13100331D</UUID>"),
            std::string::npos);
}

TEST(Initialise, RunningAgainKeepsBalanceAndLedger) {
  portable::TestFolder folder;
  initialise("Drovanexis.db", kAuthority, kProvider);
  {
    auto db = open_existing_state("Drovanexis.db");
    LedgerEntry entry;
    entry.uuid = "11111111-1111-4111-8111-111111111111";
    entry.account = "demo_valdorin";
    record_stamp(*db, entry);
  }
  initialise("Drovanexis.db", kAuthority, {"new-provider", "k", "p"});
  auto db = open_existing_state("Drovanexis.db");
  EXPECT_EQ(account_balance(*db, "demo_valdorin"), 999);
  EXPECT_TRUE(find_ledger_entry(*db, "11111111-1111-4111-8111-111111111111"));
  EXPECT_EQ(load_provider(*db)->credentials.certificate_der, "new-provider");
  Statement count(*db, "SELECT COUNT(*) FROM ledger");
  count.step();
  EXPECT_EQ(count.integer(0), 3);
}

}  // namespace
}  // namespace drovanexis::sandbox
