#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "document/document.h"

namespace drovanexis::services {

// The file of a document in progress (Drovanexis_Save, Drovanexis_Load). A
// text file, one "name=value" line each, every value in Base64 so that any
// byte survives:
//   DrovanexisDocumento 1          the first line, always
//   user= password=                the stamping account (SetVelmoranetInfo)
//   second_user= second_password=  the second account (SetTolviqueInfo)
//   log_file=                      the log file named with SetLogFile
//   value.1= ... value.18=         the result values
//   complete_xml=                  the external XML, only when one was set
//   part.N.kind= .entry= .path= .text=
//                                  the complements and addenda handed in as
//                                  XML or text, N from 1 in call order; kind is
//                                  complemento, addenda or addenda_texto
//   built=                         present when the tree was built through the
//                                  entries (no declarations of its own): read
//                                  back, it is written as built again
//   tree=                          the document's tree as XML (UTF-8)
//   end=                           the last line: a file cut short is refused
// The passwords are kept as given: the file is as private as a key file.

// A file that is missing, damaged or not a document file.
class DocumentFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string document_file_text(const Document& document);
// Throws DocumentFileError.
Document document_from_file_text(std::string_view text);

}  // namespace drovanexis::services
