#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/cfdi_version.h"
#include "document/element.h"
#include "time/civil_time.h"

namespace drovanexis {

// One rule that a document breaks, as a stamping provider reports it.
//
// Codes:
//   "301".."308", "401"      the provider's own rejections
//   "CFDI33101".."CFDI33196" the SAT's CFDI 3.3 validation matrix
//   "CFDI40101".."CFDI40221" the SAT's CFDI 4.0 validation matrix
//   "CRPnnn", "NOMnnn", "CPnnn", "CCEnnn"
//                            the SAT's matrices of Pagos 1.0, Nómina 1.2,
//                            Carta Porte and Comercio Exterior 1.1
//   "SBX-…"                  this library's own codes, only for rules of the
//                            standards that have no SAT code
// Each rule group's file lists its codes with their meaning, and the rules
// it cannot check (those that need the list of registered RFCs, l_RFC, or
// catalogues that are not in the library's data). result_codes.h gives the
// number that processing returns for each code.
struct Failure {
  std::string code;
  std::string node;  // path of the element, e.g. "cfdi:Comprobante/cfdi:Conceptos/cfdi:Concepto[2]"
  std::string attribute;    // "" when the failure concerns the element itself
  std::string explanation;  // a Spanish sentence with the values found
};

// What the certificate that sealed the document says about itself; read by
// the processing step from the .cer file and the provider's authority.
struct CertificateFacts {
  std::string rfc;      // taxpayer RFC of the subject (x500UniqueIdentifier, before any blank)
  bool is_csd = false;  // a CSD (carries an OU), not an e.firma
  bool issued_by_authority = false;  // its signature verifies with the provider's test authority
  bool revoked = false;
  LocalDateTime not_before;  // validity, in central Mexico local time
  LocalDateTime not_after;
};

// How far Fecha may lie from the moment of stamping.
struct StampWindow {
  std::int64_t max_age_seconds = 72 * 3600;
  // Fecha is the local time of the place of issue: east of central Mexico it
  // is an hour ahead of the provider's clock.
  std::int64_t max_ahead_seconds = 3600;
};

// The facts that only the processing step knows.
struct ValidationContext {
  CertificateFacts certificate;
  bool seal_verified = false;  // Sello verifies over the original string with the certificate's key
  LocalDateTime now;           // central Mexico local time
  StampWindow window;
};

// Judges a sealed, not yet stamped CFDI by the schemas of its version, then
// by that version's rule groups, and returns the failures in the order of
// the groups (for 3.3: provider rules, the CFDI 3.3 matrix, then the
// complements; for 4.0: provider rules, then the CFDI 4.0 matrix). A document is only ever judged by the rules of its own
// version. An empty list means the document may be stamped only where
// checks_business_rules holds for its version. Never throws: an amount too
// large to check is itself a failure.
std::vector<Failure> validate_document(const Element& comprobante,
                                       const ValidationContext& context);

// Whether validate_document judges documents of a version by all the
// business rules a provider applies (sums, taxes, catalogues, the provider's
// own checks, the complements' rules) as well as by the schemas. False for
// CFDI 4.0 while the rules of its complements are missing (see
// unchecked_complements): a 4.0 document is then not stamped.
bool checks_business_rules(CfdiVersion version);

// The complements a document carries whose business rules validate_document
// does not check yet ("Pagos 2.0", "Carta Porte 3.1", ...), for a reader of a
// clean result; empty for 3.3 and for a 4.0 document without them.
std::vector<std::string> unchecked_complements(const Element& comprobante);

}  // namespace drovanexis
