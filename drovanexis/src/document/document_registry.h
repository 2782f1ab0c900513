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
// state. Its lock is held only to find, add or remove a document; each
// document has a lock of its own for the calls made on it, so that a slow
// call on one document (processing, with its signatures and disk writes)
// never stalls the calls on another.
class DocumentRegistry {
 public:
  static DocumentRegistry& instance();

  // Registers a new document and returns its handle.
  std::int32_t create(std::string version);
  // The document of a handle, or nullptr. The pointer is valid until the
  // handle is released (for tests and single-threaded callers).
  Document* find(std::int32_t handle);
  // Forgets the document; false when the handle was not registered.
  bool release(std::int32_t handle);
  std::size_t size();

  // Runs fn(Document&) under that document's own lock; false for unknown
  // handles. A document released meanwhile by another thread stays alive
  // until fn returns.
  template <typename Fn>
  bool with_document(std::int32_t handle, Fn&& fn) {
    const std::shared_ptr<Held> held = acquire(handle);
    if (!held) return false;
    std::lock_guard lock(held->mutex);
    fn(held->document);
    return true;
  }

 private:
  // A document with the lock of the calls made on it (recursive, so that an
  // entry may call another on the same document).
  struct Held {
    explicit Held(std::string version) : document(std::move(version)) {}
    std::recursive_mutex mutex;
    Document document;
  };

  DocumentRegistry() = default;
  std::int32_t next_free_handle();
  std::shared_ptr<Held> acquire(std::int32_t handle);

  std::mutex mutex_;
  std::unordered_map<std::int32_t, std::shared_ptr<Held>> documents_;
  std::int32_t next_handle_ = 1;
};

}  // namespace drovanexis
