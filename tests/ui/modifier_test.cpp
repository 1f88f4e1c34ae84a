// Every modifier: the factory that writes it, its name and its arguments in order, as the dumps
// show them.
#include "ui/modifier.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "ui/text_dump.hpp"
#include "ui/view.hpp"

namespace ostrel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

struct Row {
  const char* name;
  std::function<View(View)> apply;
  const char* line;  ///< the modifier's line in the text dump
};

const Row rows[] = {
    {"Font",
     [](View v) {
       return std::move(v).font(Font::system(11, Font::Weight::medium, Font::Design::monospaced));
     },
     ".font(font: system(size: 11, weight: medium, design: monospaced))"},
    {"Tracking", [](View v) { return std::move(v).tracking(0.6); }, ".tracking(tracking: 0.6)"},
    {"ForegroundStyle", [](View v) { return std::move(v).foregroundStyle(Style::secondary()); },
     ".foregroundStyle(style: hierarchicalSecondary)"},
    {"ForegroundColor", [](View v) { return std::move(v).foregroundStyle(Color::secondary()); },
     ".foregroundStyle(style: secondary)"},
    {"Fill", [](View v) { return std::move(v).fill(Color::rgb(1, 0, 0)); }, ".fill(color: rgb(1, 0, 0))"},
    {"LineLimit", [](View v) { return std::move(v).lineLimit(1); }, ".lineLimit(lines: 1)"},
    {"MinimumScaleFactor", [](View v) { return std::move(v).minimumScaleFactor(0.7); },
     ".minimumScaleFactor(factor: 0.7)"},
    {"MonospacedDigit", [](View v) { return std::move(v).monospacedDigit(); }, ".monospacedDigit()"},
    {"Frame", [](View v) { return std::move(v).frame(3, 28); },
     ".frame(width: 3, height: 28, alignment: center)"},
    {"FlexibleFrame", [](View v) { return std::move(v).frame(inf, inf, Alignment::topLeading); },
     ".frame(maxWidth: infinity, maxHeight: infinity, alignment: topLeading)"},
    {"FlexibleFrameOneAxis", [](View v) { return std::move(v).frame(std::nullopt, 20.0, Alignment::bottom); },
     ".frame(maxHeight: 20, alignment: bottom)"},
    {"DefaultPadding", [](View v) { return std::move(v).padding(); }, ".padding(edges: all)"},
    {"Padding", [](View v) { return std::move(v).padding(Edges::vertical, 2); },
     ".padding(edges: vertical, length: 2)"},
    {"Background", [](View v) { return std::move(v).background(Divider()); },
     ".background(alignment: center)\n    Divider"},
    {"ContainerBackground",
     [](View v) { return std::move(v).containerBackground(Divider(), Alignment::top); },
     ".containerBackground(placement: \"widget\", alignment: top)\n    Divider"},
};

void PrintTo(const Row& r, std::ostream* os) {
  *os << r.name;
}

class Modifiers : public testing::TestWithParam<Row> {};

TEST_P(Modifiers, AreWrittenByTheirFactoryAndPrintedByName) {
  const View v = GetParam().apply(Circle());
  ASSERT_EQ(v.modifiers.size(), 1u);
  EXPECT_EQ(dumpText(v), std::string("Circle\n  ") + GetParam().line + "\n");
  const std::string named = "." + std::string(name(v.modifiers[0])) + "(";
  EXPECT_EQ(std::string(GetParam().line).substr(0, named.size()), named);
}

INSTANTIATE_TEST_SUITE_P(Every, Modifiers, testing::ValuesIn(rows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Modifiers, KeepTheirOrderAndTakePartInEquality) {
  const View a = Text::verbatim("x").font(Font::system(10)).tracking(0.6);
  EXPECT_NE(a, Text::verbatim("x").tracking(0.6).font(Font::system(10)));
  EXPECT_EQ(a, Text::verbatim("x").font(Font::system(10)).tracking(0.6));
  EXPECT_NE(Circle().background(Divider()), Circle().background(Spacer(0)));
  EXPECT_NE(Circle().background(Divider()), Circle().containerBackground(Divider()));
  EXPECT_EQ(content(Circle().background(Divider()).modifiers[0]), std::vector<View>{Divider()});
  EXPECT_TRUE(content(Circle().fill(Color::clear()).modifiers[0]).empty());
}

}  // namespace
}  // namespace ostrel
