#pragma once

#include <iosfwd>

#include "tools/cli/arguments.h"

namespace cli {

// The suffixes of results written beside their inputs (without --out):
// "factura.xml" becomes "factura.sellado.xml" or "factura.timbrado.xml".
inline constexpr const char* kSealedSuffix = ".sellado.xml";
inline constexpr const char* kStampedSuffix = ".timbrado.xml";

// seal: seals every unsealed CFDI given (files, or the *.xml of folders).
int run_seal(const ParsedCommand& command, std::ostream& out, std::ostream& err);

// stamp: seals and stamps them through the sandbox provider, on --jobs
// threads, committing many stamps per transaction and writing their files in
// groups. A result already stamped is skipped; an input stamped by an earlier
// run whose file was never written is written from the ledger, not stamped
// again.
int run_stamp(const ParsedCommand& command, std::ostream& out, std::ostream& err);

}  // namespace cli
