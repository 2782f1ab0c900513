#include "tools/cli/document_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "portable/file_io.h"
#include "xml/xml_reader.h"

namespace cli {

std::string read_whole_file(const std::filesystem::path& file) {
  // One open, one fstat and reads straight into a string of the file's size:
  // a batch reads every input once, and a stream buffer copied the bytes
  // twice more.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw UnreadableFile(file.string() + ": cannot open: " + std::strerror(errno));
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    const std::string reason = std::strerror(errno);
    ::close(fd);
    throw UnreadableFile(file.string() + ": cannot open: " + reason);
  }
  if (S_ISDIR(status.st_mode)) {
    ::close(fd);
    throw UnreadableFile(file.string() + ": is a folder, not a file");
  }
  std::string bytes;
  const int error = portable::read_to_end(
      fd, bytes, S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) : 0);
  ::close(fd);
  if (error != 0) throw UnreadableFile(file.string() + ": read failed");
  return bytes;
}

drovanexis::Element read_xml_file(const std::filesystem::path& file) {
  return drovanexis::parse_xml(read_whole_file(file));
}

const drovanexis::Element* find_stamp(const drovanexis::Element& comprobante) {
  const drovanexis::Element* complemento = comprobante.child("cfdi:Complemento");
  return complemento ? complemento->child("tfd:TimbreFiscalDigital") : nullptr;
}

std::string describe_parse_error(const std::filesystem::path& file, const std::exception& error) {
  if (const auto* parse = dynamic_cast<const drovanexis::XmlParseError*>(&error)) {
    if (parse->line() > 0) {
      return file.string() + ":" + std::to_string(parse->line()) + ":" +
             std::to_string(parse->column()) +
             ": not a well-formed XML document: " + parse->reason();
    }
    return file.string() + ": not an acceptable XML document: " + parse->reason();
  }
  return file.string() + ": " + error.what();
}

}  // namespace cli
