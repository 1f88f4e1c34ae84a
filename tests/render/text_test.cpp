// Text as Pango sets it (PangoMeasurer): the standing-in families and their features, every script
// a face may show drawn and kept inside the widget, wrapping that adds nothing to a text, and a long
// text that costs only what shows, with the same cut.
#include "render/text.hpp"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <string>
#include <vector>

#include "faces.hpp"
#include "feed/date_rule.hpp"
#include "fonts.hpp"
#include "pixels.hpp"
#include "render/canvas.hpp"
#include "render/image.hpp"
#include "support/rows.hpp"
#include "timeline/sample.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::render {
namespace {

using layout::Placed;
using layout::TextStyle;

const TextStyle kTitle{.font = Font::system(15, Font::Weight::semibold), .lineLimit = 1};
const TextStyle kCode{.font = Font::system(10, Font::Weight::medium, Font::Design::monospaced)};

double width(const std::string& text, const TextStyle& style) {
  return fonts().measure(text, style, 1, std::nullopt, 1).width;
}

/// `piece` repeated to `bytes` bytes.
std::string repeated(const std::string& piece, std::size_t bytes) {
  std::string out;
  while (out.size() < bytes) out += piece;
  out.resize(bytes);
  return out;
}

TEST(PangoMeasurer, AMissingFamilyIsAnErrorValue) {
  const auto missing =
      PangoMeasurer::create(FontFamilies{.system = "No Such Family", .monospaced = "JetBrains Mono"});
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().kind, RenderError::Kind::missingFont);
  EXPECT_EQ(missing.error().message, "font not found: No Such Family 400");
  const auto mono = PangoMeasurer::create(FontFamilies{.system = "Inter", .monospaced = "No Such Mono"});
  EXPECT_EQ(mono.error().message, "font not found: No Such Mono");
}

TEST(PangoMeasurer, MarkupIsShownAsText) {
  const TextStyle plain{.font = Font::system(20, Font::Weight::medium)};
  EXPECT_GT(width("<b>x</b>", plain), 5 * width("x", plain));  // eight characters, not a bold x
}

TEST(PangoMeasurer, TheMonospacedDesignHasTheSlashedZero) {
  // The glyph set for "0", against the font's default zero: the monospaced design's differs.
  const auto zeroIsDefault = [](const TextStyle& style) {
    PangoLayout* ours = fonts().makeLayout("0", style, 1, std::nullopt, 1);
    PangoLayout* plain = pango_layout_new(pango_layout_get_context(ours));
    pango_layout_set_text(plain, "0", -1);
    pango_layout_set_font_description(plain, pango_layout_get_font_description(ours));
    const auto glyph = [](PangoLayout* l) {
      return static_cast<PangoGlyphItem*>(pango_layout_get_line_readonly(l, 0)->runs->data)
          ->glyphs->glyphs[0]
          .glyph;
    };
    const bool same = glyph(ours) == glyph(plain);
    g_object_unref(ours);
    g_object_unref(plain);
    return same;
  };
  EXPECT_FALSE(zeroIsDefault(kCode));
  EXPECT_TRUE(zeroIsDefault(kTitle));
}

TEST(PangoMeasurer, EmojiAreDrawnInColour) {
  // Black text: any pixel with colour in it comes from the emoji font's own colours.
  const View v = Text::verbatim("📚🎓").font(Font::system(40)).foregroundStyle(Style::of(Color::rgb(0, 0, 0)));
  const auto png = renderWidget(v, WidgetFamily::systemSmall, ColorScheme::light, fonts(), {.scale = 1});
  ASSERT_TRUE(png);
  int coloured = 0;
  const testing::Pixels px = testing::Pixels::decode(*png);
  for (int i = 0; i < px.width * px.height; ++i) {
    const testing::Pixel p = px.at(i % px.width, i / px.width);
    if (p.a > 200 && std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) > 60) ++coloured;
  }
  EXPECT_GT(coloured, 100);
}

/// Pango's count of the glyphs it had no font for in `l`, which it releases.
int unknownGlyphs(PangoLayout* l) {
  const int unknown = pango_layout_get_unknown_glyphs_count(l);
  g_object_unref(l);
  return unknown;
}

/// The unknown glyphs of every text of `placed`, set as it is drawn; each text must lie inside `area`
/// across.
int unknownGlyphs(const Placed& placed, const layout::Rect& area) {
  int unknown = 0;
  if (placed.kind == Placed::Kind::text) {
    unknown += unknownGlyphs(fonts().makeLayout(placed.text, placed.textStyle, placed.fit.scale,
                                                placed.fit.width, placed.fit.maxLines));
    EXPECT_GE(placed.frame.x, area.x - 1e-6) << placed.text;
    EXPECT_LE(placed.frame.maxX(), area.maxX() + 1e-6) << placed.text;
  }
  for (const Placed& c : placed.children) unknown += unknownGlyphs(c, area);
  return unknown;
}

TEST(PangoMeasurer, HardTextsDrawWholeAndStayInsideEveryFace) {
  // The sample feed with every text of it (units, titles, rooms, names, the week) a hard one, in
  // every face, in the styles and sizes each face sets it in.
  const Date now = parseDate("2026-03-02T09:30:00Z").value_or(Date{});
  const std::vector<test_support::Row> rows = test_support::rows("hard-texts.tsv");
  ASSERT_EQ(rows.size(), 17u);
  for (const auto& row : rows) {
    const std::string text = repeated(row[1], row[1].size() * std::stoul(row[2]));
    EXPECT_EQ(unknownGlyphs(fonts().makeLayout(text, kCode, 1, std::nullopt, 1)), 0) << row[0];
    EXPECT_EQ(unknownGlyphs(fonts().makeLayout(text, kTitle, 1, std::nullopt, 1)), 0) << row[0];
    Feed feed = Sample::feed(Clock::fixed(now));
    feed.week = text;
    for (ClassItem& c : *feed.classes) c.unit = c.title = c.where.emplace(text);
    for (DueItem& d : *feed.due) d.unit = d.name = text;
    const Entry entry{.date = now, .loaded = Loaded::feed(std::move(feed))};
    for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
      for (WidgetFamily family : w.families) {
        Environment env;
        env.widgetFamily = family;
        env.systemVersion = SystemVersion{family == WidgetFamily::systemMedium ? 13 : 14, 0, 0};
        env.locale = "en_US";
        env.timeZone = TimeZone::utc();
        const Canvas c = canvasFor(family);
        const Placed placed =
            layout::layoutWidget(w.content(entry, env), {0, 0, c.width, c.height}, c.margin, fonts());
        SCOPED_TRACE(row[0] + " in " + w.kind + " " + name(family));
        EXPECT_EQ(unknownGlyphs(placed, {16, 16, c.width - 32, c.height - 32}), 0);
      }
    }
  }
}

TEST(PangoMeasurer, WrappingNeverInsertsAHyphen) {
  // Each wrapped line holds exactly the glyphs of its own characters.
  for (const TextStyle& style : {kCode, TextStyle{.font = Font::system(11, Font::Weight::medium)}}) {
    for (const std::string text :
         {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "Introductiontostatisticalinference and more"}) {
      PangoLayout* l = fonts().makeLayout(text, style, 1, 30.0, 0);
      ASSERT_GT(pango_layout_get_line_count(l), 1) << text;
      for (GSList* line = pango_layout_get_lines_readonly(l); line != nullptr; line = line->next) {
        const auto* pl = static_cast<PangoLayoutLine*>(line->data);
        int glyphs = 0;
        for (GSList* run = pl->runs; run != nullptr; run = run->next) {
          glyphs += static_cast<PangoGlyphItem*>(run->data)->glyphs->num_glyphs;
        }
        const std::string shown =
            text.substr(static_cast<std::size_t>(pl->start_index), static_cast<std::size_t>(pl->length));
        EXPECT_LE(glyphs, static_cast<int>(shown.size())) << shown;
        EXPECT_GE(glyphs, static_cast<int>(shown.find_last_not_of(' ') + 1)) << shown;
      }
      g_object_unref(l);
    }
  }
}

TEST(PangoMeasurer, AMegabyteIsCutWhereItsFirstPartIsCut) {
  // 500 bytes are set whole, exactly as Pango sets them; a megabyte only as far as it shows. Both
  // overflow their line, so both must show the same part with the same "…".
  for (const std::string piece : {"Introduction to statistical inference ", "il.|", "مقدمة في الإحصاء ",
                                  "👩‍🔬📚 ", "統計学入門"}) {
    std::string whole;
    while (whole.size() + piece.size() <= 500) whole += piece;
    const std::string huge = whole + repeated(piece, 1 << 20);
    for (const TextStyle& style :
         {kTitle,
          TextStyle{
              .font = Font::system(20), .monospacedDigit = true, .lineLimit = 1, .minimumScaleFactor = 0.7},
          TextStyle{.font = Font::system(12), .lineLimit = 2}}) {
      for (double w : {40.0, 138.0, 332.0}) {
        EXPECT_EQ(layout::fitText(fonts(), whole, style, w), layout::fitText(fonts(), huge, style, w))
            << piece << " at " << w;
      }
    }
    // Drawn in a face, pixel for pixel.
    Environment env;
    env.systemVersion = SystemVersion{14, 0, 0};
    const auto first =
        renderWidget(face(env, whole, whole), WidgetFamily::systemSmall, ColorScheme::light, fonts(), {});
    const auto second =
        renderWidget(face(env, huge, huge), WidgetFamily::systemSmall, ColorScheme::light, fonts(), {});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(testing::differingShare(testing::Pixels::decode(*first), testing::Pixels::decode(*second), 0),
              0.0)
        << piece;
  }
}

TEST(PangoMeasurer, ALongTextThatShowsWholeIsSetWhole) {
  // Longer than what is always set whole, but about sixteen lines in the widest content: set exactly
  // as Pango sets all of it, with no line limit and no "…".
  const std::string text = repeated("Introduction to statistical inference ", 900);
  for (const auto& [style, maxLines] :
       {std::pair{TextStyle{.font = Font::system(12)}, 0}, std::pair{kCode, 0},
        std::pair{TextStyle{.font = Font::system(13), .lineLimit = 40}, 40}}) {
    PangoLayout* ours = fonts().makeLayout(text, style, 1, 332.0, maxLines);
    PangoLayout* all = pango_layout_copy(ours);
    pango_layout_set_text(all, text.c_str(), static_cast<int>(text.size()));
    pango_layout_set_ellipsize(all, PANGO_ELLIPSIZE_NONE);
    pango_layout_set_height(all, -1);
    EXPECT_EQ(std::string(pango_layout_get_text(ours)), text);
    EXPECT_FALSE(pango_layout_is_ellipsized(ours));
    PangoRectangle b{};
    pango_layout_get_extents(all, nullptr, &b);
    EXPECT_EQ(fonts().measure(text, style, 1, 332.0, maxLines),
              (layout::Size{static_cast<double>(b.width) / PANGO_SCALE,
                            static_cast<double>(b.height) / PANGO_SCALE}));
    g_object_unref(ours);
    g_object_unref(all);
  }
  // Without a width, lines end only at line breaks: the widest line is the text's width.
  const TextStyle style{.font = Font::system(12)};
  EXPECT_DOUBLE_EQ(fonts().measure(repeated("Lab prep\n", 1 << 20), style, 1, std::nullopt, 0).width,
                   width("Lab prep", style));
}

TEST(PangoMeasurer, AWrappingMegabyteStopsAtTheTallestWidgetWithAnEllipsis) {
  const std::string code = repeated("AMED3003", 1 << 20);
  EXPECT_GT(fonts().measure(code, kCode, 1, 100.0, 0).height, 382);
  PangoLayout* l = fonts().makeLayout(code, kCode, 1, 100.0, 0);
  EXPECT_LE(pango_layout_get_line_count(l), 32);  // 10-point lines 1.2 ems apart fill 382 points
  EXPECT_TRUE(pango_layout_is_ellipsized(l));
  g_object_unref(l);
  const double one = width("AMED3003", kCode);  // without a width: as wide as all of it, nearly
  EXPECT_NEAR(width(code, kCode), one * (1 << 17), one * (1 << 17) * 0.01);
}

}  // namespace
}  // namespace ostrel::render
