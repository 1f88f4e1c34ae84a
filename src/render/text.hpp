#pragma once
/// \file text.hpp
/// Text through Pango. The system font is Inter (weights 400, 500, 600), the monospaced design is
/// JetBrains Mono with its slashed zero (the dotted one fills in at small sizes and reads as 8),
/// both found through fontconfig ahead of the fonts that cover other scripts and emoji.
/// `monospacedDigit()` turns on the OpenType `tnum` feature, `tracking` is letter spacing, a cut
/// line ends in "…", and wrapping never inserts a hyphen. Text is always set as plain text, never
/// parsed as markup.
///
/// Work is bounded by what can show: a long text is set only as far as its lines can hold, so a
/// megabyte of text costs about what a line of it costs, with the same cut and "…". Without a
/// width, a long one-line text is set until it is far wider than any widget, and its full width is
/// estimated from that part (a text of several lines is as wide as its widest line set). A long text without
/// a line limit is cut, with "…", after as many lines as the tallest widget could show (lines at least 1.2
/// ems apart).
///
///     auto fonts = PangoMeasurer::create();
///     if (!fonts) return report(fonts.error().message);   // "font not found: Inter 600"
///     Placed p = layout(view, rect, *fonts);

#include <memory>
#include <optional>
#include <string>

#include "layout/layout.hpp"
#include "render/render_error.hpp"

// The library's own struct tags, declared ahead so this header need not include Pango.
using PangoLayout = struct _PangoLayout;    // NOLINT(bugprone-reserved-identifier)
using PangoContext = struct _PangoContext;  // NOLINT(bugprone-reserved-identifier)

namespace ostrel::render {

/// The font families standing in for the system font and its monospaced design.
struct FontFamilies {
  std::string system = "Inter";
  std::string monospaced = "JetBrains Mono";
};

/// Measures and sets text with Pango. Copies share one font map and context, which are never
/// changed after creation; but Pango's caches in them are not shared safely between threads, so a
/// measurer and its copies are used by one thread at a time: each thread that draws creates its own.
class PangoMeasurer final : public layout::TextMeasurer {
 public:
  /// The measurer, or `missingFont` naming the first family or weight fontconfig does not have
  /// (the system family in weights 400, 500 and 600, the monospaced family in any weight).
  [[nodiscard]] static Result<PangoMeasurer> create(const FontFamilies& families = {});

  [[nodiscard]] layout::Size measure(const std::string& text, const layout::TextStyle& style, double scale,
                                     std::optional<double> width, int maxLines) const override;

  /// A Pango layout set exactly as `measure` sets it (the caller owns the reference).
  [[nodiscard]] PangoLayout* makeLayout(const std::string& text, const layout::TextStyle& style, double scale,
                                        std::optional<double> width, int maxLines) const;

 private:
  PangoMeasurer(FontFamilies families, std::shared_ptr<PangoContext> context);
  struct Set;
  [[nodiscard]] Set set(const std::string& text, const layout::TextStyle& style, double scale,
                        std::optional<double> width, int maxLines) const;
  [[nodiscard]] PangoLayout* setPart(const std::string& part, const layout::TextStyle& style, double scale,
                                     std::optional<double> width, int maxLines) const;
  FontFamilies families_;
  std::shared_ptr<PangoContext> context_;
};

}  // namespace ostrel::render
