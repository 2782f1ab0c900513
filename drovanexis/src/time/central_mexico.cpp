#include "time/central_mexico.h"

#include <date/tz.h>

#include <stdexcept>

namespace drovanexis::central_mexico {

namespace {

using std::chrono::seconds;

// The zone is looked up once per process: the first look-up reads the
// system's time-zone data.
const date::time_zone& zone() {
  static const date::time_zone* const found = [] {
    try {
      return date::locate_zone("America/Mexico_City");
    } catch (const std::exception& error) {
      throw std::runtime_error(
          std::string("No se encontró la zona horaria America/Mexico_City en los datos de zonas "
                      "horarias del sistema (paquete tzdata): ") +
          error.what());
    }
  }();
  return *found;
}

date::local_seconds as_local(LocalDateTime moment) {
  return date::local_seconds{seconds{moment.seconds}};
}

}  // namespace

LocalDateTime local_time(std::chrono::system_clock::time_point when) {
  const auto local = zone().to_local(std::chrono::floor<seconds>(when));
  return LocalDateTime{local.time_since_epoch().count()};
}

LocalDateTime now() { return local_time(std::chrono::system_clock::now()); }

Instant instant(LocalDateTime local) {
  // For a unique or repeated time the first offset is the one of its (first)
  // occurrence; for a skipped time it is the offset before the gap, which
  // lands the same distance after the change.
  const date::local_info info = zone().get_info(as_local(local));
  return Instant{seconds{local.seconds} - info.first.offset};
}

std::int64_t seconds_between(LocalDateTime earlier, LocalDateTime later) {
  return (instant(later) - instant(earlier)).count();
}

std::int64_t utc_offset_seconds(Instant when) { return zone().get_info(when).offset.count(); }

std::string format(std::chrono::system_clock::time_point when) {
  return format_date_time(local_time(when));
}

}  // namespace drovanexis::central_mexico
