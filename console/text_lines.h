#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace console {

// The lines of a text being viewed or edited.
//
// A very large text is held as one byte buffer plus one small record per line
// (offset, length, soft flag) so that opening it costs one pass and no
// allocation per line. A line that is edited moves into a string of its own;
// the buffer itself never changes after splitting.
class TextLines {
 public:
  TextLines() = default;

  // Installs the byte buffer that span lines point into.
  void set_buffer(std::string buffer) { buffer_ = std::move(buffer); }

  // The line break of the text the lines came from (CR, LF or CR LF); used
  // to join the lines back into one text.
  std::string_view line_break() const { return line_break_; }
  void set_line_break(std::string_view line_break) { line_break_ = line_break; }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  // Line i counted from 0.
  std::string_view text(std::size_t i) const;
  bool soft(std::size_t i) const { return entries_[i].soft; }
  void set_soft(std::size_t i, bool soft) { entries_[i].soft = soft; }

  // Adds a line made of buffer bytes [offset, offset + length).
  void append_span(std::size_t offset, std::size_t length, bool soft);
  void append(std::string text, bool soft = false);
  void insert(std::size_t i, std::string text, bool soft = false);
  // Inserts hard lines before line i in one move.
  void insert_many(std::size_t i, std::vector<std::string> texts);
  void set_text(std::size_t i, std::string text);
  void erase(std::size_t i);
  void erase(std::size_t first, std::size_t count);

 private:
  struct Entry {
    std::uint64_t offset = 0;  // into buffer_, or index into owned_
    std::uint32_t length = 0;  // buffer lines only
    bool soft = false;
    bool owned = false;
  };

  std::uint64_t own(std::string text);
  void release(const Entry& entry);

  std::string buffer_;
  std::string line_break_ = "\r\n";
  std::vector<Entry> entries_;
  std::vector<std::string> owned_;
  std::vector<std::uint64_t> free_owned_;
};

}  // namespace console
