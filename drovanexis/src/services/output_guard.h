#pragma once

#include <initializer_list>
#include <string_view>

namespace drovanexis::services {

// Refuses, before anything is written, an output file that would destroy
// something the library needs: the provider's state file or its journal
// files, the library's log "Drovanexis.log", or one of the call's own input
// files. Names are Windows-style and compared after resolving them (letter
// case, "." components, links). Throws std::invalid_argument saying which.
void refuse_reserved_output(std::string_view output_file,
                            std::initializer_list<std::string_view> inputs = {});

}  // namespace drovanexis::services
