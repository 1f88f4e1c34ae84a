#include "ui/text_dump.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ostrel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(TextDump, ShowsNodesModifiersAndContentByIndentation) {
  const View v =
      VStack(HorizontalAlignment::leading, 6,
             {Text::verbatim("a \"b\"\n").font(Font::system(10, Font::Weight::semibold)).tracking(0.6),
              Spacer(0), Text::localized("ends %@", {std::string("10:50")})})
          .frame(inf, std::nullopt, Alignment::topLeading)
          .background(ColorView(Color::clear()));
  EXPECT_EQ(dumpText(v),
            "VStack(alignment: leading, spacing: 6)\n"
            "  .frame(maxWidth: infinity, alignment: topLeading)\n"
            "  .background(alignment: center)\n"
            "    Color(color: clear)\n"
            "  Text \"a \\\"b\\\"\\n\" verbatim\n"
            "    .font(font: system(size: 10, weight: semibold, design: default))\n"
            "    .tracking(tracking: 0.6)\n"
            "  Spacer(minLength: 0)\n"
            "  Text \"ends 10:50\" key: \"ends %@\" arguments: [\"10:50\"]\n");
}

TEST(TextDump, ValuesOfEveryKind) {
  const View v = Composite("Sample",
                           {{{"flag", true},
                             {"count", std::int64_t{-3}},
                             {"nan", std::numeric_limits<double>::quiet_NaN()},
                             {"tint", Color::rgb(1, 0.5, 0, 0.25)},
                             {"style", Style::secondary()},
                             {"corner", UnitPoint::topTrailing},
                             {"point", UnitPoint{0.25, 1}},
                             {"edges", Edges::horizontal},
                             {"colors", std::vector<Color>{Color::primary(), Color::rgb(0, 0, 0)}}}},
                           Group({}));
  EXPECT_EQ(dumpText(v),
            "Sample(flag: true, count: -3, nan: nan, tint: rgb(1, 0.5, 0, opacity: 0.25), "
            "style: hierarchicalSecondary, corner: topTrailing, point: (x: 0.25, y: 1), edges: horizontal, "
            "colors: [primary, rgb(0, 0, 0)])\n"
            "  Group\n");
}

}  // namespace
}  // namespace ostrel
