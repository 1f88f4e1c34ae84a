#include "platform/render/text.hpp"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <utility>

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

}  // namespace

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

PangoLayout* PangoMeasurer::makeLayout(const std::string& text, const layout::TextStyle& style, double scale,
                                       std::optional<double> width, int maxLines) const {
  PangoLayout* layout = pango_layout_new(context_.get());
  // Plain text only: invalid UTF-8 is replaced, markup characters are shown as they are.
  gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
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
  if (style.tracking != 0)
    pango_attr_list_insert(attributes, pango_attr_letter_spacing_new(pangoUnits(style.tracking * scale)));
  if (style.monospacedDigit) pango_attr_list_insert(attributes, pango_attr_font_features_new("tnum"));
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

layout::Size PangoMeasurer::measure(const std::string& text, const layout::TextStyle& style, double scale,
                                    std::optional<double> width, int maxLines) const {
  PangoLayout* layout = makeLayout(text, style, scale, width, maxLines);
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return layout::Size{static_cast<double>(logical.width) / PANGO_SCALE,
                      static_cast<double>(logical.height) / PANGO_SCALE};
}

}  // namespace ostrel::render
