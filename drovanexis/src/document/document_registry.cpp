#include "document/document_registry.h"

#include <limits>

namespace drovanexis {

DocumentRegistry& DocumentRegistry::instance() {
  static DocumentRegistry registry;
  return registry;
}

std::int32_t DocumentRegistry::next_free_handle() {
  for (;;) {
    const std::int32_t handle = next_handle_;
    next_handle_ = handle == std::numeric_limits<std::int32_t>::max() ? 1 : handle + 1;
    if (!documents_.contains(handle)) return handle;
  }
}

std::int32_t DocumentRegistry::create(std::string version) {
  auto document = std::make_shared<Held>(std::move(version));
  std::lock_guard lock(mutex_);
  const std::int32_t handle = next_free_handle();
  documents_.emplace(handle, std::move(document));
  return handle;
}

std::shared_ptr<DocumentRegistry::Held> DocumentRegistry::acquire(std::int32_t handle) {
  std::lock_guard lock(mutex_);
  const auto it = documents_.find(handle);
  return it == documents_.end() ? nullptr : it->second;
}

Document* DocumentRegistry::find(std::int32_t handle) {
  const auto held = acquire(handle);
  return held ? &held->document : nullptr;
}

bool DocumentRegistry::release(std::int32_t handle) {
  std::shared_ptr<Held> released;
  {
    std::lock_guard lock(mutex_);
    const auto it = documents_.find(handle);
    if (it == documents_.end()) return false;
    released = std::move(it->second);
    documents_.erase(it);
  }
  return true;  // the document is destroyed here, outside the lock, unless a
                // call on it is still running: then when that call ends
}

std::size_t DocumentRegistry::size() {
  std::lock_guard lock(mutex_);
  return documents_.size();
}

}  // namespace drovanexis
