#include "render/canvas.hpp"

namespace ostrel::render {

Canvas canvasFor(WidgetFamily family) {
  switch (family) {
    case WidgetFamily::systemMedium:
      return Canvas{.width = 364, .height = 170};
    case WidgetFamily::systemLarge:
      return Canvas{.width = 364, .height = 382};
    case WidgetFamily::systemSmall:
      break;
  }
  return Canvas{.width = 170, .height = 170};
}

}  // namespace ostrel::render
