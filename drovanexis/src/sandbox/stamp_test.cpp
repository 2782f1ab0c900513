#include "sandbox/stamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <system_error>
#include <vector>

#include "crypto/seal.h"
#include "crypto/signature.h"
#include "document/output_rules.h"
#include "issue/provider_codes.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/accounts.h"
#include "sandbox/ledger.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/sandbox_test_support.h"
#include "sandbox/state_file.h"
#include "xml/xml_reader.h"

namespace drovanexis::sandbox {
namespace {

using namespace sandbox::testing;

Element sealed_looking_document(bool with_addenda) {
  Element root("cfdi:Comprobante");
  root.set_attribute("Version", "3.3");
  root.set_attribute("Sello", "SELLO-DEL-CFDI");
  root.add_child("cfdi:Emisor").set_attribute("Rfc", "CACX7605101P8");
  root.add_child("cfdi:Conceptos");
  if (with_addenda) root.add_child("cfdi:Addenda");
  return root;
}

ProviderSigner test_signer() {
  const TestPki& pki = TestPki::shared();
  const CertificateWithKey record = pki.provider_record();
  return {"VEL010101AA1", Certificate::from_bytes(pki.provider().der(), "provider"),
          PrivateKey::from_bytes(record.key_der, record.key_password, "provider")};
}

TEST(Stamp, AddsTimbreInComplementoBeforeAddendaAndSignsItsCadena) {
  Element root = sealed_looking_document(true);
  const ProviderSigner signer = test_signer();
  const StampFields fields =
      add_stamp(root, signer, "6F9619FF-8B86-4011-B42D-00C04FC964FF", "2025-01-02T03:04:05");

  ASSERT_EQ(root.children().size(), 4u);
  EXPECT_EQ(root.children()[2]->name(), "cfdi:Complemento");
  EXPECT_EQ(root.children()[3]->name(), "cfdi:Addenda");
  const Element* timbre = root.children()[2]->child("tfd:TimbreFiscalDigital");
  ASSERT_NE(timbre, nullptr);
  EXPECT_EQ(*timbre->attribute("SelloCFD"), "SELLO-DEL-CFDI");
  EXPECT_EQ(*timbre->attribute("xmlns:tfd"), "http://www.sat.gob.mx/TimbreFiscalDigital");
  EXPECT_EQ(*timbre->attribute("NoCertificadoSAT"), signer.certificate.number());
  EXPECT_EQ(fields.original_string,
            "||1.1|6F9619FF-8B86-4011-B42D-00C04FC964FF|2025-01-02T03:04:05|VEL010101AA1|"
            "SELLO-DEL-CFDI|" +
                signer.certificate.number() + "||");
  EXPECT_TRUE(verify_sha256_base64(signer.certificate, fields.original_string,
                                   *timbre->attribute("SelloSAT")));

  remove_stamp(root);
  EXPECT_EQ(root.child("cfdi:Complemento"), nullptr);
  EXPECT_EQ(root.children().size(), 3u);
}

TEST(Stamp, ExistingComplementoKeepsItsComplementsFirst) {
  Element root = sealed_looking_document(false);
  root.add_child("cfdi:Complemento").add_child("pago10:Pagos");
  add_stamp(root, test_signer(), "6F9619FF-8B86-4011-B42D-00C04FC964FF", "2025-01-02T03:04:05");
  const auto& complements = root.child("cfdi:Complemento")->children();
  ASSERT_EQ(complements.size(), 2u);
  EXPECT_EQ(complements[0]->name(), "pago10:Pagos");
  EXPECT_EQ(complements[1]->name(), "tfd:TimbreFiscalDigital");
  remove_stamp(root);
  EXPECT_EQ(root.child("cfdi:Complemento")->children().size(), 1u);
}

TEST(Stamp, UnsealedDocumentIsRefused) {
  Element root("cfdi:Comprobante");
  EXPECT_THROW(add_stamp(root, test_signer(), "U", "F"), std::invalid_argument);
  EXPECT_TRUE(root.children().empty());
}

TEST(SandboxProvider, RefusalLeavesTreeLedgerAndBalanceUnchanged) {
  portable::TestFolder folder;
  prepare_working_folder();
  SandboxProvider provider = SandboxProvider::open("Drovanexis.db");
  store_account(provider.db(), "strict", "right", 3);
  Element root = sealed_looking_document(false);
  const auto serialize = [](const Element&) { return std::string("<xml/>"); };

  try {
    provider.stamp_validated(root, "strict", "wrong", serialize);
    FAIL() << "expected a refusal";
  } catch (const StampRefused& refusal) {
    EXPECT_EQ(refusal.code(), kCodeBadCredentials);
  }
  EXPECT_THROW(provider.stamp_validated(
                   root, "strict", "right",
                   [](const Element&) -> std::string { throw std::runtime_error("x"); }),
               std::runtime_error);
  EXPECT_EQ(root.child("cfdi:Complemento"), nullptr);
  EXPECT_EQ(account_balance(provider.db(), "strict"), 3);

  const StampResult result = provider.stamp_validated(root, "strict", "right", serialize);
  EXPECT_EQ(result.balance_left, 2);
  EXPECT_EQ(find_ledger_entry(provider.db(), result.stamp.uuid)->issuer_rfc, "CACX7605101P8");
}

// A document whose delivery fails while the stamp is being recorded costs
// nothing: no ledger row, the balance as it was, no stamp in the tree. The
// delivery sees the bytes the ledger would have kept.
TEST(SandboxProvider, FailedDeliveryUndoesTheStamp) {
  portable::TestFolder folder;
  prepare_working_folder();
  SandboxProvider provider = SandboxProvider::open("Drovanexis.db");
  store_account(provider.db(), "strict", "right", 3);
  Element root = sealed_looking_document(false);
  const auto serialize = [](const Element&) { return std::string("<stamped/>"); };
  std::string delivered;
  const auto failing_delivery = [&](std::string_view xml) {
    delivered = xml;
    throw std::system_error(ENOSPC, std::generic_category(), "cannot write \"Salida.xml\"");
  };
  EXPECT_THROW(provider.stamp_validated(root, "strict", "right", serialize, failing_delivery),
               std::system_error);
  EXPECT_EQ(delivered, "<stamped/>");
  EXPECT_EQ(root.child("cfdi:Complemento"), nullptr);
  EXPECT_EQ(account_balance(provider.db(), "strict"), 3);
  Statement rows(provider.db(), "SELECT count(*) FROM ledger WHERE account = 'strict'");
  ASSERT_TRUE(rows.step());
  EXPECT_EQ(rows.integer(0), 0);

  const StampResult result =
      provider.stamp_validated(root, "strict", "right", serialize, [](std::string_view) {});
  EXPECT_EQ(result.balance_left, 2);
}

// Through the provider interface the sandbox validates what it is handed:
// a document whose seal no longer matches is refused with the SAT's code and
// costs nothing; a sound one is stamped and the validation reported as a step.
TEST(SandboxProvider, ValidatesWhatItIsHandedBeforeStamping) {
  if (!examples_available()) GTEST_SKIP() << "the shared SAT folder is absent: " << CFDI_SAT_DIR;
  portable::TestFolder folder;
  prepare_working_folder();
  SandboxProvider opened = SandboxProvider::open("Drovanexis.db");
  Provider& provider = opened;
  const std::int64_t before = *account_balance(opened.db(), "demo_valdorin");

  Element root = example_document("cfdi33-ingreso.xml").root;
  prepare_for_sealing(root, central_mexico_now());
  const std::time_t now = std::time(nullptr);
  const TestPki& pki = TestPki::shared();
  seal(root, pki.csd("CACX7605101P8", now - 24 * 3600, now + 365 * 24 * 3600), pki.holder_key());
  const std::string total = *root.attribute("Total");
  std::vector<std::string> steps;
  const StampRequest request{root, "demo_valdorin", "any",
                             [](const Element&) { return std::string("<xml/>"); },
                             [&steps](std::string_view step) { steps.emplace_back(step); }};

  root.set_attribute("Total", total + "1");
  try {
    provider.stamp(request);
    FAIL() << "a document altered after sealing was stamped";
  } catch (const ProviderRefusal& refusal) {
    const auto& failures = refusal.failures();
    EXPECT_TRUE(std::any_of(failures.begin(), failures.end(), [](const Failure& failure) {
      return failure.code == "302";
    })) << refusal.what();
  }
  EXPECT_EQ(root.child("cfdi:Complemento"), nullptr);
  EXPECT_TRUE(steps.empty());
  EXPECT_EQ(provider.balance("demo_valdorin", "any"), before);

  root.set_attribute("Total", total);
  const StampResult result = provider.stamp(request);
  EXPECT_EQ(steps, std::vector<std::string>{"Validación: el comprobante cumple todas las reglas"});
  EXPECT_NE(root.child("cfdi:Complemento"), nullptr);
  EXPECT_EQ(result.balance_left, before - 1);
  EXPECT_EQ(provider.balance("demo_valdorin", "any"), before - 1);
}

// A CFDI 4.0 is not stamped while the rules of its complements are not all
// checked: one that passes every check is still refused, and nothing is
// stamped, recorded or charged.
TEST(SandboxProvider, RefusesToStampA40Document) {
  if (!examples_available()) GTEST_SKIP() << "the shared SAT folder is absent: " << CFDI_SAT_DIR;
  portable::TestFolder folder;
  prepare_working_folder();
  SandboxProvider opened = SandboxProvider::open("Drovanexis.db");
  Provider& provider = opened;
  const std::int64_t before = *account_balance(opened.db(), "demo_valdorin");

  // Sealed anew with a CSD of the sandbox's authority, so that the provider's
  // own rules pass as well as the 4.0 schemas and rules.
  Element root = parse_xml(*portable::read_file((examples_dir() / "cfdi40-ingreso.xml").string()));
  remove_stamp(root);
  root.set_attribute("Fecha", central_mexico_now());
  const std::time_t now = std::time(nullptr);
  const TestPki& pki = TestPki::shared();
  seal(root, pki.csd("CACX7605101P8", now - 24 * 3600, now + 365 * 24 * 3600), pki.holder_key());
  const auto failures = validate_document(root, opened.validation_context(root));
  ASSERT_TRUE(failures.empty()) << failures.front().code << " " << failures.front().explanation;
  const StampRequest request{root, "demo_valdorin", "any",
                             [](const Element&) { return std::string("<xml/>"); },
                             [](std::string_view) {}};
  try {
    provider.stamp(request);
    FAIL() << "a CFDI 4.0 was stamped";
  } catch (const ProviderRefusal& refusal) {
    ASSERT_EQ(refusal.failures().size(), 1u) << refusal.what();
    EXPECT_EQ(refusal.failures()[0].code, "301");
    EXPECT_NE(refusal.failures()[0].explanation.find("no timbra CFDI 4.0"), std::string::npos);
  }
  // A batch prepares its stamps on another path: it refuses the same way.
  const auto batch = opened.open_batch("demo_valdorin", "any",
                                       [](const Element&) { return std::string("<xml/>"); });
  try {
    batch->prepare(root);
    FAIL() << "a batch prepared a stamp for a CFDI 4.0";
  } catch (const ProviderRefusal& refusal) {
    ASSERT_EQ(refusal.failures().size(), 1u) << refusal.what();
    EXPECT_NE(refusal.failures()[0].explanation.find("no timbra CFDI 4.0"), std::string::npos);
  }
  const Element* complemento = root.child("cfdi:Complemento");
  EXPECT_TRUE(complemento == nullptr || complemento->child("tfd:TimbreFiscalDigital") == nullptr);
  EXPECT_EQ(provider.balance("demo_valdorin", "any"), before);
}

TEST(SandboxProvider, BalanceOfAnUnknownAccountIsRefused) {
  portable::TestFolder folder;
  prepare_working_folder();
  SandboxProvider provider = SandboxProvider::open("Drovanexis.db");
  store_account(provider.db(), "strict", "right", 3);
  EXPECT_EQ(provider.balance("strict", "right"), 3);
  for (const auto& [user, password] : {std::pair{"strict", "wrong"}, std::pair{"nobody", "x"}}) {
    try {
      provider.balance(user, password);
      ADD_FAILURE() << user << " was given a balance";
    } catch (const ProviderRefusal& refusal) {
      EXPECT_EQ(refusal.failures().front().code, std::to_string(kCodeBadCredentials));
    }
  }
}

}  // namespace
}  // namespace drovanexis::sandbox
