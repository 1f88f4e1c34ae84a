#pragma once
/// \file scheme_preference.hpp
/// Which appearance the windows are drawn in. `--scheme light|dark` fixes it; `auto` follows the
/// desktop: the XDG desktop portal's `org.freedesktop.appearance color-scheme` setting (1: prefer
/// dark, 2: prefer light, 0: no preference) where a portal answers, else GTK's dark-theme
/// preference (`gtk-application-prefer-dark-theme`, or a theme whose name marks it dark, such as
/// "Adwaita-dark").
///
///     schemeFor(SchemeChoice::automatic, {.portal = 1})                  // dark
///     schemeFor(SchemeChoice::automatic, {.portal = 0, .gtkTheme = "Adwaita-dark"})  // dark

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/environment.hpp"

namespace ostrel::desktop {

enum class SchemeChoice { automatic, light, dark };

/// "auto", "light", "dark".
[[nodiscard]] const char* name(SchemeChoice choice);
[[nodiscard]] std::optional<SchemeChoice> schemeChoiceNamed(std::string_view text);

/// What the desktop says about its appearance.
struct DesktopPreference {
  std::optional<std::uint32_t> portal;  ///< the portal's color-scheme value; none: no portal answered
  bool gtkPrefersDark = false;          ///< gtk-application-prefer-dark-theme
  std::string gtkTheme;                 ///< gtk-theme-name
  friend bool operator==(const DesktopPreference&, const DesktopPreference&) = default;
};

/// The scheme to draw in.
[[nodiscard]] ColorScheme schemeFor(SchemeChoice choice, const DesktopPreference& desktop);

}  // namespace ostrel::desktop
