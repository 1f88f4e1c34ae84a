#pragma once
/// \file chosen_face.hpp
/// Choosing one face to show: which widget, family and appearance, for which entry, in which
/// environment. Shared by `tree`, `render` and `gallery`.
///
///     FaceOptions o;
///     addFaceOptions(*cmd, o, widgets, true);   // --kind --family --scheme --at --sample --macos, shared options
///     ...after parsing:
///     auto face = resolveFace(o, widgets);      // or the one-line reason it cannot be drawn
///     const ChosenFace& f = std::get<ChosenFace>(face);
///     View v = f.widget->content(f.entry, f.env);

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "cli/options.hpp"
#include "widgets/configuration.hpp"

namespace ostrel::cli {

struct FaceOptions {
  std::string kind;
  std::string family;
  std::string scheme = "light";
  std::string at;  ///< the entry's date; empty: the host's now
  bool sample = false;
  int macos = 14;
  CommonOptions common;
};

/// Adds the face selectors and the host options (and --json where the command prints data: `withJson`)
/// to `cmd`; --kind and --family are required and checked against the declared kinds and the host's
/// families.
void addFaceOptions(CLI::App& cmd, FaceOptions& options, const std::vector<WidgetConfiguration>& widgets,
                    bool withJson);

/// One face: the widget, the entry it shows and the environment it is drawn in.
struct ChosenFace {
  const WidgetConfiguration* widget = nullptr;
  Entry entry;
  Environment env;
};

/// The environment the host draws a family in, for these settings, with `dates` as its formatter
/// (none: one made for these settings).
[[nodiscard]] Environment environmentFor(const CommonSettings& settings, WidgetFamily family,
                                         ColorScheme scheme, int macos,
                                         std::shared_ptr<const DateFormatter> dates = nullptr);
/// The entry for `at` (empty: now) over the loaded feed, or over the sample feed.
[[nodiscard]] Entry entryFor(const CommonSettings& settings, const std::string& at, bool sample);
/// The family named `text` ("systemSmall", ...), if any.
[[nodiscard]] std::optional<WidgetFamily> familyNamed(const std::string& text);
/// The families a widget offers, as "systemSmall, systemMedium".
[[nodiscard]] std::string familyList(const WidgetConfiguration& widget);

/// Resolves checked options; a family the widget does not offer gives the one-line reason.
[[nodiscard]] std::variant<ChosenFace, std::string> resolveFace(
    const FaceOptions& options, const std::vector<WidgetConfiguration>& widgets);

}  // namespace ostrel::cli
