#include "platform/ui/dump.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ostrel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

View sample() {
  return VStack(HorizontalAlignment::leading, 6,
                {Text::verbatim("a \"b\"").font(Font::system(10, Font::Weight::semibold)).tracking(0.6),
                 Spacer(0), Text::localized("ends %@", {std::string("10:50")})})
      .frame(inf, std::nullopt, Alignment::topLeading)
      .background(ColorView(Color::clear()));
}

TEST(Dump, TextFormShowsNodesModifiersAndContentByIndentation) {
  EXPECT_EQ(dumpText(sample()),
            "VStack(alignment: leading, spacing: 6)\n"
            "  .frame(maxWidth: infinity, alignment: topLeading)\n"
            "  .background(alignment: center)\n"
            "    Color(color: clear)\n"
            "  Text \"a \\\"b\\\"\" verbatim\n"
            "    .font(font: system(size: 10, weight: semibold, design: default))\n"
            "    .tracking(tracking: 0.6)\n"
            "  Spacer(minLength: 0)\n"
            "  Text \"ends 10:50\" key: \"ends %@\" arguments: [\"10:50\"]\n");
}

TEST(Dump, JsonFormHasTheFourFieldsTextFieldsAndColours) {
  const View v = Composite("Dot", {{{"size", std::int64_t{5}}}},
                           Circle().fill(Color::rgb(1, 0.5, 0, 0.25)).foregroundStyle(Style::secondary()));
  EXPECT_EQ(
      dumpJson(v, 0),
      R"({"type":"Dot","composite":true,"args":{"size":5},"modifiers":[],"children":[)"
      R"({"type":"Circle","args":{},"modifiers":[{"name":"fill","args":{"color":{"r":1,"g":0.5,"b":0,"opacity":0.25}}},)"
      R"({"name":"foregroundStyle","args":{"style":"hierarchicalSecondary"}}],"children":[]}]})"
      "\n");
  EXPECT_EQ(dumpJson(Text::verbatim("x"), 0),
            R"({"type":"Text","args":{},"modifiers":[],"children":[],"text":"x","verbatim":true})"
            "\n");
  EXPECT_EQ(dumpJson(Text::localized("· %lld%%", {std::int64_t{20}}), 0),
            R"({"type":"Text","args":{},"modifiers":[],"children":[],"text":"· 20%","verbatim":false,)"
            R"("key":"· %lld%%","arguments":["20"]})"
            "\n");
  EXPECT_EQ(dumpJson(Spacer(inf), 0),
            R"({"type":"Spacer","args":{"minLength":"infinity"},"modifiers":[],"children":[]})"
            "\n");
}

TEST(Dump, IndentedJsonIsTheSameDocumentLaidOut) {
  const std::string pretty = dumpJson(sample());
  std::string squeezed;
  bool inString = false;
  for (std::size_t i = 0; i < pretty.size(); ++i) {
    const char c = pretty[i];
    if (c == '"' && (i == 0 || pretty[i - 1] != '\\')) inString = !inString;
    if (!inString && (c == ' ' || c == '\n')) continue;
    squeezed += c;
  }
  EXPECT_EQ(squeezed + "\n", dumpJson(sample(), 0));
  EXPECT_NE(pretty.find("\n  \"args\": {\n    \"alignment\": \"leading\","), std::string::npos);
}

}  // namespace
}  // namespace ostrel
