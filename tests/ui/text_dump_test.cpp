#include "ui/text_dump.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ostrel {
namespace {

TEST(TextDump, ValuesOfEveryKind) {
  const View v = Composite("Sample",
                           {{{"name", std::string("a \"b\"\n")},
                             {"flag", true},
                             {"count", std::int64_t{-3}},
                             {"nan", std::numeric_limits<double>::quiet_NaN()},
                             {"tint", Color::rgb(1, 0.5, 0, 0.25)},
                             {"style", Style::secondary()},
                             {"corner", UnitPoint::topTrailing},
                             {"point", UnitPoint{0.25, 1}},
                             {"edges", Edges::horizontal},
                             {"colors", std::vector<Color>{Color::primary(), Color::rgb(0, 0, 0)}}}},
                           Group({}).frame(std::nullopt, 20.0, Alignment::bottom));
  EXPECT_EQ(dumpText(v),
            "Sample(name: \"a \\\"b\\\"\\n\", flag: true, count: -3, nan: nan, tint: rgb(1, 0.5, 0, opacity: "
            "0.25), "
            "style: hierarchicalSecondary, corner: topTrailing, point: (x: 0.25, y: 1), edges: horizontal, "
            "colors: [primary, rgb(0, 0, 0)])\n"
            "  Group\n"
            "    .frame(maxHeight: 20, alignment: bottom)\n");
}

}  // namespace
}  // namespace ostrel
