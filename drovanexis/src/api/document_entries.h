#pragma once

#include <span>

#include "document/entry_building.h"

namespace drovanexis::api {

// Every document-building entry of api/document_entries.inc, in its order.
std::span<const DocumentEntrySpec> document_entries();

}  // namespace drovanexis::api
