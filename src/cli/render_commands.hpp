#pragma once
/// \file render_commands.hpp
/// What `gallery` draws, for the command and the drawing benchmark: every declared widget in every
/// family it offers, light then dark, one row per widget.
///
///     auto items = galleryFaces(OstrelWidgets{}.body(), entryFor(settings, "", true), settings, 14);
///     auto png = render::renderGallery(items, fonts, {});

#include <vector>

#include "cli/options.hpp"
#include "platform/render/render.hpp"
#include "widgets/configuration.hpp"

namespace ostrel::cli {

/// The gallery's faces for `entry`, each labelled "DISPLAY NAME · FAMILY · SCHEME" (the display name
/// through the string table), drawn with the system version `macos` and the settings' locale and zone.
[[nodiscard]] std::vector<render::GalleryItem> galleryFaces(const std::vector<WidgetConfiguration>& widgets,
                                                            const Entry& entry, const HostSettings& settings,
                                                            int macos);

}  // namespace ostrel::cli
