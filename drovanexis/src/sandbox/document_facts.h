#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace drovanexis::sandbox {

// What the cancellation rules read from a stamped document the ledger keeps,
// whatever its version.
struct DocumentFacts {
  bool readable = false;  // false: the stored text is not a readable XML document
  std::string currency = "MXN";
  std::string exchange_rate;    // TipoCambio, "" when absent
  std::string receiver_regime;  // Receptor/@RegimenFiscalReceptor, "" when absent
  bool fuel_transfer = false;   // a Carta Porte that moves fuels (class 1510xxxx)
  // UUIDs the document replaces (CfdiRelacionados with TipoRelacion 04).
  std::vector<std::string> replaces;
  // Every other UUID the document names outside its own stamp: other
  // relations, paid documents, ...
  std::vector<std::string> other_references;

  bool replaces_uuid(std::string_view uuid) const;
  bool references_uuid(std::string_view uuid) const;
};

DocumentFacts read_document_facts(std::string_view stamped_xml);

}  // namespace drovanexis::sandbox
