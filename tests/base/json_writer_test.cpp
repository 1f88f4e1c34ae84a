#include "base/json_writer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "support/rows.hpp"

namespace ostrel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(JsonWriter, NumbersAndStrings) {
  for (const auto& r : test_support::rowsWithAbsent("base/json_writer.tsv")) {
    const std::string text = *r[0] == "number" ? JsonWriter::numberText(std::strtod(r[1]->c_str(), nullptr))
                                               : JsonWriter::quoted(*r[1]);
    EXPECT_EQ(text, *r[2]) << *r[1];
  }
  EXPECT_EQ(std::stod(JsonWriter::numberText(0.1 + 0.2)), 0.1 + 0.2);
}

TEST(JsonWriter, LaysOutNestedValuesInEachLayout) {
  const auto write = [](JsonWriter::Layout layout) {
    JsonWriter w{layout};
    w.beginObject().member("a\"\n", 1).key("b").beginArray().value(true).null().value(0.5).endArray();
    w.key("c").beginObject().endObject().member("d", inf).member("e", std::int64_t{-3}).endObject();
    return std::move(w).text();
  };
  EXPECT_EQ(write(JsonWriter::compact), R"({"a\"\n":1,"b":[true,null,0.5],"c":{},"d":"infinity","e":-3})");
  EXPECT_EQ(write(JsonWriter::spaced),
            R"({"a\"\n": 1, "b": [true, null, 0.5], "c": {}, "d": "infinity", "e": -3})");
  EXPECT_EQ(write(JsonWriter::indented(2)),
            "{\n  \"a\\\"\\n\": 1,\n  \"b\": [\n    true,\n    null,\n    0.5\n  ],\n  \"c\": {},\n"
            "  \"d\": \"infinity\",\n  \"e\": -3\n}");
}

}  // namespace
}  // namespace ostrel
