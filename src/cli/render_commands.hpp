#pragma once
/// \file render_commands.hpp
/// What `render` and `gallery` draw, for the commands and the drawing benchmark: the bundle's
/// widgets with their offered families, and each widget's face for an entry.

#include <string>
#include <vector>

#include "feed/loaded.hpp"
#include "platform/date.hpp"
#include "platform/render/render.hpp"
#include "platform/ui/environment.hpp"
#include "platform/ui/view.hpp"

namespace ostrel::cli {

/// One widget of the bundle as the gallery shows it.
struct GalleryKind {
  std::string kind;         ///< "NextUp", "DueSoon"
  std::string displayName;  ///< "Next up", "Due soon"
  std::vector<WidgetFamily> families;
};

/// The bundle's widgets in bundle order.
[[nodiscard]] std::vector<GalleryKind> galleryKinds();

/// Widget `kind`'s content for an entry at `date` (from the sample feed when `sample`), in `env`.
[[nodiscard]] View widgetFace(const std::string& kind, const Loaded& loaded, Date date, bool sample,
                              const Environment& env);

/// Every widget in every offered family, light then dark, one row per widget, labelled
/// "DISPLAY NAME · FAMILY · SCHEME"; `base` gives the system version, locale and zone.
[[nodiscard]] std::vector<render::GalleryItem> galleryFaces(const Loaded& loaded, Date date, bool sample,
                                                            const Environment& base);

}  // namespace ostrel::cli
