#pragma once
/// \file picker_sheet.hpp
/// The widget picker sheet: what the host's widget picker shows of a bundle. One section per widget,
/// in the bundle's order: its display name and description, then its preview in every family it
/// offers, light and dark side by side, each pair named by the family's human name (Small, Medium,
/// Large). The sheet's mid grey sets off light and dark faces alike; every length on it is a whole
/// number of points, so at a whole scale every face and line of text starts on a whole pixel.
///
///     std::vector<PickerSection> sections = {{.displayName = "Next up", .description = "...",
///                                            .faces = {{small, systemSmall, light}, ...}}};
///     auto png = renderPickerSheet(sections, fonts, {.format = Format::png, .scale = 2});

#include <string>
#include <string_view>
#include <vector>

#include "render/image.hpp"
#include "render/text.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel::render {

/// One preview: a face in a family and appearance.
struct PickerFace {
  View view;
  WidgetFamily family = WidgetFamily::systemSmall;
  ColorScheme scheme = ColorScheme::light;
};

/// One widget as the picker shows it. Its faces are shown in their order; faces of one family
/// stand together under the family's name.
struct PickerSection {
  std::string displayName;
  std::string description;
  std::vector<PickerFace> faces;
};

/// The picker's name of a family: "Small", "Medium" or "Large".
[[nodiscard]] std::string_view familyName(WidgetFamily family);

/// The sheet as PNG or SVG bytes.
[[nodiscard]] Result<std::string> renderPickerSheet(const std::vector<PickerSection>& sections,
                                                    const PangoMeasurer& text, RenderOptions options);

}  // namespace ostrel::render
