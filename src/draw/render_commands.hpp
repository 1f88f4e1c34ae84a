#pragma once
/// \file render_commands.hpp
/// What `gallery` draws, for the command and the drawing benchmark: the widget picker sheet, one
/// section per declared widget with its display name, description and preview in every family it
/// offers, light then dark.
///
///     const Entry entry = previewEntry(settings, "", false);   // the snapshot a picker asks for
///     auto png = render::renderPickerSheet(pickerSections(OstrelWidgets{}.body(), entry, settings, 14), fonts, {});

#include <string>
#include <vector>

#include "cli/options.hpp"
#include "render/picker_sheet.hpp"
#include "widgets/configuration.hpp"

namespace ostrel::draw {

/// The entry a widget picker previews: the provider's snapshot in a preview (the sample feed stands
/// in when there is no usable feed), dated `at` when given; or the sample feed when `sample`.
[[nodiscard]] Entry previewEntry(const cli::CommonSettings& settings, const std::string& at, bool sample);

/// The picker's sections for `entry`: each widget's display name and description (through the
/// string table) and its faces in every family it offers, light then dark, drawn with the system
/// version `macos` and the settings' locale and zone.
[[nodiscard]] std::vector<render::PickerSection> pickerSections(
    const std::vector<WidgetConfiguration>& widgets, const Entry& entry, const cli::CommonSettings& settings,
    int macos);

}  // namespace ostrel::draw
