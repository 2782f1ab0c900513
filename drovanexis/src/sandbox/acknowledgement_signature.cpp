#include "sandbox/acknowledgement_signature.h"

#include <libxml/c14n.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "crypto/base64.h"
#include "crypto/digest.h"
#include "crypto/signature.h"

namespace drovanexis::sandbox {

namespace {

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

const xmlChar* xml_text(std::string_view text) {
  return reinterpret_cast<const xmlChar*>(text.data());
}

DocPtr parse(std::string_view xml) {
  // No network, no DTD loading, no entity substitution.
  DocPtr doc(xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "acuse.xml", "UTF-8",
                           XML_PARSE_NONET));
  if (!doc || xmlDocGetRootElement(doc.get()) == nullptr) {
    throw std::runtime_error("el acuse a firmar no es un documento XML");
  }
  return doc;
}

bool is_within(xmlNode* node, xmlNode* subtree_root) {
  for (; node != nullptr; node = node->parent) {
    if (node == subtree_root) return true;
  }
  return false;
}

// Namespace nodes reach the visibility callbacks with their element as parent.
xmlNode* owner_of(xmlNode* node, xmlNode* parent) {
  return node != nullptr && node->type == XML_NAMESPACE_DECL ? parent : node;
}

int inside_subtree(void* subtree_root, xmlNode* node, xmlNode* parent) {
  return is_within(owner_of(node, parent), static_cast<xmlNode*>(subtree_root)) ? 1 : 0;
}

// The enveloped-signature transform: everything but the signature's subtree.
int outside_subtree(void* subtree_root, xmlNode* node, xmlNode* parent) {
  return inside_subtree(subtree_root, node, parent) == 0 ? 1 : 0;
}

// Exclusive C14N (without comments) of the nodes the callback makes visible.
std::string canonical(xmlDoc* doc, xmlC14NIsVisibleCallback visible, xmlNode* subtree_root) {
  xmlOutputBuffer* buffer = xmlAllocOutputBuffer(nullptr);
  if (buffer == nullptr) throw std::runtime_error("sin memoria para canonicalizar el acuse");
  const int rc =
      xmlC14NExecute(doc, visible, subtree_root, XML_C14N_EXCLUSIVE_1_0, nullptr, 0, buffer);
  std::string out;
  if (rc >= 0) {
    out.assign(reinterpret_cast<const char*>(xmlOutputBufferGetContent(buffer)),
               xmlOutputBufferGetSize(buffer));
  }
  xmlOutputBufferClose(buffer);
  if (rc < 0) throw std::runtime_error("no se pudo canonicalizar el acuse");
  return out;
}

// Builds the Signature element with line breaks and indentation, so that the
// signed acknowledgement reads well in a text viewer; the white space is part
// of what is signed like any other content.
class SignatureTree {
 public:
  explicit SignatureTree(xmlNode* root) {
    // On a line of its own, after the root's last content.
    xmlNode* last = xmlGetLastChild(root);
    const bool at_line_start =
        last != nullptr && xmlNodeIsText(last) != 0 && last->content != nullptr &&
        std::string_view(reinterpret_cast<const char*>(last->content)).ends_with('\n');
    xmlAddChild(root, xmlNewText(xml_text(at_line_start ? "  " : "\n  ")));
    signature_ = xmlNewChild(root, nullptr, xml_text("Signature"), nullptr);
    const std::string uri(kXmlDsigNamespace);
    ns_ = xmlNewNs(signature_, xml_text(uri), nullptr);
    xmlSetNs(signature_, ns_);
    xmlAddChild(root, xmlNewText(xml_text("\n")));
  }

  xmlNode* signature() const { return signature_; }

  // A child element at the given depth below the root (the Signature is 1).
  xmlNode* add(xmlNode* parent, int depth, const char* name, std::string_view text = {}) {
    xmlAddChild(parent, xmlNewText(xml_text(indent(depth))));
    const std::string content(text);
    return xmlNewTextChild(parent, ns_, xml_text(name), text.empty() ? nullptr : xml_text(content));
  }

  // Closes a container element: its end tag on a line of its own.
  void close(xmlNode* container, int depth) {
    xmlAddChild(container, xmlNewText(xml_text(indent(depth))));
  }

  xmlNode* add_algorithm(xmlNode* parent, int depth, const char* name, std::string_view algorithm) {
    xmlNode* node = add(parent, depth, name);
    const std::string value(algorithm);
    xmlNewProp(node, xml_text("Algorithm"), xml_text(value));
    return node;
  }

 private:
  static const std::string& indent(int depth) {
    static const std::string kIndents[] = {"\n",       "\n  ",       "\n    ",
                                           "\n      ", "\n        ", "\n          "};
    return kIndents[depth];
  }

  xmlNode* signature_ = nullptr;
  xmlNs* ns_ = nullptr;
};

// SignedInfo with an empty DigestValue, which is returned to be filled.
xmlNode* add_signed_info(SignatureTree& tree, xmlNode** digest_value) {
  xmlNode* signed_info = tree.add(tree.signature(), 2, "SignedInfo");
  tree.add_algorithm(signed_info, 3, "CanonicalizationMethod", kExclusiveC14n);
  tree.add_algorithm(signed_info, 3, "SignatureMethod", kRsaSha256);
  xmlNode* reference = tree.add(signed_info, 3, "Reference");
  xmlNewProp(reference, xml_text("URI"), xml_text(""));
  xmlNode* transforms = tree.add(reference, 4, "Transforms");
  tree.add_algorithm(transforms, 5, "Transform", kEnvelopedSignature);
  tree.add_algorithm(transforms, 5, "Transform", kExclusiveC14n);
  tree.close(transforms, 4);
  tree.add_algorithm(reference, 4, "DigestMethod", kSha256);
  *digest_value = tree.add(reference, 4, "DigestValue");
  tree.close(reference, 3);
  tree.close(signed_info, 2);
  return signed_info;
}

std::string serialise(xmlDoc* doc, bool indent = false) {
  xmlChar* out = nullptr;
  int size = 0;
  xmlDocDumpFormatMemoryEnc(doc, &out, &size, "UTF-8", indent ? 1 : 0);
  if (out == nullptr || size < 0) throw std::runtime_error("no se pudo escribir el acuse firmado");
  std::string text(reinterpret_cast<const char*>(out), static_cast<std::size_t>(size));
  xmlFree(out);
  return text;
}

// The document with one element per line, indented, so that it reads well
// in a text viewer. White space between elements is dropped first; the
// layout is then part of what is signed like any other content.
std::string indented(std::string_view xml) {
  DocPtr doc(xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "acuse.xml", "UTF-8",
                           XML_PARSE_NONET | XML_PARSE_NOBLANKS));
  if (!doc || xmlDocGetRootElement(doc.get()) == nullptr) {
    throw std::runtime_error("el acuse a firmar no es un documento XML");
  }
  return serialise(doc.get(), true);
}

}  // namespace

std::string sign_enveloped(std::string_view xml, const Certificate& certificate,
                           const PrivateKey& key) {
  DocPtr doc = parse(indented(xml));
  SignatureTree tree(xmlDocGetRootElement(doc.get()));
  xmlNode* digest_value = nullptr;
  xmlNode* signed_info = add_signed_info(tree, &digest_value);
  xmlNode* signature_value = tree.add(tree.signature(), 2, "SignatureValue");
  xmlNode* key_info = tree.add(tree.signature(), 2, "KeyInfo");
  xmlNode* x509_data = tree.add(key_info, 3, "X509Data");
  tree.add(x509_data, 4, "X509Certificate", certificate.base64());
  tree.close(x509_data, 3);
  tree.close(key_info, 2);
  tree.close(tree.signature(), 1);

  const std::string digest = sha256_bytes(canonical(doc.get(), outside_subtree, tree.signature()));
  const std::string digest_text = base64_encode(digest);
  xmlNodeSetContent(digest_value, xml_text(digest_text));
  const std::string signature_text =
      sign_sha256_base64(key, canonical(doc.get(), inside_subtree, signed_info));
  xmlNodeSetContent(signature_value, xml_text(signature_text));
  return serialise(doc.get());
}

}  // namespace drovanexis::sandbox
