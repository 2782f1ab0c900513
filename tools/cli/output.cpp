#include "tools/cli/output.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace cli {

std::string json_string(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
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
