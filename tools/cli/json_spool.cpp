#include "tools/cli/json_spool.h"

#include <stdexcept>

namespace cli {

JsonSpool::JsonSpool() : file_(std::tmpfile()) {}

void JsonSpool::add(std::string_view json) {
  if (!file_) {
    if (!empty_) in_memory_ += ',';
    in_memory_ += json;
    empty_ = false;
    return;
  }
  if ((!empty_ && std::fputc(',', file_.get()) == EOF) ||
      std::fwrite(json.data(), 1, json.size(), file_.get()) != json.size()) {
    failed_ = true;
  }
  empty_ = false;
}

void JsonSpool::write_array(std::ostream& out) {
  out << '[';
  if (!file_) {
    out << in_memory_;
  } else {
    if (failed_ || std::fflush(file_.get()) != 0 || std::fseek(file_.get(), 0, SEEK_SET) != 0) {
      throw std::runtime_error("the documents' report could not be kept in a temporary file");
    }
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file_.get())) > 0) {
      out.write(buffer, static_cast<std::streamsize>(n));
    }
    if (std::ferror(file_.get())) {
      throw std::runtime_error("the documents' report could not be read back");
    }
  }
  out << ']';
}

}  // namespace cli
