#include "xml/xml_reader.h"

#include <libxml/SAX2.h>
#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "document/namespaces.h"
#include "xml/xml_input_guard.h"

namespace drovanexis {
namespace {

std::string_view text_of(const xmlChar* s) {
  return s == nullptr ? std::string_view{} : std::string_view(reinterpret_cast<const char*>(s));
}

std::string joined(std::string_view prefix, std::string_view local) {
  if (prefix.empty()) return std::string(local);
  std::string name;
  name.reserve(prefix.size() + 1 + local.size());
  name.append(prefix).append(1, ':').append(local);
  return name;
}

bool only_white_space(std::string_view s) {
  return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// A failure found while the parser runs: the first one is kept, since the
// parser may go on reporting consequences of it.
struct Failure {
  int line = 0;
  int column = 0;
  std::string reason;
};

// Builds the element tree straight from the parser's events, so that no
// second tree (the XML library's own) is ever held in memory.
class TreeBuilder {
 public:
  explicit TreeBuilder(xmlParserCtxt& parser) : parser_(parser) {}

  void start_element(const xmlChar* local, const xmlChar* prefix, const xmlChar* uri,
                     int namespace_count, const xmlChar** namespaces, int attribute_count,
                     const xmlChar** attributes) {
    if (failed()) return;
    if (open_.size() >= static_cast<std::size_t>(kMaxXmlDepth)) {
      return fail("elements nested deeper than " + std::to_string(kMaxXmlDepth) + " levels");
    }
    if (++elements_ > kMaxXmlElements) {
      return fail("the document has more than " + std::to_string(kMaxXmlElements) + " elements");
    }
    in_scope_ += static_cast<std::size_t>(namespace_count);
    if (in_scope_ > kMaxXmlNamespacesInScope) {
      return fail("more than " + std::to_string(kMaxXmlNamespacesInScope) +
                  " namespace declarations are in scope");
    }
    if (!names_.add_tag(local, prefix, attribute_count, attributes)) {
      return fail("the document has more than " + std::to_string(kMaxXmlDistinctNames) +
                  " distinct element and attribute names");
    }
    const auto name = element_name(local, prefix, uri);
    if (!name) return;
    Element& element = open_.empty() ? root_.emplace(std::move(*name))
                                     : open_.back().element->add_child(std::move(*name));
    open_.push_back({&element, {}, static_cast<std::size_t>(namespace_count)});
    add_declarations(element, namespace_count, namespaces);
    add_attributes(element, attribute_count, attributes);
  }

  void end_element() {
    if (failed() || open_.empty()) return;
    Open& closing = open_.back();
    if (!only_white_space(closing.text)) closing.element->set_text(std::move(closing.text));
    in_scope_ -= closing.declarations;
    open_.pop_back();
  }

  void characters(const xmlChar* bytes, int length) {
    if (failed() || open_.empty() || length <= 0) return;
    std::string& text = open_.back().text;
    if (text.size() + static_cast<std::size_t>(length) > kMaxXmlValueBytes) {
      return fail("the content of an element is longer than " + value_limit());
    }
    text.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
  }

  void refuse_doctype() { fail("a document type declaration (DOCTYPE) is not accepted"); }

  // Diagnostics of the XML library, which would otherwise go to standard error.
  void library_error(const xmlError& error) {
    if (error.level < XML_ERR_ERROR) return;
    if (!failure_) {
      std::string reason = error.message == nullptr ? "" : error.message;
      while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
      // An encoding error names the bytes at fault on a second line.
      std::replace(reason.begin(), reason.end(), '\n', ' ');
      if (reason.empty()) reason = "not a well-formed XML document";
      failure_ = Failure{error.line, error.int2, std::move(reason)};
    } else if (failure_->line == 0 && error.line > 0) {
      // An encoding error comes without a position; the parser's next one has it.
      failure_->line = error.line;
      failure_->column = error.int2;
    }
  }

  bool failed() const { return failure_.has_value(); }
  const std::optional<Failure>& failure() const { return failure_; }
  std::optional<Element>& root() { return root_; }

 private:
  struct Open {
    Element* element;
    std::string text;
    std::size_t declarations;
  };

  void fail(std::string reason) {
    if (failure_) return;
    const xmlParserInput* input = parser_.input;
    failure_ = Failure{input != nullptr ? input->line : 0, input != nullptr ? input->col : 0,
                       std::move(reason)};
    xmlStopParser(&parser_);
  }

  std::string value_limit() const {
    return std::to_string(kMaxXmlValueBytes / (1024 * 1024)) + " MiB";
  }

  // The prefix the tree gives to names of namespace `uri`, written in the
  // text with prefix `own`; nullopt (after failing) for an undeclared prefix.
  std::optional<std::string_view> tree_prefix(const xmlChar* own, const xmlChar* uri,
                                              std::string_view local) {
    if (uri == nullptr) {
      if (own == nullptr) return std::string_view{};
      fail("the prefix \"" + std::string(text_of(own)) + "\" of \"" + joined(text_of(own), local) +
           "\" is not declared");
      return std::nullopt;
    }
    if (const KnownNamespace* known = namespace_by_uri(text_of(uri))) {
      if (!same_cfdi_version(*known)) return std::nullopt;
      return known->prefix;
    }
    return text_of(own);
  }

  // The CFDI namespaces of 3.3 and 4.0 share the tree's prefix "cfdi", so a
  // text that uses both would read as one CFDI: it is refused.
  bool same_cfdi_version(const KnownNamespace& known) {
    if (known.prefix != "cfdi") return true;
    if (cfdi_uri_.empty()) {
      cfdi_uri_ = known.uri;
      return true;
    }
    if (cfdi_uri_ == known.uri) return true;
    fail("the document uses both CFDI namespaces, " + std::string(cfdi_uri_) + " and " +
         std::string(known.uri) + "; a CFDI is in one of them");
    return false;
  }

  std::optional<std::string> element_name(const xmlChar* local, const xmlChar* prefix,
                                          const xmlChar* uri) {
    const auto tree = tree_prefix(prefix, uri, text_of(local));
    if (!tree) return std::nullopt;
    return joined(*tree, text_of(local));
  }

  // Declarations become attributes named with the tree's prefix. A prefix
  // the library reserves for a namespace it knows may not name another one:
  // otherwise a foreign element would read as, say, a CFDI element.
  void add_declarations(Element& element, int count, const xmlChar** namespaces) {
    for (int i = 0; i < count && !failed(); ++i) {
      const std::string_view own = text_of(namespaces[2 * i]);
      const std::string_view uri = text_of(namespaces[2 * i + 1]);
      if (const KnownNamespace* known = namespace_by_uri(uri)) {
        if (!same_cfdi_version(*known)) return;
        // Two prefixes for one known namespace become one declaration.
        std::string name = joined("xmlns", known->prefix);
        if (element.attribute(name) == nullptr) {
          element.append_new_attribute(std::move(name), std::string(uri));
        }
        continue;
      }
      if (!own.empty() && is_reserved_prefix(own)) {
        return fail("the prefix \"" + std::string(own) + "\" is bound to \"" + std::string(uri) +
                    "\"; it is reserved for " + reserved_for(own));
      }
      // The parser refuses a prefix declared twice on one element.
      element.append_new_attribute(own.empty() ? std::string("xmlns") : joined("xmlns", own),
                                   std::string(uri));
    }
  }

  // libxml2 hands each attribute as five pointers: local name, prefix,
  // namespace, and the value's start and end.
  void add_attributes(Element& element, int count, const xmlChar** attributes) {
    for (int i = 0; i < count && !failed(); ++i) {
      const xmlChar** a = attributes + 5 * i;
      const auto prefix = tree_prefix(a[1], a[2], text_of(a[0]));
      if (!prefix) return;
      const auto length = static_cast<std::size_t>(a[4] - a[3]);
      if (length > kMaxXmlValueBytes) {
        return fail("the value of attribute \"" + std::string(text_of(a[0])) +
                    "\" is longer than " + value_limit());
      }
      // Unique: the parser refuses two attributes of one namespace and local
      // name, and distinct namespaces never share a prefix in the tree.
      element.append_new_attribute(joined(*prefix, text_of(a[0])),
                                   std::string(reinterpret_cast<const char*>(a[3]), length));
    }
  }

  // The namespaces a reserved prefix stands for, in either CFDI version.
  static std::string reserved_for(std::string_view prefix) {
    std::string uris;
    for (const CfdiVersion version : {CfdiVersion::k33, CfdiVersion::k40}) {
      const KnownNamespace* known = namespace_by_prefix(version, prefix);
      if (known == nullptr || uris.find(known->uri) != std::string::npos) continue;
      if (!uris.empty()) uris += " and ";
      uris += known->uri;
    }
    return uris;
  }

  xmlParserCtxt& parser_;
  std::optional<Element> root_;
  std::vector<Open> open_;
  std::size_t elements_ = 0;
  std::size_t in_scope_ = 0;
  DistinctNames names_;
  std::optional<Failure> failure_;
  std::string_view cfdi_uri_;  // the CFDI namespace the text uses, once met
};

TreeBuilder& builder_of(void* context) {
  return *static_cast<TreeBuilder*>(static_cast<xmlParserCtxt*>(context)->_private);
}

void on_start_element(void* context, const xmlChar* local, const xmlChar* prefix,
                      const xmlChar* uri, int namespace_count, const xmlChar** namespaces,
                      int attribute_count, int /*defaulted*/, const xmlChar** attributes) {
  builder_of(context).start_element(local, prefix, uri, namespace_count, namespaces,
                                    attribute_count, attributes);
}

void on_end_element(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  builder_of(context).end_element();
}

void on_characters(void* context, const xmlChar* bytes, int length) {
  builder_of(context).characters(bytes, length);
}

// Called at "<!DOCTYPE"; stops the parser before any declaration of the
// internal subset is read.
void on_doctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  builder_of(context).refuse_doctype();
}

void on_error(void* context, xmlErrorPtr error) {
  if (context != nullptr && error != nullptr) builder_of(context).library_error(*error);
}

xmlSAXHandler tree_building_events() {
  xmlSAXHandler events{};
  events.initialized = XML_SAX2_MAGIC;
  events.startElementNs = on_start_element;
  events.endElementNs = on_end_element;
  events.characters = on_characters;
  events.ignorableWhitespace = on_characters;
  events.cdataBlock = on_characters;
  events.internalSubset = on_doctype;
  events.serror = on_error;
  return events;
}

// Routes the diagnostics the XML library raises without a parser (an
// encoding conversion that fails, for one) to the parser's handler for the
// lifetime of the guard, on this thread.
class ErrorRouting {
 public:
  explicit ErrorRouting(xmlParserCtxt* parser)
      : saved_handler_(xmlStructuredError), saved_context_(xmlStructuredErrorContext) {
    xmlSetStructuredErrorFunc(parser, on_error);
  }
  ~ErrorRouting() { xmlSetStructuredErrorFunc(saved_context_, saved_handler_); }
  ErrorRouting(const ErrorRouting&) = delete;
  ErrorRouting& operator=(const ErrorRouting&) = delete;

 private:
  xmlStructuredErrorFunc saved_handler_;
  void* saved_context_;
};

struct ParserDeleter {
  void operator()(xmlParserCtxt* p) const { xmlFreeParserCtxt(p); }
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
  guard_xml_input(text);
  std::unique_ptr<xmlParserCtxt, ParserDeleter> parser(xmlNewParserCtxt());
  if (!parser) throw XmlParseError(0, 0, "out of memory creating the XML parser");
  *parser->sax = tree_building_events();
  TreeBuilder builder(*parser);
  parser->_private = &builder;

  // NOENT hands attribute values over with "&amp;" and character references
  // replaced, as the tree needs them; no other entity can exist, since a
  // document type declaration is refused and no entity lookup is installed.
  // No DTDLOAD/DTDATTR, no HUGE (the parser keeps its own limits on names).
  constexpr int kOptions =
      XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  {
    ErrorRouting routing(parser.get());
    xmlFreeDoc(xmlCtxtReadMemory(parser.get(), text.data(), static_cast<int>(text.size()), nullptr,
                                 nullptr, kOptions));
  }
  if (const auto& failure = builder.failure()) {
    throw XmlParseError(failure->line, failure->column, failure->reason);
  }
  if (parser->wellFormed == 0) throw XmlParseError(0, 0, "not a well-formed XML document");
  if (!builder.root()) throw XmlParseError(0, 0, "the document has no root element");
  return std::move(*builder.root());
}

}  // namespace drovanexis
