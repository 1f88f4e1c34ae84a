#include "ui/json_dump.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ostrel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(JsonDump, NodesHaveTheFourFieldsAndTextsTheirOwn) {
  const View v = Composite("Dot", {{{"size", std::int64_t{5}}}},
                           Circle().fill(Color::rgb(1, 0.5, 0, 0.25)).foregroundStyle(Style::secondary()));
  EXPECT_EQ(
      dumpJson(v, 0),
      R"({"type":"Dot","composite":true,"args":{"size":5},"modifiers":[],"children":[)"
      R"({"type":"Circle","args":{},"modifiers":[{"name":"fill","args":{"color":{"r":1,"g":0.5,"b":0,"opacity":0.25}}},)"
      R"({"name":"foregroundStyle","args":{"style":"hierarchicalSecondary"}}],"children":[]}]})"
      "\n");
  EXPECT_EQ(dumpJson(Text::verbatim("x\ty"), 0),
            R"({"type":"Text","args":{},"modifiers":[],"children":[],"text":"x\ty","verbatim":true})"
            "\n");
  EXPECT_EQ(dumpJson(Text::localized("· %lld%%", {std::int64_t{20}}), 0),
            R"({"type":"Text","args":{},"modifiers":[],"children":[],"text":"· 20%","verbatim":false,)"
            R"("key":"· %lld%%","arguments":["20"]})"
            "\n");
  EXPECT_EQ(dumpJson(Spacer(inf), 0),
            R"({"type":"Spacer","args":{"minLength":"infinity"},"modifiers":[],"children":[]})"
            "\n");
}

TEST(JsonDump, ModifiersThatHoldViewsListThemAsContent) {
  const View v = Circle().background(ColorView(Color::clear()), Alignment::topLeading).font(Font::system(9));
  EXPECT_EQ(
      dumpJson(v, 0),
      R"({"type":"Circle","args":{},"modifiers":[)"
      R"({"name":"background","args":{"alignment":"topLeading"},"content":[)"
      R"({"type":"Color","args":{"color":"clear"},"modifiers":[],"children":[]}]},)"
      R"({"name":"font","args":{"font":{"size":9,"weight":"regular","design":"default"}}}],"children":[]})"
      "\n");
}

}  // namespace
}  // namespace ostrel
