// drovanexis-sandbox: prepares a working folder for the demo and its
// sandbox stamping provider, and manages the provider's accounts.
//
//   drovanexis-sandbox init DIR
//
// writes into DIR the sandbox's test authority ("sandbox-ca.cer" and
// "sandbox-ca.key"), the sample CSD files "CSD_CACX7605101P8.cer/.key" and
// "CSD_KIJ0906199R1.cer/.key" (key password "24681357q"), the unsealed
// sample invoice "ejemploexterno.xml", the provider's certificate
// "sandbox-pac.cer" and the provider's state "Drovanexis.db" (demonstration
// account, sample ledger entries).
//
//   drovanexis-sandbox account USER [--password P | --any-password] --stamps N
//
// creates an account in the state file of the working folder (or the one
// DROVANEXIS_SANDBOX_DB names) or sets its balance; an existing account keeps
// its password unless one of the password options is given.
//
//   drovanexis-sandbox accept UUID [--receiver RFC]
//   drovanexis-sandbox reject UUID [--receiver RFC]
//
// answers, as the CFDI's receiver and at the current time, the cancellation
// request awaiting its acceptance: accept cancels the CFDI, reject leaves it
// in force. A request left unanswered counts as accepted once its period
// ends; the next status query or cancellation request settles it.
//
//   drovanexis-sandbox --help | --version

#include <charconv>
#include <chrono>
#include <ctime>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "sandbox/accounts.h"
#include "sandbox/cancellation_store.h"
#include "sandbox/state_file.h"
#include "tools/sandbox_artifacts.h"

namespace {

// The help of the tool; --help prints it on standard output, a usage error
// on standard error.
std::string help_text() {
  return std::string(
             "usage: drovanexis-sandbox init DIR\n"
             "       drovanexis-sandbox account USER [--password P | --any-password] --stamps N\n"
             "       drovanexis-sandbox accept|reject UUID [--receiver RFC]\n"
             "       drovanexis-sandbox --help | --version\n"
             "\n"
             "init DIR\n"
             "  prepares DIR with the sandbox's test authority, the sample CSD certificates\n"
             "  and keys (password ") +
         std::string(sandbox_tool::kKeyPassword) + ") and the sample invoice " +
         std::string(sandbox_tool::kSampleXmlFile) +
         "\n"
         "\n"
         "account USER [--password P | --any-password] --stamps N\n"
         "  creates an account of the sandbox or sets its balance (state file: "
         "Drovanexis.db,\n"
         "  or DROVANEXIS_SANDBOX_DB)\n"
         "  example: drovanexis-sandbox account nomina --password s3creto --stamps 10000\n"
         "\n"
         "accept|reject UUID [--receiver RFC]\n"
         "  answers as the receiver a cancellation request that awaits its acceptance\n"
         "  example: drovanexis-sandbox reject b9b2902e-2f4f-4e9f-b959-6aa615b92ae3\n"
         "\n"
         "Exit codes: 0 all went well; 1 the folder or the state file could not be\n"
         "prepared or changed; 2 a usage error.\n";
}

constexpr int kExitUsage = 2;

int usage() {
  std::cerr << help_text();
  return kExitUsage;
}

int init(const char* folder) {
  try {
    const auto written = sandbox_tool::init_working_folder(folder, std::time(nullptr));
    for (const auto& name : written) std::cout << "written: " << folder << "/" << name << "\n";
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "drovanexis-sandbox: cannot prepare \"" << folder << "\": " << error.what()
              << "\n";
    return 1;
  }
}

struct AccountCommand {
  std::string user;
  std::optional<std::string> password;
  bool any_password = false;
  std::optional<std::int64_t> stamps;
};

std::optional<AccountCommand> parse_account(int argc, char** argv) {
  AccountCommand command;
  command.user = argv[2];
  if (command.user.empty() || command.user.starts_with("-")) return std::nullopt;
  for (int i = 3; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--any-password") {
      command.any_password = true;
    } else if ((word == "--password" || word == "--stamps") && i + 1 < argc) {
      const std::string_view value = argv[++i];
      if (word == "--password") {
        command.password = std::string(value);
        continue;
      }
      std::int64_t stamps = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), stamps);
      if (ec != std::errc() || end != value.data() + value.size() || stamps < 0) {
        std::cerr << "drovanexis-sandbox: --stamps must be a whole number of 0 or more, not \""
                  << value << "\"\n";
        return std::nullopt;
      }
      command.stamps = stamps;
    } else {
      std::cerr << "drovanexis-sandbox: unexpected \"" << word << "\"\n";
      return std::nullopt;
    }
  }
  if (!command.stamps || (command.password && command.any_password)) return std::nullopt;
  return command;
}

int account(const AccountCommand& command) {
  using namespace drovanexis::sandbox;
  const auto state = default_state_path();
  try {
    auto db = open_existing_state(state);
    Transaction transaction(*db);
    const bool exists = account_balance(*db, command.user).has_value();
    if (command.password || command.any_password) {
      store_account(
          *db, command.user,
          command.password ? std::optional<std::string_view>(*command.password) : std::nullopt,
          *command.stamps);
    } else if (exists) {
      Statement(*db, "UPDATE accounts SET balance = ? WHERE user = ?")
          .bind(1, *command.stamps)
          .bind(2, command.user)
          .run();
    } else {
      std::cerr << "drovanexis-sandbox: account \"" << command.user
                << "\" does not exist; create it with --password P or --any-password\n";
      return kExitUsage;
    }
    transaction.commit();
    std::cout << "account " << command.user << (exists ? " updated" : " created") << ": "
              << *command.stamps << " stamps (" << state.string() << ")\n";
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "drovanexis-sandbox: " << error.what() << "\n";
    return 1;
  }
}

// The receiver's answer to a cancellation request in process.
int answer_request(int argc, char** argv) {
  const bool accept = std::string_view(argv[1]) == "accept";
  const std::string uuid = argv[2];
  std::string receiver;
  if (argc == 5 && std::string_view(argv[3]) == "--receiver") {
    receiver = argv[4];
  } else if (argc != 3) {
    return usage();
  }
  using namespace drovanexis::sandbox;
  try {
    auto db = open_existing_state(default_state_path());
    const CancellationRecord answered =
        answer_cancellation_request(*db, uuid, receiver, accept, std::chrono::system_clock::now());
    std::cout << answered.uuid << ": " << answered.status << " (" << answered.answered_at << ")\n";
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "drovanexis-sandbox: " << error.what() << "\n";
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::cout << help_text();
    return 0;
  }
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "drovanexis-sandbox " DROVANEXIS_VERSION "\n";
    return 0;
  }
  if (argc == 3 && std::string_view(argv[1]) == "init") return init(argv[2]);
  if (argc >= 3 && std::string_view(argv[1]) == "account") {
    const auto command = parse_account(argc, argv);
    return command ? account(*command) : usage();
  }
  if (argc >= 3 &&
      (std::string_view(argv[1]) == "accept" || std::string_view(argv[1]) == "reject")) {
    return answer_request(argc, argv);
  }
  return usage();
}
