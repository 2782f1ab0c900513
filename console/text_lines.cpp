#include "console/text_lines.h"

#include <limits>
#include <stdexcept>

namespace console {

std::string_view TextLines::text(std::size_t i) const {
  const Entry& entry = entries_[i];
  if (entry.owned) return owned_[entry.offset];
  return std::string_view(buffer_).substr(entry.offset, entry.length);
}

void TextLines::append_span(std::size_t offset, std::size_t length, bool soft) {
  if (length > std::numeric_limits<std::uint32_t>::max()) {
    // Split lines are at most one window width long.
    throw std::length_error("console::TextLines: line span too long");
  }
  entries_.push_back(Entry{offset, static_cast<std::uint32_t>(length), soft, false});
}

void TextLines::append(std::string text, bool soft) {
  entries_.push_back(Entry{own(std::move(text)), 0, soft, true});
}

void TextLines::insert(std::size_t i, std::string text, bool soft) {
  Entry entry{own(std::move(text)), 0, soft, true};
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), entry);
}

void TextLines::insert_many(std::size_t i, std::vector<std::string> texts) {
  std::vector<Entry> added;
  added.reserve(texts.size());
  for (std::string& text : texts) added.push_back(Entry{own(std::move(text)), 0, false, true});
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), added.begin(), added.end());
}

void TextLines::set_text(std::size_t i, std::string text) {
  Entry& entry = entries_[i];
  if (entry.owned) {
    owned_[entry.offset] = std::move(text);
    return;
  }
  entry.offset = own(std::move(text));
  entry.length = 0;
  entry.owned = true;
}

void TextLines::erase(std::size_t i) { erase(i, 1); }

void TextLines::erase(std::size_t first, std::size_t count) {
  auto begin = entries_.begin() + static_cast<std::ptrdiff_t>(first);
  auto end = begin + static_cast<std::ptrdiff_t>(count);
  for (auto it = begin; it != end; ++it) release(*it);
  entries_.erase(begin, end);
}

std::uint64_t TextLines::own(std::string text) {
  if (!free_owned_.empty()) {
    std::uint64_t slot = free_owned_.back();
    free_owned_.pop_back();
    owned_[slot] = std::move(text);
    return slot;
  }
  owned_.push_back(std::move(text));
  return owned_.size() - 1;
}

void TextLines::release(const Entry& entry) {
  if (!entry.owned) return;
  owned_[entry.offset].clear();
  owned_[entry.offset].shrink_to_fit();
  free_owned_.push_back(entry.offset);
}

}  // namespace console
