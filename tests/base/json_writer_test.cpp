#include "base/json_writer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace ostrel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(JsonWriter, NumbersAreShortestRoundTripAndNonFiniteAreNamed) {
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
  for (const auto& [value, text] : table) EXPECT_EQ(JsonWriter::numberText(value), text) << value;
  EXPECT_EQ(std::stod(JsonWriter::numberText(0.1 + 0.2)), 0.1 + 0.2);
}

TEST(JsonWriter, JsonStringsEscapeAndStayValidUtf8) {
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
  for (const auto& [in, out] : table) EXPECT_EQ(JsonWriter::quoted(in), out) << in;
}

TEST(JsonWriter, LaysOutNestedValuesInEachLayout) {
  const auto write = [](JsonWriter::Layout layout) {
    JsonWriter w{layout};
    w.beginObject().member("a", 1).key("b").beginArray().value(true).null().value(0.5).endArray();
    w.key("c").beginObject().endObject().member("d", inf).member("e", std::int64_t{-3}).endObject();
    return std::move(w).text();
  };
  EXPECT_EQ(write(JsonWriter::compact), R"({"a":1,"b":[true,null,0.5],"c":{},"d":"infinity","e":-3})");
  EXPECT_EQ(write(JsonWriter::spaced),
            R"({"a": 1, "b": [true, null, 0.5], "c": {}, "d": "infinity", "e": -3})");
  EXPECT_EQ(write(JsonWriter::indented(2)),
            "{\n  \"a\": 1,\n  \"b\": [\n    true,\n    null,\n    0.5\n  ],\n  \"c\": {},\n"
            "  \"d\": \"infinity\",\n  \"e\": -3\n}");
}

TEST(JsonWriter, KeysAreEscapedLikeValues) {
  JsonWriter w;
  w.beginObject().member("k\"\n", "v").endObject();
  EXPECT_EQ(w.text(), R"({"k\"\n":"v"})");
}

}  // namespace
}  // namespace ostrel
