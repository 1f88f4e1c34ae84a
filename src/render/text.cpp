#include "render/text.hpp"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "render/canvas.hpp"

namespace ostrel::render {
namespace {

bool fontconfigHas(const std::string& family, std::optional<int> weight) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (weight) FcPatternAddInteger(pattern, FC_WEIGHT, *weight);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_WEIGHT, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  const bool found = fonts != nullptr && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

PangoWeight weightOf(Font::Weight w) {
  switch (w) {
    case Font::Weight::medium:
      return PANGO_WEIGHT_MEDIUM;
    case Font::Weight::semibold:
      return PANGO_WEIGHT_SEMIBOLD;
    case Font::Weight::regular:
      break;
  }
  return PANGO_WEIGHT_NORMAL;
}

int pangoUnits(double points) {
  return static_cast<int>(std::lround(points * PANGO_SCALE));
}

// Bounds on the work for long texts (see text.hpp). Texts up to kWhole bytes are always set whole,
// exactly as Pango sets them; of a longer text at most kMost bytes are ever set.
constexpr std::size_t kWhole = 512;
constexpr std::size_t kMost = std::size_t{16} * 1024;
// Without a width, a long text is set until it is this wide (points): wider than any widget's
// content at the smallest font scale a text shrinks to (0.7), so every decision about fitting it
// comes out as it would for the whole text.
constexpr double kNaturalReach = 480;
// The first part tried is sized by a guess of a character's width in ems (a little under the
// average of proportional text; the monospaced face's own advance) at one byte a character, with
// 64 bytes more; a part that proves too short is quadrupled. Lines are at least 1.2 ems apart.
constexpr double kProportionalEm = 0.35;
constexpr double kMonospacedEm = 0.6;
constexpr double kLineEms = 1.2;

/// The first `bytes` bytes of `text`, ending between two UTF-8 sequences.
std::string_view utf8Prefix(std::string_view text, std::size_t bytes) {
  if (bytes >= text.size()) return text;
  while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
  return text.substr(0, bytes);
}

double logicalWidth(PangoLayout* layout) {
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  return static_cast<double>(logical.width) / PANGO_SCALE;
}

}  // namespace

/// A laid-out text, and how many of its bytes were set.
struct PangoMeasurer::Set {
  PangoLayout* layout = nullptr;
  std::size_t bytes = 0;
};

PangoMeasurer::PangoMeasurer(FontFamilies families, std::shared_ptr<PangoContext> context)
    : families_(std::move(families)), context_(std::move(context)) {}

Result<PangoMeasurer> PangoMeasurer::create(const FontFamilies& families) {
  const std::pair<int, const char*> weights[] = {
      {FC_WEIGHT_REGULAR, "400"}, {FC_WEIGHT_MEDIUM, "500"}, {FC_WEIGHT_DEMIBOLD, "600"}};
  for (const auto& [weight, name] : weights) {
    if (!fontconfigHas(families.system, weight)) {
      return RenderError{RenderError::Kind::missingFont, "font not found: " + families.system + " " + name};
    }
  }
  if (!fontconfigHas(families.monospaced, std::nullopt)) {
    return RenderError{RenderError::Kind::missingFont, "font not found: " + families.monospaced};
  }
  // A font map of our own (not the process-wide default) at 72 dpi, so that one point is one unit.
  PangoFontMap* map = pango_cairo_font_map_new();
  pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(map), 72);
  PangoContext* raw = pango_font_map_create_context(map);
  g_object_unref(map);  // the context keeps it
  // Unhinted metrics and unrounded positions: the same sizes at every scale and on every surface.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(raw, options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(raw, FALSE);
  std::shared_ptr<PangoContext> context(raw, [](PangoContext* c) { g_object_unref(c); });
  return PangoMeasurer(families, std::move(context));
}

PangoLayout* PangoMeasurer::setPart(const std::string& part, const layout::TextStyle& style, double scale,
                                    std::optional<double> width, int maxLines) const {
  PangoLayout* layout = pango_layout_new(context_.get());
  // Plain text only: invalid UTF-8 is replaced, markup characters are shown as they are.
  gchar* valid = g_utf8_make_valid(part.c_str(), static_cast<gssize>(part.size()));
  pango_layout_set_text(layout, valid, -1);
  g_free(valid);

  PangoFontDescription* font = pango_font_description_new();
  const bool mono = style.font.design == Font::Design::monospaced;
  pango_font_description_set_family(font, mono ? families_.monospaced.c_str() : families_.system.c_str());
  pango_font_description_set_weight(font, weightOf(style.font.weight));
  const double size = std::max(style.font.size, 0.0) * scale;
  pango_font_description_set_absolute_size(font, std::max(size, 0.01) * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);

  PangoAttrList* attributes = pango_attr_list_new();
  if (style.tracking != 0) {
    pango_attr_list_insert(attributes, pango_attr_letter_spacing_new(pangoUnits(style.tracking * scale)));
  }
  // The monospaced design's zero is slashed, as in the system's own monospaced face: a dotted zero
  // at 10 pixels fills in and reads as 8 (AMED3003 as AMED3883).
  const char* features =
      style.monospacedDigit ? (mono ? "tnum=1,zero=1" : "tnum=1") : (mono ? "zero=1" : nullptr);
  if (features != nullptr) pango_attr_list_insert(attributes, pango_attr_font_features_new(features));
  // Texts are shown verbatim: a wrapped word never gains a hyphen.
  pango_attr_list_insert(attributes, pango_attr_insert_hyphens_new(FALSE));
  pango_layout_set_attributes(layout, attributes);
  pango_attr_list_unref(attributes);

  if (maxLines == 1) pango_layout_set_single_paragraph_mode(layout, TRUE);
  if (width) {
    pango_layout_set_width(layout, std::max(pangoUnits(*width), 1));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    if (maxLines > 0) {
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
      pango_layout_set_height(layout, -maxLines);
    }
  }
  return layout;
}

PangoMeasurer::Set PangoMeasurer::set(const std::string& text, const layout::TextStyle& style, double scale,
                                      std::optional<double> width, int maxLines) const {
  if (text.size() <= kWhole) return Set{setPart(text, style, scale, width, maxLines), text.size()};
  const double em = std::max(std::max(style.font.size, 0.0) * scale, 0.01);
  int lines = maxLines;
  if (width && lines <= 0) {
    const double tallest = canvasFor(WidgetFamily::systemLarge).height;
    lines = static_cast<int>(std::clamp(std::ceil(tallest / (kLineEms * em)), 1.0, 1000.0));
  }
  // The first part tried: what the lines (or, without a width, the reach) would hold of characters
  // of the guessed width.
  const double character =
      (style.font.design == Font::Design::monospaced ? kMonospacedEm : kProportionalEm) * em;
  const double characters = width ? lines * std::max(*width, 0.0) / character : kNaturalReach / character;
  const double first = characters + 64;
  std::size_t bytes =
      std::isfinite(first) && first < static_cast<double>(kMost) ? static_cast<std::size_t>(first) : kMost;
  for (;;) {
    const std::string_view part = utf8Prefix(text, bytes);
    PangoLayout* layout = setPart(std::string(part), style, scale, width, lines);
    // Enough is set when the cut "…" falls inside the part (Pango then shows what it would show of
    // the whole text), or when the part is wider than anything it is measured against.
    const bool enough =
        part.size() == text.size() || bytes >= kMost ||
        (width ? pango_layout_is_ellipsized(layout) != FALSE : logicalWidth(layout) >= kNaturalReach);
    if (enough) return Set{layout, part.size()};
    g_object_unref(layout);
    bytes = std::min(bytes * 4, kMost);
  }
}

PangoLayout* PangoMeasurer::makeLayout(const std::string& text, const layout::TextStyle& style, double scale,
                                       std::optional<double> width, int maxLines) const {
  return set(text, style, scale, width, maxLines).layout;
}

layout::Size PangoMeasurer::measure(const std::string& text, const layout::TextStyle& style, double scale,
                                    std::optional<double> width, int maxLines) const {
  const Set s = set(text, style, scale, width, maxLines);
  PangoRectangle logical{};
  pango_layout_get_extents(s.layout, nullptr, &logical);
  const bool oneLine = pango_layout_get_line_count(s.layout) == 1;
  g_object_unref(s.layout);
  double w = static_cast<double>(logical.width) / PANGO_SCALE;
  // A long one-line text measured by its first part: its width grows with the rest of its bytes.
  // Text of many lines is as wide as its widest line, which the part already shows as far as it
  // can matter.
  if (!width && oneLine && s.bytes > 0 && s.bytes < text.size()) {
    w *= static_cast<double>(text.size()) / static_cast<double>(s.bytes);
  }
  return layout::Size{w, static_cast<double>(logical.height) / PANGO_SCALE};
}

}  // namespace ostrel::render
