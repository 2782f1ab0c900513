// Option 6: stamps the complete CFDI that another tool wrote to
// "ejemploexterno.xml", sealed with the certificate and key of CACX7605101P8.
// The file's text goes to the library unchanged; a missing file, one that is
// not a regular file and one larger than the library takes (32 MiB, refused
// from its size before it is read) give an empty text, which is passed all
// the same.

#include "app/issuing.h"
#include "app/operations.h"
#include "app/pages_texts.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"
#include "console/read_file.h"

namespace app {
namespace {

// The largest document the library reads; a larger file is not read at all.
constexpr std::size_t kMaxExternalXmlBytes = 32u * 1024u * 1024u;

const ScenarioTexts kTexts{
    " Procesando XML Creado Externamente, Por favor espere ... ",
    title_externo,
    "CSD_CACX7605101P8.cer",
    "CSD_CACX7605101P8.key",
    "CFDI33Externo.xml",
};

void set_external_xml(std::int32_t h) {
  DROVANEXIS_SETVELMORANETINFO(h, "demo_valdorin", "pelunarq");
  DROVANEXIS_SETCOMPLETEXML_CFDI33(h,
                                   console::read_file("ejemploexterno.xml", kMaxExternalXmlBytes));
}

}  // namespace

void VXMLEXTERNO() {
  console::RoutineFrame frame("VXMLEXTERNO");
  issue_document(kTexts, set_external_xml);
}

}  // namespace app
