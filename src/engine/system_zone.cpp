#include "engine/system_zone.hpp"

#include "time/time_zone.hpp"

namespace ostrel {
namespace {

std::optional<std::string> known(std::string_view name) {
  std::string s(name);
  if (!TimeZone::isKnown(s)) return std::nullopt;
  return s;
}

}  // namespace

std::optional<std::string> SystemZone::fromLink(std::string_view target) {
  constexpr std::string_view folder = "zoneinfo/";
  const auto at = target.rfind(folder);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view name = target.substr(at + folder.size());
  for (const std::string_view variant : {"posix/", "right/"}) {
    if (name.substr(0, variant.size()) == variant) name.remove_prefix(variant.size());
  }
  return known(name);
}

std::optional<std::string> SystemZone::fromText(std::string_view text) {
  std::string_view line = text.substr(0, text.find('\n'));
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return std::nullopt;
  line.remove_prefix(first);
  line = line.substr(0, line.find_last_not_of(" \t\r") + 1);
  return known(line);
}

}  // namespace ostrel
