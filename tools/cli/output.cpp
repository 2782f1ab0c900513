#include "tools/cli/output.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "portable/cp1252.h"

namespace cli {

namespace {

// The length of the valid UTF-8 sequence that starts at `at`, or 0 when the
// byte there starts none.
std::size_t utf8_length_at(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (at + length > text.size()) return 0;
  return portable::is_valid_utf8(text.substr(at, length)) ? length : 0;
}

// C0 controls, DEL and the C1 controls (U+0080 to U+009F).
bool is_control(std::string_view character) {
  const auto first = static_cast<unsigned char>(character[0]);
  if (character.size() == 1) return first < 0x20 || first == 0x7F;
  return character.size() == 2 && first == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

unsigned code_of_control(std::string_view character) {
  return character.size() == 1 ? static_cast<unsigned char>(character[0])
                               : static_cast<unsigned char>(character[1]);
}

std::string hex_escape(const char* format, unsigned value) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, format, value);
  return escaped;
}

}  // namespace

std::string json_string(std::string_view text) {
  std::string out = "\"";
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8_length_at(text, at);
    if (length == 0) {
      out += hex_escape("\\\\x%02X", static_cast<unsigned char>(text[at]));
      ++at;
      continue;
    }
    const std::string_view character = text.substr(at, length);
    at += length;
    switch (character[0]) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\n': out += "\\n"; continue;
      case '\r': out += "\\r"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    out += is_control(character) ? hex_escape("\\u%04x", code_of_control(character))
                                 : std::string(character);
  }
  return out + "\"";
}

std::string shown(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8_length_at(text, at);
    const std::string_view character = text.substr(at, std::max<std::size_t>(length, 1));
    at += character.size();
    if (length == 0 || is_control(character)) {
      for (const char byte : character)
        out += hex_escape("\\x%02X", static_cast<unsigned char>(byte));
    } else {
      out += character;
    }
  }
  return out;
}

JsonObject& JsonObject::text(std::string_view name, std::string_view value) {
  fields_.emplace_back(name, json_string(value));
  return *this;
}

JsonObject& JsonObject::number(std::string_view name, std::int64_t value) {
  fields_.emplace_back(name, std::to_string(value));
  return *this;
}

JsonObject& JsonObject::boolean(std::string_view name, bool value) {
  fields_.emplace_back(name, value ? "true" : "false");
  return *this;
}

JsonObject& JsonObject::raw(std::string_view name, std::string_view json) {
  fields_.emplace_back(name, json);
  return *this;
}

std::string JsonObject::str() const {
  std::string out = "{";
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (i > 0) out += ",";
    out += json_string(fields_[i].first) + ":" + fields_[i].second;
  }
  return out + "}";
}

std::string json_array(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ",";
    out += items[i];
  }
  return out + "]";
}

bool stderr_is_terminal() { return isatty(STDERR_FILENO) == 1; }

ProgressBar::ProgressBar(std::size_t total, bool enabled)
    : total_(total),
      enabled_(enabled),
      start_(std::chrono::steady_clock::now()),
      last_draw_(start_) {}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::update(std::size_t done) {
  if (!enabled_ || total_ == 0) return;
  const auto now = std::chrono::steady_clock::now();
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  // Short work shows nothing; a long one is redrawn a few times a second.
  if (elapsed < 1.0 || now - last_draw_ < std::chrono::milliseconds(200)) return;
  last_draw_ = now;
  const double rate = static_cast<double>(done) / elapsed;
  const double left = rate > 0 ? static_cast<double>(total_ - done) / rate : 0;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(kWidth * done / total_);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kWidth, '.');
  std::fprintf(stderr, "\r[%s] %zu/%zu  %.0f/s  %d:%02d left ", bar.c_str(), done, total_, rate,
               static_cast<int>(left) / 60, static_cast<int>(left) % 60);
  std::fflush(stderr);
  shown_ = true;
}

void ProgressBar::finish() {
  if (!shown_) return;
  std::fprintf(stderr, "\r%*s\r", 70, "");
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace cli
