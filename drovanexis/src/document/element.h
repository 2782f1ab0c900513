#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace drovanexis {

// One attribute of an element; the value is UTF-8 text.
struct Attribute {
  std::string name;
  std::string value;
};

// A node of a CFDI document: qualified name, attributes in document order and
// child elements in document order. Names always carry the canonical prefix of
// their namespace ("cfdi:", "pago10:", "nomina12:", "cartaporte:",
// "cartaporte20:", "tfd:"), whatever prefix an external text used, so that
// every reader of the tree can match names as plain text.
class Element {
 public:
  explicit Element(std::string qualified_name) : name_(std::move(qualified_name)) {}

  const std::string& name() const { return name_; }
  std::string_view prefix() const;
  std::string_view local_name() const;

  const std::vector<Attribute>& attributes() const { return attributes_; }
  // The attribute's value, or nullptr when the element does not carry it.
  const std::string* attribute(std::string_view name) const;
  // Replaces the value of an existing attribute in place, or appends it.
  void set_attribute(std::string_view name, std::string value);
  // Inserts the attribute at `position` (clamped to the end) unless it exists,
  // in which case only its value changes.
  void insert_attribute(std::size_t position, std::string_view name, std::string value);
  bool remove_attribute(std::string_view name);
  // Appends without looking for an attribute of the same name, for a caller
  // that knows there is none (the XML reader: the parser refuses duplicates),
  // so that an element of many attributes is built in linear time.
  void append_new_attribute(std::string name, std::string value) {
    attributes_.push_back(Attribute{std::move(name), std::move(value)});
  }

  const std::vector<std::unique_ptr<Element>>& children() const { return children_; }
  Element& add_child(std::string qualified_name);
  Element& insert_child(std::size_t position, std::string qualified_name);
  // Moves a whole subtree in as the last child.
  Element& append_child(Element child);
  // Removes every child and the character content.
  void clear_content();
  // The first child with that qualified name, or nullptr.
  Element* child(std::string_view qualified_name);
  const Element* child(std::string_view qualified_name) const;
  bool remove_child(const Element& child);

  // Character content; CFDI elements carry none, but an Addenda may.
  const std::string& text() const { return text_; }
  void set_text(std::string text) { text_ = std::move(text); }

 private:
  std::string name_;
  std::vector<Attribute> attributes_;
  std::vector<std::unique_ptr<Element>> children_;
  std::string text_;
};

}  // namespace drovanexis
