// Acknowledgement retrieval: the signed Acuse verifies with an independent
// canonicalisation (XPath node sets), and the answers when none exists.
#include <gtest/gtest.h>
#include <libxml/c14n.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <openssl/sha.h>
#include <stdlib.h>

#include <memory>
#include <string>

#include "crypto/base64.h"
#include "crypto/certificate.h"
#include "crypto/signature.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/provider_store.h"
#include "sandbox/sandbox_init.h"
#include "sandbox/sandbox_test_support.h"
#include "sandbox/state_file.h"
#include "services/cancellation.h"

namespace drovanexis::sandbox {
namespace {

const xmlChar* x(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

// Parses a signed document and checks its enveloped signature the way a
// verifier does: node sets chosen by XPath, exclusive C14N, SHA-256, RSA.
class SignedDocument {
 public:
  explicit SignedDocument(const std::string& xml)
      : doc_(xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "signed.xml", "UTF-8",
                           XML_PARSE_NONET)) {}
  ~SignedDocument() {
    if (doc_) xmlFreeDoc(doc_);
  }

  bool parsed() const { return doc_ != nullptr; }

  std::string value(const char* xpath) const {
    xmlChar* text = nullptr;
    with_nodes(xpath, [&](xmlNodeSet* nodes) {
      if (nodes != nullptr && nodes->nodeNr > 0) text = xmlNodeGetContent(nodes->nodeTab[0]);
    });
    std::string out = text ? reinterpret_cast<const char*>(text) : "";
    xmlFree(text);
    return out;
  }

  std::string canonical(const char* xpath) const {
    std::string out;
    with_nodes(xpath, [&](xmlNodeSet* nodes) {
      xmlChar* bytes = nullptr;
      const int size =
          xmlC14NDocDumpMemory(doc_, nodes, XML_C14N_EXCLUSIVE_1_0, nullptr, 0, &bytes);
      if (size >= 0)
        out.assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
      xmlFree(bytes);
    });
    return out;
  }

 private:
  template <typename Fn>
  void with_nodes(const char* xpath, Fn&& fn) const {
    xmlXPathContext* context = xmlXPathNewContext(doc_);
    xmlXPathRegisterNs(context, x("ds"), x("http://www.w3.org/2000/09/xmldsig#"));
    xmlXPathRegisterNs(context, x("c"), x("http://cancelacfd.sat.gob.mx"));
    xmlXPathObject* result = xmlXPathEvalExpression(x(xpath), context);
    fn(result ? result->nodesetval : nullptr);
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
  }

  xmlDoc* doc_;
};

std::string sha256_base64(const std::string& bytes) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  return base64_encode(std::string(reinterpret_cast<const char*>(digest), sizeof digest));
}

constexpr const char* kOutsideSignature =
    "(//. | //@* | //namespace::*)[not(ancestor-or-self::ds:Signature)]";
constexpr const char* kSignedInfo =
    "(//. | //@* | //namespace::*)[ancestor-or-self::ds:SignedInfo]";

bool digest_matches(const SignedDocument& document) {
  return sha256_base64(document.canonical(kOutsideSignature)) == document.value("//ds:DigestValue");
}

bool signature_verifies(const SignedDocument& document) {
  const auto der = base64_decode(document.value("//ds:X509Certificate"));
  if (!der) return false;
  const Certificate signer = Certificate::from_bytes(*der, "KeyInfo");
  return verify_sha256_base64(signer, document.canonical(kSignedInfo),
                              document.value("//ds:SignatureValue"));
}

class AcknowledgementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DROVANEXIS_SANDBOX_DB");
    testing::prepare_working_folder();
  }

  static int retrieve(const std::string& rfc, const std::string& uuid,
                      const std::string& user = "demo_valdorin") {
    return services::retrieve_acknowledgement({user, rfc, uuid}, ".\\Recupera.res",
                                              ".\\Recupera.xml", ".\\Recupera.log");
  }

  portable::TestFolder folder_;
};

TEST_F(AcknowledgementTest, SampleAcknowledgementIsSignedByTheAuthority) {
  ASSERT_EQ(retrieve("AAA010101AAA", std::string(kSampleCancelledUuid)), 1)
      << portable::read_file("Recupera.LOG").value_or("");
  const std::string xml = portable::read_file("Recupera.xml").value_or("");
  SignedDocument document(xml);
  ASSERT_TRUE(document.parsed()) << xml;
  EXPECT_EQ(document.value("/Acuse/@RfcEmisor"), "AAA010101AAA");
  EXPECT_EQ(document.value("/Acuse/c:Folios/c:UUID"), kSampleCancelledUuid);
  EXPECT_EQ(document.value("/Acuse/c:Folios/c:EstatusUUID"), "201");
  EXPECT_TRUE(digest_matches(document));
  EXPECT_TRUE(signature_verifies(document));

  const auto der = base64_decode(document.value("//ds:X509Certificate"));
  ASSERT_TRUE(der);
  const Certificate authority = Certificate::from_bytes(
      testing::TestPki::shared().authority_record().certificate_der, "authority");
  EXPECT_EQ(*der, authority.der());

  const std::string res = portable::read_file("Recupera.res").value_or("");
  EXPECT_NE(res.find("Resultado=1\r\n"), std::string::npos) << res;
}

// The checks above can fail: a changed status or a changed signed algorithm
// is caught.
TEST_F(AcknowledgementTest, TamperingBreaksDigestOrSignature) {
  ASSERT_EQ(retrieve("AAA010101AAA", std::string(kSampleCancelledUuid)), 1);
  const std::string xml = portable::read_file("Recupera.xml").value_or("");
  std::string changed_status = xml;
  changed_status.replace(changed_status.find(">201<"), 5, ">202<");
  EXPECT_FALSE(digest_matches(SignedDocument(changed_status)));
  std::string changed_info = xml;
  changed_info.replace(changed_info.find("xmlenc#sha256"), 13, "xmlenc#sha512");
  EXPECT_TRUE(digest_matches(SignedDocument(changed_info)));
  EXPECT_FALSE(signature_verifies(SignedDocument(changed_info)));
}

TEST_F(AcknowledgementTest, CancellationRecordsAnAcknowledgement) {
  const std::string uuid(kSampleInForceUuid);
  EXPECT_EQ(retrieve("CACX7605101P8", uuid), 0) << "nothing cancelled yet";
  EXPECT_FALSE(portable::read_file("Recupera.xml"));
  ASSERT_EQ(services::cancel_cfdi({"demo_valdorin",
                                   {uuid, "CACX7605101P8", "VDN020304QX7", "1102.00"},
                                   "CSD_CACX7605101P8.cer",
                                   "CSD_CACX7605101P8.key",
                                   "24681357q"},
                                  "CancelaCFDI.INI", "CancelaCFDI.LOG"),
            0);
  ASSERT_EQ(retrieve("CACX7605101P8", uuid), 1);
  SignedDocument document(portable::read_file("Recupera.xml").value_or(""));
  EXPECT_EQ(document.value("/Acuse/c:Folios/c:UUID"), uuid);
  EXPECT_EQ(document.value("/Acuse/@Fecha").size(), 27U) << "seven fractional digits";
  EXPECT_TRUE(digest_matches(document));
  EXPECT_TRUE(signature_verifies(document));
}

// A state file whose authority was stored without its key: the provider,
// whose certificate the authority issued, signs instead.
TEST_F(AcknowledgementTest, WithoutTheAuthorityKeyTheProviderSigns) {
  {
    auto db = open_existing_state("Drovanexis.db");
    store_authority(*db, {testing::TestPki::shared().authority_record().certificate_der, "", ""});
  }
  ASSERT_EQ(retrieve("AAA010101AAA", std::string(kSampleCancelledUuid)), 1)
      << portable::read_file("Recupera.log").value_or("");
  SignedDocument document(portable::read_file("Recupera.xml").value_or(""));
  EXPECT_TRUE(digest_matches(document));
  EXPECT_TRUE(signature_verifies(document));
  EXPECT_EQ(base64_decode(document.value("//ds:X509Certificate")).value_or(""),
            testing::TestPki::shared().provider().der());
}

TEST_F(AcknowledgementTest, OtherIssuerUnknownUuidAndFailures) {
  EXPECT_EQ(retrieve("CACX7605101P8", std::string(kSampleCancelledUuid)), 0) << "not the issuer";
  EXPECT_EQ(retrieve("AAA010101AAA", "00000000-0000-0000-0000-000000000000"), 0);
  EXPECT_NE(portable::read_file("Recupera.LOG").value_or("").find("No hay acuse"),
            std::string::npos);
  EXPECT_EQ(retrieve("AAA010101AAA", std::string(kSampleCancelledUuid), "nobody"), -1);
  EXPECT_NE(portable::read_file("Recupera.res").value_or("").find("Resultado=-1"),
            std::string::npos);
  portable::write_file_atomic("Drovanexis.db", "damaged");
  EXPECT_EQ(retrieve("AAA010101AAA", std::string(kSampleCancelledUuid)), -1);
  EXPECT_NE(portable::read_file("Recupera.log").value_or("").find("[ERROR]"), std::string::npos);
}

}  // namespace
}  // namespace drovanexis::sandbox
