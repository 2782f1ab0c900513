// The named results of drovanexis.h are the numbers the library returns: each
// public constant is checked here against the constant the code uses.
#include "cbb/cbb_generator.h"
#include "document/document.h"
#include "drovanexis.h"
#include "issue/provider_codes.h"
#include "sandbox/acknowledgement.h"
#include "sandbox/cancellation.h"
#include "sandbox/status_query.h"

namespace drovanexis::api {
namespace {

namespace sb = sandbox;

static_assert(DROVANEXIS_VALUE_PROVIDER == kResultValueCount);

static_assert(DROVANEXIS_ERROR_CREDENTIALS == kCodeBadCredentials);
static_assert(DROVANEXIS_ERROR_NO_STAMPS_LEFT == kCodeNoStampsLeft);
static_assert(DROVANEXIS_ERROR_STATE_UNAVAILABLE == kCodeStateUnavailable);
static_assert(DROVANEXIS_ERROR_CERTIFICATE == kCodeCertificateUnreadable);
static_assert(DROVANEXIS_ERROR_KEY == kCodeKeyUnreadable);
static_assert(DROVANEXIS_ERROR_KEY_PASSWORD == kCodeWrongKeyPassword);
static_assert(DROVANEXIS_ERROR_KEY_MISMATCH == kCodeKeyDoesNotMatch);
static_assert(DROVANEXIS_ERROR_OUTPUT == kCodeOutputNotWritten);
static_assert(DROVANEXIS_ERROR_NO_DOCUMENT == kCodeNoDocument);
static_assert(DROVANEXIS_ERROR_INTERNAL == kCodeInternalError);

static_assert(DROVANEXIS_CANCEL_DONE == sb::kCancelledDirectly);
static_assert(DROVANEXIS_CANCEL_IN_PROCESS == sb::kCancellationInProcess);
static_assert(DROVANEXIS_CANCEL_NOT_CANCELLABLE == sb::kNotCancellable);
static_assert(DROVANEXIS_CANCEL_NOT_FOUND == sb::kCancellationNotFound);
static_assert(DROVANEXIS_CANCEL_INTERNAL_ERROR == sb::kCancellationInternalError);

static_assert(DROVANEXIS_STATUS_CANCELLABLE == sb::kInForceCancellable);
static_assert(DROVANEXIS_STATUS_NOT_CANCELLABLE == sb::kInForceNotCancellable);
static_assert(DROVANEXIS_STATUS_IN_PROCESS == sb::kCancellationPending);
static_assert(DROVANEXIS_STATUS_CANCELLED == sb::kPreviouslyCancelled);
static_assert(DROVANEXIS_STATUS_NOT_FOUND == sb::kStatusNotFound);
static_assert(DROVANEXIS_STATUS_INTERNAL_ERROR == sb::kStatusInternalError);

static_assert(DROVANEXIS_ACK_OBTAINED == sb::kAcknowledgementObtained);
static_assert(DROVANEXIS_ACK_NONE == sb::kAcknowledgementUnavailable);
static_assert(DROVANEXIS_ACK_ERROR == sb::kAcknowledgementError);

static_assert(DROVANEXIS_CBB_WRITTEN == cbb::kCbbGenerated);
static_assert(DROVANEXIS_CBB_BAD_ARGUMENT == cbb::kCbbBadArgument);
static_assert(DROVANEXIS_CBB_TEXT_TOO_LONG == cbb::kCbbNotEncodable);
static_assert(DROVANEXIS_CBB_NOT_WRITTEN == cbb::kCbbNotWritten);

}  // namespace
}  // namespace drovanexis::api
