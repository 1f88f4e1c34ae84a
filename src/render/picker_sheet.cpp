#include "render/picker_sheet.hpp"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "render/canvas.hpp"
#include "render/draw.hpp"

namespace ostrel::render {
namespace {

using layout::Placed;
using layout::Rect;

// The sheet's measures, in points.
constexpr double kMargin = 32;      // around the sheet
constexpr double kSectionGap = 40;  // between two widgets
constexpr double kTitleGap = 4;     // between a display name and its description
constexpr double kFacesGap = 16;    // between the description and the faces
constexpr double kPairGap = 12;     // between the light and the dark face of one family
constexpr double kFamilyGap = 32;   // between two families
constexpr double kCaptionGap = 10;  // between the faces and the family's name

// A mid grey: light faces stand out as lighter, dark faces as darker; its text is near black.
constexpr double kSheet[] = {0.60, 0.60, 0.62};

const layout::TextStyle kTitle{.font = Font::system(17, Font::Weight::semibold)};
const layout::TextStyle kDescription{.font = Font::system(12)};
const layout::TextStyle kCaption{.font = Font::system(12, Font::Weight::medium)};
constexpr Color kTitleColor = Color::rgb(0, 0, 0, 0.85);
constexpr Color kDescriptionColor = Color::rgb(0, 0, 0, 0.62);
constexpr Color kCaptionColor = Color::rgb(0, 0, 0, 0.70);

/// A line of text on the sheet, at a whole point.
struct Line {
  std::string text;
  layout::TextStyle style;
  Color color;
  double x = 0, y = 0;
};

struct Cell {
  const PickerFace* face;
  double x, y;
};

struct Sheet {
  double width = 2 * kMargin, height = 2 * kMargin;
  std::vector<Cell> cells;
  std::vector<Line> lines;
};

double lineHeight(const PangoMeasurer& text, const layout::TextStyle& style) {
  return std::ceil(text.measure("Ag", style, 1, std::nullopt, 1).height);
}

double textWidth(const PangoMeasurer& text, const std::string& s, const layout::TextStyle& style) {
  return std::ceil(text.measure(s, style, 1, std::nullopt, 1).width);
}

Sheet arrange(const std::vector<PickerSection>& sections, const PangoMeasurer& text) {
  Sheet sheet;
  double y = kMargin;
  for (std::size_t s = 0; s < sections.size(); ++s) {
    const PickerSection& section = sections[s];
    if (s > 0) y += kSectionGap;
    sheet.lines.push_back(Line{section.displayName, kTitle, kTitleColor, kMargin, y});
    y += lineHeight(text, kTitle) + kTitleGap;
    sheet.lines.push_back(Line{section.description, kDescription, kDescriptionColor, kMargin, y});
    y += lineHeight(text, kDescription) + kFacesGap;
    double x = kMargin;
    double rowHeight = 0;
    for (std::size_t i = 0; i < section.faces.size();) {
      const WidgetFamily family = section.faces[i].family;
      const double start = x;
      for (; i < section.faces.size() && section.faces[i].family == family; ++i) {
        const Canvas c = canvasFor(family);
        if (x > start) x += kPairGap;
        sheet.cells.push_back(Cell{&section.faces[i], x, y});
        x += c.width;
        rowHeight = std::max(rowHeight, c.height);
      }
      const std::string caption(familyName(family));
      const double captionX = start + std::floor((x - start - textWidth(text, caption, kCaption)) / 2);
      sheet.lines.push_back(
          Line{caption, kCaption, kCaptionColor, captionX, y + canvasFor(family).height + kCaptionGap});
      x += kFamilyGap;
    }
    const double rowWidth = section.faces.empty() ? 0 : x - kFamilyGap - kMargin;
    const double titles = std::max(textWidth(text, section.displayName, kTitle),
                                   textWidth(text, section.description, kDescription));
    sheet.width = std::max(sheet.width, 2 * kMargin + std::max(rowWidth, titles));
    y += rowHeight + kCaptionGap + lineHeight(text, kCaption);
  }
  sheet.height = y + kMargin;
  return sheet;
}

/// `x`, `y` moved to the nearest device pixel.
void snapPoint(cairo_t* cr, double& x, double& y) {
  cairo_user_to_device(cr, &x, &y);
  x = std::round(x);
  y = std::round(y);
  cairo_device_to_user(cr, &x, &y);
}

}  // namespace

std::string_view familyName(WidgetFamily family) {
  switch (family) {
    case WidgetFamily::systemMedium:
      return "Medium";
    case WidgetFamily::systemLarge:
      return "Large";
    case WidgetFamily::systemSmall:
      break;
  }
  return "Small";
}

Result<std::string> renderPickerSheet(const std::vector<PickerSection>& sections, const PangoMeasurer& text,
                                      RenderOptions options) {
  const Sheet sheet = arrange(sections, text);
  const double pixel = pixelLength(options);
  return encodeImage(sheet.width, sheet.height, options, [&](cairo_t* cr) {
    cairo_set_source_rgb(cr, kSheet[0], kSheet[1], kSheet[2]);
    cairo_paint(cr);
    for (const Cell& cell : sheet.cells) {
      double x = cell.x, y = cell.y;
      snapPoint(cr, x, y);
      cairo_save(cr);
      cairo_translate(cr, x, y);
      drawWidget(cr, cell.face->view, cell.face->family, cell.face->scheme, text, pixel);
      cairo_restore(cr);
    }
    for (const Line& line : sheet.lines) {
      Placed p;
      p.kind = Placed::Kind::text;
      p.text = line.text;
      p.textStyle = line.style;
      p.color = line.color;
      p.fit = layout::fitText(text, line.text, line.style, std::nullopt);
      double x = line.x, y = line.y;
      snapPoint(cr, x, y);
      p.frame = Rect{x, y, p.fit.size.width, p.fit.size.height};
      drawPlaced(cr, p, ColorScheme::light, text);
    }
  });
}

}  // namespace ostrel::render
