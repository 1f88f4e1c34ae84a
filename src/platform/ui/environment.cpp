#include "platform/ui/environment.hpp"

namespace ostrel {

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
