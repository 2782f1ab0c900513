#include "app/issuing.h"

#include "app/globals.h"
#include "app/pages.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

// Releases the document exactly once: release() on the normal path, the
// destructor when an exception (a cancelled key wait, a missing entry) leaves
// the sequence early. A failure to release while unwinding is not allowed to
// replace the error that is already on its way.
class OpenDocument {
 public:
  explicit OpenDocument(std::int32_t handle) : handle_(handle) {}
  ~OpenDocument() {
    if (released_) return;
    try {
      DROVANEXIS_FREE(handle_);
    } catch (...) {
    }
  }
  OpenDocument(const OpenDocument&) = delete;
  OpenDocument& operator=(const OpenDocument&) = delete;

  std::int32_t handle() const { return handle_; }
  void release() {
    released_ = true;
    DROVANEXIS_FREE(handle_);
  }

 private:
  std::int32_t handle_;
  bool released_ = false;
};

}  // namespace

void issue_document(const ScenarioTexts& texts, const DocumentBuilder& build,
                    std::source_location caller) {
  console::RoutineFrame::at(caller);
  show_wait_line(texts.wait_line);
  OpenDocument document(DROVANEXIS_NEW("3.3"));
  build(document.handle());
  // The building calls, made in the operation's own module, moved its frame
  // to their lines; the operation is back at its call of this sequence.
  console::RoutineFrame::at(caller);
  nError = DROVANEXIS_PROCESADOCUMENTO(document.handle(), texts.certificate_file, texts.key_file,
                                       kSampleKeyPassword, texts.output_file);
  if (nError == 0) {
    show_success_sequence(document.handle(), texts.page1_title, texts.output_file);
  } else {
    show_error_page();
  }
  document.release();
  con().clear();
  con().set_position(0, 0);
}

}  // namespace app
