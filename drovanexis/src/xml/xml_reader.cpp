#include "xml/xml_reader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <array>
#include <memory>
#include <utility>

namespace drovanexis {
namespace {

struct NamespaceName {
  std::string_view uri;
  std::string_view prefix;
};

// The prefixes every part of the library uses for the namespaces it knows.
constexpr std::array<NamespaceName, 7> kCanonicalPrefixes{{
    {"http://www.sat.gob.mx/cfd/3", "cfdi"},
    {"http://www.sat.gob.mx/Pagos", "pago10"},
    {"http://www.sat.gob.mx/nomina12", "nomina12"},
    {"http://www.sat.gob.mx/CartaPorte", "cartaporte"},
    {"http://www.sat.gob.mx/CartaPorte20", "cartaporte20"},
    {"http://www.sat.gob.mx/TimbreFiscalDigital", "tfd"},
    {"http://www.w3.org/2001/XMLSchema-instance", "xsi"},
}};

std::string_view text_of(const xmlChar* s) {
  return s == nullptr ? std::string_view{} : std::string_view(reinterpret_cast<const char*>(s));
}

// The prefix a name in namespace (uri, own_prefix) gets in the tree.
std::string_view prefix_for(std::string_view uri, std::string_view own_prefix) {
  for (const auto& known : kCanonicalPrefixes) {
    if (known.uri == uri) return known.prefix;
  }
  return own_prefix;
}

std::string qualified(const xmlNs* ns, std::string_view local) {
  if (ns == nullptr) return std::string(local);
  const auto prefix = prefix_for(text_of(ns->href), text_of(ns->prefix));
  if (prefix.empty()) return std::string(local);
  std::string name;
  name.reserve(prefix.size() + 1 + local.size());
  name.append(prefix).append(1, ':').append(local);
  return name;
}

std::string declaration_name(const xmlNs& ns) {
  const auto prefix = prefix_for(text_of(ns.href), text_of(ns.prefix));
  return prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix);
}

bool only_white_space(std::string_view s) {
  return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

void copy_node(const xmlNode& from, Element& to, int depth);

void copy_children(const xmlNode& from, Element& to, int depth) {
  std::string text;
  for (const xmlNode* child = from.children; child != nullptr; child = child->next) {
    if (child->type == XML_ELEMENT_NODE) {
      copy_node(*child, to.add_child(qualified(child->ns, text_of(child->name))), depth + 1);
    } else if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
      text.append(text_of(child->content));
    }
  }
  if (!only_white_space(text)) to.set_text(std::move(text));
}

void copy_node(const xmlNode& from, Element& to, int depth) {
  if (depth > kMaxXmlDepth) {
    throw XmlParseError(static_cast<int>(xmlGetLineNo(&from)), 0,
                        "elements nested deeper than " + std::to_string(kMaxXmlDepth) + " levels");
  }
  for (const xmlNs* ns = from.nsDef; ns != nullptr; ns = ns->next) {
    to.set_attribute(declaration_name(*ns), std::string(text_of(ns->href)));
  }
  for (const xmlAttr* attr = from.properties; attr != nullptr; attr = attr->next) {
    std::string value;
    for (const xmlNode* part = attr->children; part != nullptr; part = part->next) {
      value.append(text_of(part->content));
    }
    to.set_attribute(qualified(attr->ns, text_of(attr->name)), std::move(value));
  }
  copy_children(from, to, depth);
}

struct ParserState {
  bool doctype_seen = false;
  bool error_seen = false;
  int line = 0;
  int column = 0;
  std::string reason;
};

std::string trimmed_message(const char* message) {
  std::string text = message == nullptr ? "not a well-formed XML document" : message;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// Keeps the first error: the parser may go on reporting consequences of it.
void record_error(void* context, xmlErrorPtr error) {
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  auto* state = static_cast<ParserState*>(parser->_private);
  if (state->error_seen || error == nullptr || error->level < XML_ERR_ERROR) return;
  state->error_seen = true;
  state->line = error->line;
  state->column = error->int2;
  state->reason = trimmed_message(error->message);
}

// Called by the parser at "<!DOCTYPE"; stops it before any declaration of
// the internal subset is read.
void refuse_doctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  static_cast<ParserState*>(parser->_private)->doctype_seen = true;
  xmlStopParser(parser);
}

struct ParserDeleter {
  void operator()(xmlParserCtxt* p) const { xmlFreeParserCtxt(p); }
};
struct DocDeleter {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};

}  // namespace

XmlParseError::XmlParseError(int line, int column, std::string reason)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ", column " +
                                        std::to_string(column) + ": " + reason
                                  : reason),
      line_(line),
      column_(column),
      reason_(std::move(reason)) {}

Element parse_xml(std::string_view text) {
  if (text.size() > kMaxXmlBytes) {
    throw XmlParseError(
        0, 0,
        "the document is larger than " + std::to_string(kMaxXmlBytes / (1024 * 1024)) + " MiB");
  }
  std::unique_ptr<xmlParserCtxt, ParserDeleter> parser(xmlNewParserCtxt());
  if (!parser) throw XmlParseError(0, 0, "out of memory creating the XML parser");
  ParserState state;
  parser->_private = &state;
  parser->sax->internalSubset = refuse_doctype;
  parser->sax->serror = record_error;

  // No XML_PARSE_NOENT (entities are not substituted), no DTDLOAD/DTDATTR,
  // no HUGE (the parser keeps its own limits on names and text nodes).
  constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  std::unique_ptr<xmlDoc, DocDeleter> doc(xmlCtxtReadMemory(
      parser.get(), text.data(), static_cast<int>(text.size()), nullptr, nullptr, kOptions));

  if (state.doctype_seen) {
    throw XmlParseError(parser->input != nullptr ? parser->input->line : 0,
                        parser->input != nullptr ? parser->input->col : 0,
                        "a document type declaration (DOCTYPE) is not accepted");
  }
  if (!doc || parser->wellFormed == 0) {
    if (!state.error_seen) throw XmlParseError(0, 0, "not a well-formed XML document");
    throw XmlParseError(state.line, state.column, state.reason);
  }
  const xmlNode* root = xmlDocGetRootElement(doc.get());
  if (root == nullptr) throw XmlParseError(0, 0, "the document has no root element");

  Element tree(qualified(root->ns, text_of(root->name)));
  copy_node(*root, tree, 1);
  return tree;
}

}  // namespace drovanexis
