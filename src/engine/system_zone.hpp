#pragma once
/// \file system_zone.hpp
/// The system's time zone as the system states it: the target of the /etc/localtime link
/// ("/usr/share/zoneinfo/Europe/Berlin", or relative "../usr/share/zoneinfo/Europe/Berlin"), or the
/// first line of /etc/timezone ("Europe/Berlin").
///
///     std::optional<std::string> z = SystemZone::fromLink("/usr/share/zoneinfo/Australia/Sydney");

#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

struct SystemZone {
  /// The zone a /etc/localtime link target names: what follows its last "zoneinfo/" (a "posix/" or
  /// "right/" folder of the zone database dropped), if that is a zone the calendar knows.
  [[nodiscard]] static std::optional<std::string> fromLink(std::string_view target);
  /// The zone the first line of a /etc/timezone text names, if the calendar knows it.
  [[nodiscard]] static std::optional<std::string> fromText(std::string_view text);
};

}  // namespace ostrel
