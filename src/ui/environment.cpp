#include "ui/environment.hpp"

namespace ostrel {

std::shared_ptr<const DateFormatter> Environment::formatter() const {
  if (dates && dates->isFor(locale, timeZone)) return dates;
  return DateFormatter::make(locale, timeZone);
}

const char* name(WidgetFamily family) {
  switch (family) {
    case WidgetFamily::systemSmall:
      return "systemSmall";
    case WidgetFamily::systemMedium:
      return "systemMedium";
    case WidgetFamily::systemLarge:
      return "systemLarge";
  }
  return "systemSmall";
}

const char* name(ColorScheme scheme) {
  return scheme == ColorScheme::dark ? "dark" : "light";
}

}  // namespace ostrel
