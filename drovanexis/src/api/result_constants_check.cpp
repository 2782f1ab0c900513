// The named results of drovanexis.h are the numbers the library returns: each
// public constant is checked here against the constant the code uses.
#include "cbb/cbb_generator.h"
#include "document/document.h"
#include "drovanexis.h"
#include "issue/cancellation_services.h"
#include "issue/provider_codes.h"
#include "services/further_services.h"

namespace drovanexis::api {
namespace {

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

static_assert(DROVANEXIS_CANCEL_DONE == kCancelledDirectly);
static_assert(DROVANEXIS_CANCEL_IN_PROCESS == kCancellationInProcess);
static_assert(DROVANEXIS_CANCEL_NOT_CANCELLABLE == kNotCancellable);
static_assert(DROVANEXIS_CANCEL_NOT_FOUND == kCancellationNotFound);
static_assert(DROVANEXIS_CANCEL_INTERNAL_ERROR == kCancellationInternalError);

static_assert(DROVANEXIS_STATUS_CANCELLABLE == kInForceCancellable);
static_assert(DROVANEXIS_STATUS_NOT_CANCELLABLE == kInForceNotCancellable);
static_assert(DROVANEXIS_STATUS_IN_PROCESS == kCancellationPending);
static_assert(DROVANEXIS_STATUS_CANCELLED == kPreviouslyCancelled);
static_assert(DROVANEXIS_STATUS_NOT_FOUND == kStatusNotFound);
static_assert(DROVANEXIS_STATUS_INTERNAL_ERROR == kStatusInternalError);

static_assert(DROVANEXIS_ACK_OBTAINED == kAcknowledgementObtained);
static_assert(DROVANEXIS_ACK_NONE == kAcknowledgementUnavailable);
static_assert(DROVANEXIS_ACK_ERROR == kAcknowledgementError);

static_assert(DROVANEXIS_CBB_WRITTEN == cbb::kCbbGenerated);
static_assert(DROVANEXIS_CBB_BAD_ARGUMENT == cbb::kCbbBadArgument);
static_assert(DROVANEXIS_CBB_TEXT_TOO_LONG == cbb::kCbbNotEncodable);
static_assert(DROVANEXIS_CBB_NOT_WRITTEN == cbb::kCbbNotWritten);

namespace sv = services;

static_assert(DROVANEXIS_PAIR_MATCHES == sv::kPairMatches);
static_assert(DROVANEXIS_PAIR_DIFFERS == sv::kPairDiffers);
static_assert(DROVANEXIS_PAIR_CERTIFICATE_MISSING == sv::kPairCertificateMissing);
static_assert(DROVANEXIS_PAIR_KEY_MISSING == sv::kPairKeyMissing);
static_assert(DROVANEXIS_PAIR_WRONG_PASSWORD == sv::kPairWrongPassword);
static_assert(DROVANEXIS_PAIR_NOT_A_CERTIFICATE == sv::kPairCertificateDamaged);
static_assert(DROVANEXIS_PAIR_NOT_A_KEY == sv::kPairKeyDamaged);

static_assert(DROVANEXIS_CHECK_FILE_UNREADABLE == sv::kCheckFileUnreadable);
static_assert(DROVANEXIS_CHECK_STAMP_SEAL_INVALID == sv::kCheckStampSealInvalid);

static_assert(DROVANEXIS_SERVICE_DONE == sv::kServiceDone);
static_assert(DROVANEXIS_SERVICE_BAD_ARGUMENT == sv::kServiceBadArgument);
static_assert(DROVANEXIS_SERVICE_CREDENTIALS == sv::kServiceCredentials);
static_assert(DROVANEXIS_SERVICE_INTERNAL_ERROR == sv::kServiceInternalError);
static_assert(DROVANEXIS_SERVICE_UNKNOWN_REQUEST == sv::kServiceUnknownRequest);

static_assert(DROVANEXIS_DOWNLOAD_ACCEPTED == kDownloadAccepted);
static_assert(DROVANEXIS_DOWNLOAD_IN_PROCESS == kDownloadInProcess);
static_assert(DROVANEXIS_DOWNLOAD_FINISHED == kDownloadFinished);
static_assert(DROVANEXIS_DOWNLOAD_ERROR == kDownloadError);
static_assert(DROVANEXIS_DOWNLOAD_REJECTED == kDownloadRejected);
static_assert(DROVANEXIS_DOWNLOAD_EXPIRED == kDownloadExpired);

}  // namespace
}  // namespace drovanexis::api
