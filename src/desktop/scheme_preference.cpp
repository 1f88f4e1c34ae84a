#include "desktop/scheme_preference.hpp"

#include <algorithm>
#include <cctype>

namespace ostrel::desktop {

namespace {

constexpr std::uint32_t kPortalPrefersDark = 1;
constexpr std::uint32_t kPortalPrefersLight = 2;

bool endsWithDark(std::string_view theme) {
  constexpr std::string_view dark = "dark";
  if (theme.size() <= dark.size()) return false;
  const std::string_view tail = theme.substr(theme.size() - dark.size());
  const char before = theme[theme.size() - dark.size() - 1];
  const bool same = std::equal(tail.begin(), tail.end(), dark.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
  return same && (before == '-' || before == '_' || before == ':');
}

}  // namespace

const char* name(SchemeChoice choice) {
  switch (choice) {
    case SchemeChoice::light:
      return "light";
    case SchemeChoice::dark:
      return "dark";
    case SchemeChoice::automatic:
      break;
  }
  return "auto";
}

std::optional<SchemeChoice> schemeChoiceNamed(std::string_view text) {
  for (SchemeChoice c : {SchemeChoice::automatic, SchemeChoice::light, SchemeChoice::dark}) {
    if (text == name(c)) return c;
  }
  return std::nullopt;
}

ColorScheme schemeFor(SchemeChoice choice, const DesktopPreference& desktop) {
  switch (choice) {
    case SchemeChoice::light:
      return ColorScheme::light;
    case SchemeChoice::dark:
      return ColorScheme::dark;
    case SchemeChoice::automatic:
      break;
  }
  if (desktop.portal == kPortalPrefersDark) return ColorScheme::dark;
  if (desktop.portal == kPortalPrefersLight) return ColorScheme::light;
  return desktop.gtkPrefersDark || endsWithDark(desktop.gtkTheme) ? ColorScheme::dark : ColorScheme::light;
}

}  // namespace ostrel::desktop
