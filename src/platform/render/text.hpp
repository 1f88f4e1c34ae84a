#pragma once
/// \file text.hpp
/// Text through Pango: the system font is Inter (weights 400, 500, 600), the monospaced design is
/// JetBrains Mono, both found through fontconfig. `monospacedDigit()` turns on the OpenType `tnum`
/// feature, `tracking` is letter spacing, a cut line ends in "…". Text is always set as plain text,
/// never parsed as markup.
///
///     auto fonts = PangoMeasurer::create();
///     if (!fonts) return report(fonts.error().message);   // "font not found: Inter 600"
///     Placed p = layout(view, rect, *fonts);

#include <memory>
#include <string>

#include "platform/layout/layout.hpp"
#include "platform/result.hpp"

// The library's own struct tags, declared ahead so this header need not include Pango.
using PangoLayout = struct _PangoLayout;    // NOLINT(bugprone-reserved-identifier)
using PangoContext = struct _PangoContext;  // NOLINT(bugprone-reserved-identifier)

namespace ostrel::render {

/// Why a drawing could not be made.
struct RenderError {
  enum class Kind { missingFont, unwritable, unknownFormat, drawing };
  Kind kind = Kind::drawing;
  std::string message;  ///< one line, for the command line
  friend bool operator==(const RenderError&, const RenderError&) = default;
};

/// A value or a `RenderError`.
template <class T>
using Result = ostrel::Result<T, RenderError>;

/// The font families standing in for the system font and its monospaced design.
struct FontFamilies {
  std::string system = "Inter";
  std::string monospaced = "JetBrains Mono";
};

/// Measures and sets text with Pango. Copies share one font map and context, whose caches Pango fills
/// as it sets text: a measurer and its copies serve one thread at a time. Threads that draw at once
/// each create their own (every `create()` makes a new font map and context).
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
  FontFamilies families_;
  std::shared_ptr<PangoContext> context_;
};

}  // namespace ostrel::render
