#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "document/document.h"

namespace drovanexis {

// The documents that exist between Drovanexis_New and Drovanexis_Free, keyed
// by handle. Handles are positive numbers from a counter and are never reused
// while the process runs (until the counter wraps), so a stale handle cannot
// reach a newer document. This registry is the library's one process-wide
// state; a mutex guards it.
class DocumentRegistry {
 public:
  static DocumentRegistry& instance();

  // Registers a new document and returns its handle.
  std::int32_t create(std::string version);
  // The document of a handle, or nullptr. The pointer is valid until the
  // handle is released; callers on other threads hold mutex() meanwhile.
  Document* find(std::int32_t handle);
  // Forgets the document; false when the handle was not registered.
  bool release(std::int32_t handle);
  std::size_t size();

  // Runs fn(Document&) under the registry's lock; false for unknown handles.
  template <typename Fn>
  bool with_document(std::int32_t handle, Fn&& fn) {
    std::lock_guard lock(mutex_);
    Document* document = find(handle);
    if (document == nullptr) return false;
    fn(*document);
    return true;
  }

  std::recursive_mutex& mutex() { return mutex_; }

 private:
  DocumentRegistry() = default;
  std::int32_t next_free_handle();

  std::recursive_mutex mutex_;
  std::unordered_map<std::int32_t, std::unique_ptr<Document>> documents_;
  std::int32_t next_handle_ = 1;
};

}  // namespace drovanexis
