// drovanexis-sandbox: prepares a working folder for the demo and its
// sandbox stamping provider.
//
//   drovanexis-sandbox init DIR
//
// writes into DIR the sandbox's test authority ("sandbox-ca.cer" and
// "sandbox-ca.key"), the sample CSD files "CSD_CACX7605101P8.cer/.key" and
// "CSD_KIJ0906199R1.cer/.key" (key password "24681357q"), the unsealed
// sample invoice "ejemploexterno.xml", the provider's certificate
// "sandbox-pac.cer" and the provider's state "Drovanexis.db" (demonstration
// account, sample ledger entries).

#include <ctime>
#include <exception>
#include <iostream>
#include <string_view>

#include "tools/sandbox_artifacts.h"

namespace {

int usage() {
  std::cerr << "usage: drovanexis-sandbox init DIR\n"
               "  prepares DIR with the sandbox's test authority, the sample CSD certificates\n"
               "  and keys (password "
            << sandbox_tool::kKeyPassword << ") and the sample invoice "
            << sandbox_tool::kSampleXmlFile << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::string_view(argv[1]) != "init") return usage();
  try {
    const auto written = sandbox_tool::init_working_folder(argv[2], std::time(nullptr));
    for (const auto& name : written) std::cout << "written: " << argv[2] << "/" << name << "\n";
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "drovanexis-sandbox: cannot prepare \"" << argv[2] << "\": " << error.what()
              << "\n";
    return 1;
  }
}
