// Text as Pango sets it: every script a face may show is drawn (Pango's own count of unknown
// glyphs, in every face), the standing-in families come first, wrapping adds nothing to a text,
// the monospaced zero is the slashed one, and a long text costs only what shows, with the same cut.
#include "render/text.hpp"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "faces.hpp"
#include "feed/date_rule.hpp"
#include "fonts.hpp"
#include "pixels.hpp"
#include "render/canvas.hpp"
#include "render/image.hpp"
#include "time/date_format.hpp"
#include "timeline/sample.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::render {
namespace {

using layout::TextStyle;

const TextStyle kTitle{.font = Font::system(15, Font::Weight::semibold), .lineLimit = 1};
const TextStyle kCode{.font = Font::system(10, Font::Weight::medium, Font::Design::monospaced)};

/// The families of the fonts Pango chose for each run of `text`, in order.
std::vector<std::string> runFamilies(const std::string& text, const TextStyle& style) {
  PangoLayout* l = fonts().makeLayout(text, style, 1, std::nullopt, 1);
  std::vector<std::string> out;
  for (GSList* run = pango_layout_get_line_readonly(l, 0)->runs; run != nullptr; run = run->next) {
    const auto* item = static_cast<PangoGlyphItem*>(run->data);
    PangoFontDescription* d = pango_font_describe(item->item->analysis.font);
    out.emplace_back(pango_font_description_get_family(d));
    pango_font_description_free(d);
  }
  g_object_unref(l);
  return out;
}

int unknownGlyphs(const std::string& text, const TextStyle& style) {
  PangoLayout* l = fonts().makeLayout(text, style, 1, std::nullopt, 1);
  const int unknown = pango_layout_get_unknown_glyphs_count(l);
  g_object_unref(l);
  return unknown;
}

struct Script {
  const char* name;
  std::string text;
};
std::ostream& operator<<(std::ostream& out, const Script& row) {
  return out << row.name;
}

class Scripts : public ::testing::TestWithParam<Script> {};

TEST_P(Scripts, DrawWithoutAMissingGlyph) {
  EXPECT_EQ(unknownGlyphs(GetParam().text, kTitle), 0) << GetParam().name;
  EXPECT_EQ(unknownGlyphs(GetParam().text, kCode), 0) << GetParam().name;
}

/// The unknown glyphs of every text of `placed`, set as it is drawn.
int unknownGlyphs(const layout::Placed& placed) {
  int unknown = 0;
  if (placed.kind == layout::Placed::Kind::text) {
    PangoLayout* l = fonts().makeLayout(placed.text, placed.textStyle, placed.fit.scale, placed.fit.width,
                                        placed.fit.maxLines);
    unknown += pango_layout_get_unknown_glyphs_count(l);
    g_object_unref(l);
  }
  for (const layout::Placed& b : placed.behind) unknown += unknownGlyphs(b);
  for (const layout::Placed& c : placed.children) unknown += unknownGlyphs(c);
  return unknown;
}

TEST_P(Scripts, DrawWithoutAMissingGlyphInEveryFace) {
  // The sample feed with every text of it (units, titles, rooms, names, the week) in the script, in
  // every face, in the styles and sizes each face sets it in.
  const Date now = parseDate("2026-03-02T09:30:00Z").value_or(Date{});
  Feed feed = Sample::feed(Clock::fixed(now));
  const std::string& text = GetParam().text;
  feed.week = text;
  for (ClassItem& c : *feed.classes) c.unit = c.title = c.where.emplace(text);
  for (DueItem& d : *feed.due) d.unit = d.name = text;
  const Entry entry{.date = now, .loaded = Loaded::feed(std::move(feed))};
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    for (WidgetFamily family : w.families) {
      Environment env;
      env.widgetFamily = family;
      env.systemVersion = SystemVersion{14, 0, 0};
      env.locale = "en_US";
      env.timeZone = TimeZone::utc();
      const Canvas c = canvasFor(family);
      const layout::Placed placed =
          layout::layoutWidget(w.content(entry, env), {0, 0, c.width, c.height}, c.margin, fonts());
      EXPECT_EQ(unknownGlyphs(placed), 0) << GetParam().name << " in " << w.kind << " " << name(family);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Titles, Scripts,
    ::testing::Values(
        Script{"Japanese", "日本語の講義 情報科学 ゼミ"}, Script{"Chinese", "中文课程 统计学导论"},
        Script{"Korean", "한국어 강의 통계학"}, Script{"Arabic", "مقدمة في الإحصاء التطبيقي"},
        Script{"Hebrew", "מבוא לסטטיסטיקה"}, Script{"Hindi", "सांख्यिकी का परिचय"}, Script{"Thai", "สถิติเบื้องต้น"},
        Script{"Emoji", "📚🧪 Lab prep 🎓"},
        Script{"ZWJ sequences", "👩‍🔬 👨‍👩‍👧‍👦 🏳️‍🌈 👍🏽"},
        // The program's own weekday names and times in those languages.
        Script{"ja_JP weekday",
               DateFormat::weekdayTime(Date{1'772'445'600}, "ja_JP", TimeZone::named("Asia/Tokyo"))},
        Script{"zh_CN weekday",
               DateFormat::weekdayTime(Date{1'772'445'600}, "zh_CN", TimeZone::named("Asia/Shanghai"))},
        Script{"ko_KR weekday",
               DateFormat::weekdayTime(Date{1'772'445'600}, "ko_KR", TimeZone::named("Asia/Seoul"))},
        Script{"ar_EG weekday",
               DateFormat::weekdayTime(Date{1'772'445'600}, "ar_EG", TimeZone::named("Africa/Cairo"))},
        Script{"th_TH weekday",
               DateFormat::weekdayTime(Date{1'772'445'600}, "th_TH", TimeZone::named("Asia/Bangkok"))},
        Script{"hi_IN weekday",
               DateFormat::weekdayTime(Date{1'772'445'600}, "hi_IN", TimeZone::named("Asia/Kolkata"))}),
    [](const ::testing::TestParamInfo<Script>& row) {
      std::string name = row.param.name;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST(Fonts, InterAndJetBrainsMonoComeFirst) {
  EXPECT_EQ(runFamilies("Systems programming 2310", kTitle), std::vector<std::string>{"Inter"});
  EXPECT_EQ(runFamilies("COMP2310", kCode), std::vector<std::string>{"JetBrains Mono"});
  // Another script falls back for its own run only.
  const auto mixed = runFamilies("Lab 日本語 prep", kTitle);
  ASSERT_EQ(mixed.size(), 3u);
  EXPECT_EQ(mixed.front(), "Inter");
  EXPECT_NE(mixed[1], "Inter");
  EXPECT_EQ(mixed.back(), "Inter");
}

TEST(Fonts, EmojiAreDrawnInColour) {
  // Black text: any pixel with colour in it comes from the emoji font's own colours.
  const View v = Text::verbatim("📚🎓").font(Font::system(40)).foregroundStyle(Style::of(Color::rgb(0, 0, 0)));
  const auto png = renderWidget(v, WidgetFamily::systemSmall, ColorScheme::light, fonts(), {.scale = 1});
  ASSERT_TRUE(png);
  const testing::Pixels px = testing::Pixels::decode(*png);
  int coloured = 0;
  for (const testing::Pixel& p : px.data) {
    if (p.a > 200 && std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) > 60) ++coloured;
  }
  EXPECT_GT(coloured, 100);
}

TEST(Fonts, TheMonospacedZeroIsTheSlashedOne) {
  // The glyph Pango picks for "0" in the monospaced design, against the font's default zero.
  auto zeroGlyph = [](PangoLayout* l) {
    const auto* item = static_cast<PangoGlyphItem*>(pango_layout_get_line_readonly(l, 0)->runs->data);
    return item->glyphs->glyphs[0].glyph;
  };
  PangoLayout* ours = fonts().makeLayout("0", kCode, 1, std::nullopt, 1);
  PangoLayout* plain = pango_layout_new(pango_layout_get_context(ours));
  pango_layout_set_text(plain, "0", -1);
  pango_layout_set_font_description(plain, pango_layout_get_font_description(ours));
  EXPECT_NE(zeroGlyph(ours), zeroGlyph(plain));
  // The system font keeps its own zero.
  PangoLayout* title = fonts().makeLayout("0", kTitle, 1, std::nullopt, 1);
  PangoLayout* plainTitle = pango_layout_new(pango_layout_get_context(title));
  pango_layout_set_text(plainTitle, "0", -1);
  pango_layout_set_font_description(plainTitle, pango_layout_get_font_description(title));
  EXPECT_EQ(zeroGlyph(title), zeroGlyph(plainTitle));
  for (PangoLayout* l : {ours, plain, title, plainTitle}) g_object_unref(l);
}

TEST(Wrapping, NeverInsertsAHyphen) {
  // Each wrapped line holds exactly the glyphs of its own characters: no hyphen is added at a break.
  for (const TextStyle& style : {kCode, TextStyle{.font = Font::system(11, Font::Weight::medium)}}) {
    for (const std::string text :
         {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "Introductiontostatisticalinference and probability"}) {
      for (double width : {30.0, 61.5, 100.0}) {
        PangoLayout* l = fonts().makeLayout(text, style, 1, width, 0);
        ASSERT_GT(pango_layout_get_line_count(l), 1) << text << " at " << width;
        for (GSList* line = pango_layout_get_lines_readonly(l); line != nullptr; line = line->next) {
          const auto* pl = static_cast<PangoLayoutLine*>(line->data);
          int glyphs = 0;
          for (GSList* run = pl->runs; run != nullptr; run = run->next) {
            glyphs += static_cast<PangoGlyphItem*>(run->data)->glyphs->num_glyphs;
          }
          const std::string shown =
              text.substr(static_cast<std::size_t>(pl->start_index), static_cast<std::size_t>(pl->length));
          std::size_t visible = shown.size();
          while (visible > 0 && shown[visible - 1] == ' ') --visible;
          EXPECT_LE(glyphs, static_cast<int>(shown.size())) << text << " at " << width << ": " << shown;
          EXPECT_GE(glyphs, static_cast<int>(visible)) << text << " at " << width << ": " << shown;
        }
        g_object_unref(l);
      }
    }
  }
}

/// `piece` repeated to `bytes` bytes.
std::string repeated(const std::string& piece, std::size_t bytes) {
  std::string out;
  while (out.size() < bytes) out += piece;
  out.resize(bytes);
  return out;
}

struct LongText {
  const char* name;
  std::string piece;
};
std::ostream& operator<<(std::ostream& out, const LongText& row) {
  return out << row.name;
}

class LongTexts : public ::testing::TestWithParam<LongText> {};

TEST_P(LongTexts, AMegabyteIsCutWhereItsFirstPartIsCut) {
  // 500 bytes are set whole, exactly as Pango sets them; a megabyte only as far as it shows. Both
  // overflow their line, so both must show the same part with the same "…".
  const std::string piece = GetParam().piece;
  std::string whole;
  while (whole.size() + piece.size() <= 500) whole += piece;
  const std::string huge = whole + repeated(piece, 1 << 20);
  for (const TextStyle& base : {kTitle,
                                TextStyle{.font = Font::system(20, Font::Weight::medium),
                                .monospacedDigit = true,
                                .lineLimit = 1,
                                .minimumScaleFactor = 0.7},
                                TextStyle{.font = Font::system(12), .lineLimit = 2}}) {
    for (double width : {40.0, 138.0, 332.0}) {
      const layout::TextFit a = layout::fitText(fonts(), whole, base, width);
      const layout::TextFit b = layout::fitText(fonts(), huge, base, width);
      EXPECT_EQ(a, b) << GetParam().name << " at " << width;
    }
  }
  // Drawn in a face, pixel for pixel.
  Environment env;
  env.colorScheme = ColorScheme::light;
  env.systemVersion = SystemVersion{14, 0, 0};
  const auto first =
      renderWidget(face(env, whole, whole), WidgetFamily::systemSmall, ColorScheme::light, fonts(), {});
  const auto second =
      renderWidget(face(env, huge, huge), WidgetFamily::systemSmall, ColorScheme::light, fonts(), {});
  ASSERT_TRUE(first && second);
  EXPECT_EQ(testing::differingShare(testing::Pixels::decode(*first), testing::Pixels::decode(*second), 0),
            0.0)
      << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Texts, LongTexts,
                         ::testing::Values(LongText{"latin", "Introduction to statistical inference "},
                                           LongText{"narrow", "il.|"},
                                           LongText{"arabic", "مقدمة في الإحصاء "},
                                           LongText{"emoji", "👩‍🔬📚 "},
                                           LongText{"cjk", "統計学入門"}));

TEST(LongTexts, ATextThatShowsWholeIsSetWhole) {
  // Longer than what is always set whole, but about sixteen lines when wrapped in the widest content:
  // set exactly as Pango sets all of it, with no line limit and no "…".
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
    EXPECT_EQ(pango_layout_get_line_count(ours), pango_layout_get_line_count(all));
    PangoRectangle a{}, b{};
    pango_layout_get_extents(ours, nullptr, &a);
    pango_layout_get_extents(all, nullptr, &b);
    EXPECT_EQ(std::tie(a.width, a.height), std::tie(b.width, b.height));
    EXPECT_EQ(fonts().measure(text, style, 1, 332.0, maxLines),
              (layout::Size{static_cast<double>(b.width) / PANGO_SCALE,
                            static_cast<double>(b.height) / PANGO_SCALE}));
    g_object_unref(ours);
    g_object_unref(all);
  }
}

TEST(LongTexts, AMegabyteOfShortLinesIsAsWideAsItsLines) {
  // Without a width, lines end only at line breaks: the widest line is the text's width, however
  // many lines there are.
  const TextStyle style{.font = Font::system(12)};
  const double line = fonts().measure("Lab prep", style, 1, std::nullopt, 1).width;
  EXPECT_DOUBLE_EQ(fonts().measure(repeated("Lab prep\n", 1 << 20), style, 1, std::nullopt, 0).width, line);
}

TEST(LongTexts, AWrappingMegabyteStopsAtTheTallestWidgetWithAnEllipsis) {
  const std::string code = repeated("AMED3003", 1 << 20);
  // Taller than the tallest widget (382 points), but no more lines than 10-point lines 1.2 ems apart
  // could fill it with.
  const layout::Size size = fonts().measure(code, kCode, 1, 100.0, 0);
  EXPECT_GT(size.height, 382);
  PangoLayout* l = fonts().makeLayout(code, kCode, 1, 100.0, 0);
  EXPECT_LE(pango_layout_get_line_count(l), 32);
  EXPECT_TRUE(pango_layout_is_ellipsized(l));
  g_object_unref(l);
  // Without a width it is as wide as all of it, give or take a little.
  const double one = fonts().measure("AMED3003", kCode, 1, std::nullopt, 1).width;
  EXPECT_NEAR(fonts().measure(code, kCode, 1, std::nullopt, 1).width, one * (1 << 17),
              one * (1 << 17) * 0.01);
}

}  // namespace
}  // namespace ostrel::render
