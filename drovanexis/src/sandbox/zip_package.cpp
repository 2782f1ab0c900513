#include "sandbox/zip_package.h"

#include <zip.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace drovanexis::sandbox {

namespace {

[[noreturn]] void zip_failure(const std::string& what, zip_error_t* error) {
  const std::string text = what + ": " + zip_error_strerror(error);
  zip_error_fini(error);
  throw std::runtime_error(text);
}

struct SourceDeleter {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};

// Reads back the whole content of a buffer source that an archive was
// written to.
std::string read_source(zip_source_t* source) {
  if (zip_source_open(source) < 0) zip_failure("ZIP", zip_source_error(source));
  std::string bytes;
  char chunk[65536];
  zip_int64_t got = 0;
  while ((got = zip_source_read(source, chunk, sizeof chunk)) > 0) {
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  zip_source_close(source);
  if (got < 0) zip_failure("ZIP", zip_source_error(source));
  return bytes;
}

}  // namespace

std::string make_zip(const std::vector<PackageFile>& files) {
  zip_error_t error;
  zip_error_init(&error);
  std::unique_ptr<zip_source_t, SourceDeleter> buffer(
      zip_source_buffer_create(nullptr, 0, 0, &error));
  if (!buffer) zip_failure("ZIP", &error);
  zip_t* archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
  if (archive == nullptr) zip_failure("ZIP", &error);
  // The archive releases its source when closed; the buffer must outlive it
  // so that the written bytes can be read back.
  zip_source_keep(buffer.get());
  for (const auto& file : files) {
    zip_source_t* data = zip_source_buffer(archive, file.bytes.data(), file.bytes.size(), 0);
    if (data == nullptr ||
        zip_file_add(archive, file.name.c_str(), data, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
      if (data != nullptr) zip_source_free(data);
      const std::string message = zip_strerror(archive);
      zip_discard(archive);
      throw std::runtime_error("ZIP: " + file.name + ": " + message);
    }
  }
  if (zip_close(archive) < 0) {
    const std::string message = zip_strerror(archive);
    zip_discard(archive);
    throw std::runtime_error("ZIP: " + message);
  }
  zip_error_fini(&error);
  return read_source(buffer.get());
}

}  // namespace drovanexis::sandbox
