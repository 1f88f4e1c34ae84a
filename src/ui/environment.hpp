#pragma once
/// \file environment.hpp
/// What a view reads "from its environment": the size family being drawn, the appearance, the
/// system version (which picks the background path), and the user's locale and time zone (which
/// the date formatting follows).

#include <compare>
#include <memory>
#include <string>

#include "time/date_format.hpp"

namespace ostrel {

/// The host's size families.
enum class WidgetFamily { systemSmall, systemMedium, systemLarge };
/// The appearance.
enum class ColorScheme { light, dark };

/// A system version such as 14.0.0.
struct SystemVersion {
  int major = 14;
  int minor = 0;
  int patch = 0;
  // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy 14 misreads the defaulted comparison
  friend constexpr auto operator<=>(const SystemVersion&, const SystemVersion&) = default;
};

struct Environment {
  WidgetFamily widgetFamily = WidgetFamily::systemSmall;
  ColorScheme colorScheme = ColorScheme::light;
  SystemVersion systemVersion{};
  std::string locale = "en_US";  ///< ICU locale name
  TimeZone timeZone = TimeZone::utc();
  /// The formatter for `locale` and `timeZone`, built once by whoever sets them (the engine when
  /// they change, a command once per process); left out, one is made for every date shown.
  std::shared_ptr<const DateFormatter> dates = nullptr;

  /// `dates` when it is the one for `locale` and `timeZone`, else one made now.
  [[nodiscard]] std::shared_ptr<const DateFormatter> formatter() const;
  /// The same environment: `dates` follows from the rest.
  friend bool operator==(const Environment& a, const Environment& b) {
    return a.widgetFamily == b.widgetFamily && a.colorScheme == b.colorScheme &&
           a.systemVersion == b.systemVersion && a.locale == b.locale && a.timeZone == b.timeZone;
  }
};

/// "systemSmall", "systemMedium", "systemLarge".
[[nodiscard]] const char* name(WidgetFamily family);
/// "light", "dark".
[[nodiscard]] const char* name(ColorScheme scheme);

}  // namespace ostrel
