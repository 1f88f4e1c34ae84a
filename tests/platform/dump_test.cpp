#include "platform/ui/dump.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ostrel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(Dump, NumbersAreShortestRoundTripAndNonFiniteAreNamed) {
  struct Case {
    double value;
    const char* text;
  };
  const Case table[] = {
      {0, "0"},
      {-0.0, "0"},
      {5, "5"},
      {0.6, "0.6"},
      {-2.5, "-2.5"},
      {0.8470588235294118, "0.8470588235294118"},
      {1e300, "1e+300"},
      {1.5e-7, "1.5e-07"},
      {inf, "infinity"},
      {-inf, "-infinity"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const auto& [value, text] : table) EXPECT_EQ(numberText(value), text) << value;
  EXPECT_EQ(std::stod(numberText(0.1 + 0.2)), 0.1 + 0.2);
}

TEST(Dump, JsonStringsEscapeAndStayValidUtf8) {
  struct Case {
    std::string in;
    const char* out;
  };
  const Case table[] = {
      {"plain", R"("plain")"},
      {"\"q\" \\ /", R"("\"q\" \\ /")"},
      {"a\nb\tc\r\b\f", R"("a\nb\tc\r\b\f")"},
      {std::string("nul\0x", 5), R"("nul\u0000x")"},
      {"\x01\x1f\x7f", R"("\u0001\u001f\u007f")"},
      {"Stra\xC3\x9F"
       "e \xE2\x80\xAF \xF0\x9F\x93\x9A",
       "\"Stra\xC3\x9F"
       "e \xE2\x80\xAF \xF0\x9F\x93\x9A\""},
      {"bad \xFF end", "\"bad \xEF\xBF\xBD end\""},
      {"cut \xE2\x80", "\"cut \xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"overlong \xC0\xAF", "\"overlong \xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"surrogate \xED\xA0\x80", "\"surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"%s%n <b>", R"("%s%n <b>")"},
  };
  for (const auto& [in, out] : table) EXPECT_EQ(jsonString(in), out) << in;
}

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
