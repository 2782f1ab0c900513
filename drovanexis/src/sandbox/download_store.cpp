#include "sandbox/download_store.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "document/element.h"
#include "sandbox/ledger.h"
#include "sandbox/uuid.h"
#include "sandbox/zip_package.h"
#include "time/central_mexico.h"
#include "time/civil_time.h"
#include "xml/xml_reader.h"

namespace drovanexis::sandbox {

namespace {

struct KindName {
  DownloadKind kind;
  const char* name;
};

constexpr std::array<KindName, 4> kKindNames = {{
    {DownloadKind::kIssuedXml, "EmitidoXML"},
    {DownloadKind::kIssuedMetadata, "EmitidoMetadata"},
    {DownloadKind::kReceivedXml, "RecibidoXML"},
    {DownloadKind::kReceivedMetadata, "RecibidoMetadata"},
}};

const char* kind_name(DownloadKind kind) {
  for (const auto& entry : kKindNames) {
    if (entry.kind == kind) return entry.name;
  }
  return "EmitidoXML";
}

bool is_metadata(std::string_view kind) { return kind.ends_with("Metadata"); }

std::string upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

// A period bound as the ledger's Fecha texts compare: a bare date takes the
// first or the last second of its day.
std::string period_bound(std::string_view text, bool end) {
  std::string bound(text);
  if (bound.size() == 10) bound += end ? "T23:59:59" : "T00:00:00";
  if (!parse_date_time(bound)) {
    throw DownloadRefusal("301", "la fecha \"" + std::string(text) +
                                     "\" no es una fecha válida (aaaa-mm-dd o "
                                     "aaaa-mm-ddThh:mm:ss)");
  }
  return bound;
}

bool looks_like_rfc(std::string_view rfc) {
  if (rfc.size() != 12 && rfc.size() != 13) return false;
  return std::all_of(rfc.begin(), rfc.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '&' || c == static_cast<unsigned char>('\xD1');
  });
}

struct StoredRequest {
  std::string id;  // as stored; callers may give it in any letter case
  std::string rfc;
  std::string kind;
  int state = 0;
  int document_count = 0;
};

std::optional<StoredRequest> find_request(SqliteDb& db, const std::string& id) {
  Statement statement(db,
                      "SELECT id, rfc, kind, state, document_count FROM download_requests "
                      "WHERE id = ? COLLATE NOCASE");
  statement.bind(1, id);
  if (!statement.step()) return std::nullopt;
  return StoredRequest{statement.text(0), statement.text(1), statement.text(2),
                       static_cast<int>(statement.integer(3)),
                       static_cast<int>(statement.integer(4))};
}

void require_owner(const StoredRequest& request, const std::string& rfc, std::string_view what) {
  if (upper(request.rfc) != upper(rfc)) {
    throw DownloadRefusal("300", std::string(what) + " no pertenece al RFC " + rfc);
  }
}

std::string package_id_of(const std::string& request_id) { return upper(request_id) + "_01"; }

std::string attribute_of(const Element* element, std::string_view name) {
  if (element == nullptr) return {};
  const std::string* value = element->attribute(name);
  return value ? *value : std::string();
}

std::string cancellation_time(SqliteDb& db, const std::string& uuid) {
  Statement statement(db,
                      "SELECT issued_at FROM acknowledgements WHERE uuid = ? "
                      "ORDER BY id DESC LIMIT 1");
  statement.bind(1, uuid);
  return statement.step() ? statement.text(0) : std::string();
}

// One metadata line, fields as the SAT's metadata files order them.
std::string metadata_line(SqliteDb& db, const LedgerEntry& entry) {
  const Element root = parse_xml(entry.stamped_xml);
  const Element* complemento = root.child("cfdi:Complemento");
  const Element* timbre =
      complemento != nullptr ? complemento->child("tfd:TimbreFiscalDigital") : nullptr;
  const bool cancelled = entry.status != "Vigente";
  const std::array<std::string, 12> fields = {
      entry.uuid,
      entry.issuer_rfc,
      attribute_of(root.child("cfdi:Emisor"), "Nombre"),
      entry.receiver_rfc,
      attribute_of(root.child("cfdi:Receptor"), "Nombre"),
      attribute_of(timbre, "RfcProvCertif"),
      entry.fecha,
      entry.fecha_timbrado,
      entry.total,
      upper(entry.document_type),
      cancelled ? "0" : "1",
      cancelled ? cancellation_time(db, entry.uuid) : std::string()};
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += '~';
    line += fields[i];
  }
  return line + "\r\n";
}

constexpr const char* kMetadataHeader =
    "Uuid~RfcEmisor~NombreEmisor~RfcReceptor~NombreReceptor~RfcPac~FechaEmision~"
    "FechaCertificacionSat~Monto~EfectoComprobante~Estatus~FechaCancelacion\r\n";

}  // namespace

std::string file_download_request(SqliteDb& db, const DownloadRequest& request,
                                  std::chrono::system_clock::time_point now) {
  if (!looks_like_rfc(request.rfc)) {
    throw DownloadRefusal("301", "el RFC solicitante \"" + request.rfc + "\" no es válido");
  }
  if (!request.counterpart_rfc.empty() && !looks_like_rfc(request.counterpart_rfc)) {
    throw DownloadRefusal("301", "el RFC \"" + request.counterpart_rfc + "\" no es válido");
  }
  const std::string from = period_bound(request.from, false);
  const std::string to = period_bound(request.to, true);
  if (from > to) {
    throw DownloadRefusal("301", "la fecha inicial " + from + " es posterior a la final " + to);
  }
  const bool received =
      request.kind == DownloadKind::kReceivedXml || request.kind == DownloadKind::kReceivedMetadata;
  const std::string own_column = received ? "receiver_rfc" : "issuer_rfc";
  const std::string other_column = received ? "issuer_rfc" : "receiver_rfc";

  const std::string id = new_uuid();
  Transaction transaction(db);
  Statement insert(db,
                   "INSERT INTO download_documents (package_id, request_id, uuid) "
                   "SELECT ?, ?, uuid FROM ledger WHERE " +
                       own_column +
                       " = ? COLLATE NOCASE AND fecha BETWEEN ? AND ? AND (? = '' OR " +
                       other_column + " = ? COLLATE NOCASE)");
  Statement(db,
            "INSERT INTO download_requests (id, rfc, kind, date_from, date_to, counterpart_rfc, "
            "requested_at, state, document_count) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0)")
      .bind(1, id)
      .bind(2, request.rfc)
      .bind(3, kind_name(request.kind))
      .bind(4, from)
      .bind(5, to)
      .bind(6, request.counterpart_rfc)
      .bind(7, central_mexico::format(now))
      .bind(8, std::int64_t{kDownloadAccepted})
      .run();
  insert.bind(1, package_id_of(id))
      .bind(2, id)
      .bind(3, request.rfc)
      .bind(4, from)
      .bind(5, to)
      .bind(6, request.counterpart_rfc)
      .bind(7, request.counterpart_rfc)
      .run();
  // The sandbox answers at once: the request is finished, or rejected when
  // it found nothing, as the SAT's service does.
  Statement(db,
            "UPDATE download_requests SET document_count = "
            "(SELECT COUNT(*) FROM download_documents WHERE request_id = ?1), "
            "state = CASE WHEN (SELECT COUNT(*) FROM download_documents WHERE request_id = ?1) "
            "> 0 THEN ?2 ELSE ?3 END WHERE id = ?1")
      .bind(1, id)
      .bind(2, std::int64_t{kDownloadFinished})
      .bind(3, std::int64_t{kDownloadRejected})
      .run();
  transaction.commit();
  return id;
}

DownloadVerification verify_download_request(SqliteDb& db, const std::string& rfc,
                                             const std::string& request_id) {
  const auto request = find_request(db, request_id);
  if (!request) {
    throw DownloadRefusal("5004", "no existe la solicitud " + request_id);
  }
  require_owner(*request, rfc, "la solicitud " + request_id);
  DownloadVerification verification;
  verification.state = request->state;
  verification.document_count = request->document_count;
  if (request->state == kDownloadFinished) {
    verification.status_code = "5000";
    verification.message = "Solicitud Aceptada";
    verification.packages.push_back(package_id_of(request_id));
  } else if (request->state == kDownloadRejected) {
    verification.status_code = "5004";
    verification.message = "No se encontró la información";
  } else {
    verification.status_code = "5000";
    verification.message = "Solicitud Aceptada";
  }
  return verification;
}

DownloadPackage build_download_package(SqliteDb& db, const std::string& rfc,
                                       const std::string& package_id) {
  const std::string request_id =
      package_id.size() > 3 ? package_id.substr(0, package_id.size() - 3) : std::string();
  const auto request = find_request(db, request_id);
  if (!request || package_id_of(request_id) != upper(package_id) ||
      request->state != kDownloadFinished) {
    throw DownloadRefusal("5007", "no existe el paquete " + package_id);
  }
  require_owner(*request, rfc, "el paquete " + package_id);

  std::vector<std::string> uuids;
  Statement statement(db,
                      "SELECT d.uuid FROM download_documents d JOIN ledger l ON l.uuid = d.uuid "
                      "WHERE d.request_id = ? ORDER BY l.operation_number");
  statement.bind(1, request->id);
  while (statement.step()) uuids.push_back(statement.text(0));

  DownloadPackage package;
  package.id = package_id_of(request->id);
  package.document_count = static_cast<int>(uuids.size());
  std::vector<PackageFile> files;
  std::string metadata = kMetadataHeader;
  for (const auto& uuid : uuids) {
    const auto entry = find_ledger_entry(db, uuid);
    if (!entry) continue;
    if (is_metadata(request->kind)) {
      metadata += metadata_line(db, *entry);
    } else {
      files.push_back({entry->uuid + ".xml", entry->stamped_xml});
    }
  }
  if (is_metadata(request->kind)) files.push_back({package.id + ".txt", metadata});
  package.zip = make_zip(files);
  return package;
}

}  // namespace drovanexis::sandbox
