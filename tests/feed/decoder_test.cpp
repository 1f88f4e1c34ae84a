#include "feed/decoder.hpp"

#include <gtest/gtest.h>
#include <simdjson.h>

#include <sstream>

#include "base/json_writer.hpp"
#include "rows.hpp"

namespace ostrel {
namespace {

/// The decoder's rows, tests/data/feed/*.rows: three lines each, the row's name, "in  " and the
/// document, "out " and what it decodes to: "feed " and the feed (below), or the failure's kind in
/// words, " @ " and its path where it has one, " | " and its detail where the row pins it.
struct Row {
  std::string name;
  std::string json;
  std::string expected;
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

std::vector<Row> decoderRows() {
  std::vector<Row> rows;
  for (const auto& file : std::filesystem::directory_iterator(test_rows::kFolder)) {
    if (file.path().filename() == "date_rule.rows") continue;
    const std::vector<std::string> lines = test_rows::lines(file.path());
    for (std::size_t i = 0; i + 2 < lines.size(); i += 3) {
      rows.push_back(Row{file.path().stem().string() + "_" + lines[i],
                         test_rows::unescape(lines[i + 1].substr(4)),
                         test_rows::unescape(lines[i + 2].substr(4))});
    }
  }
  return rows;
}

/// A feed as one line of JSON: dates as seconds since 1970, absent fields left out.
std::string describe(const Feed& f) {
  JsonWriter w;
  const auto color = [&w](const std::optional<UnitColor>& c) {
    if (c) w.key("color").beginObject().member("light", c->light).member("dark", c->dark).endObject();
  };
  w.beginObject().member("v", f.v).member("enabled", f.enabled).member("at", f.at.sinceEpoch);
  if (f.week) w.member("week", *f.week);
  if (f.classes) {
    w.key("classes").beginArray();
    for (const ClassItem& c : *f.classes) {
      w.beginObject().member("unit", c.unit).member("title", c.title);
      if (c.where) w.member("where", *c.where);
      w.member("start", c.start.sinceEpoch).member("end", c.end.sinceEpoch);
      color(c.color);
      w.endObject();
    }
    w.endArray();
  }
  if (f.due) {
    w.key("due").beginArray();
    for (const DueItem& d : *f.due) {
      w.beginObject().member("unit", d.unit).member("name", d.name).member("due", d.due.sinceEpoch);
      if (d.weight) w.member("weight", *d.weight);
      color(d.color);
      w.endObject();
    }
    w.endArray();
  }
  if (f.cards) w.member("cards", *f.cards);
  return std::string(w.endObject().text());
}

/// `r` in the form of a row's outcome; the detail only if `withDetail`.
std::string outcome(const DecodeResult& r, bool withDetail) {
  if (r.ok()) return "feed " + describe(*r);
  std::string s{kindName(r.error().kind)};
  if (!r.error().path.empty()) s += " @ " + r.error().path;
  if (withDetail) s += r.error().detail.empty() ? " |" : " | " + r.error().detail;
  return s;
}

/// The fallback for numbers the parser cannot hold decides as the parser does.
void expectFallbackAgrees(const std::string& json, const std::string& name) {
  const DecodeResult parsed = decodeFeed(json);
  const DecodeResult fallback = detail::decodeThroughBigNumberFallback(json);
  const bool malformed = !parsed.ok() && parsed.error().kind == DecodeErrorKind::malformedJson;
  EXPECT_EQ(outcome(fallback, !malformed), outcome(parsed, !malformed)) << name;
}

class Decode : public testing::TestWithParam<Row> {};

TEST_P(Decode, GivesTheExpectedOutcome) {
  const Row& row = GetParam();
  const DecodeResult got = decodeFeed(row.json);
  EXPECT_EQ(outcome(got, row.expected.find(" |") != std::string::npos), row.expected);
  // Reading the text in place and handing it over (released once parsed) decide as a copy does.
  std::string padded = row.json;
  padded.reserve(padded.size() + simdjson::SIMDJSON_PADDING);
  EXPECT_EQ(decodeFeed(simdjson::padded_string_view(padded)), got);
  EXPECT_EQ(decodeFeed(simdjson::padded_string(row.json), row.json.size()), got);
  expectFallbackAgrees(row.json, row.name);
}

INSTANTIATE_TEST_SUITE_P(Rows, Decode, testing::ValuesIn(decoderRows()),
                         [](const auto& row) { return row.param.name; });

/// Every case of the JSON parsing test suite, placed under an unknown key of a valid feed (at the
/// top and inside a class): accepted texts give a feed, rejected ones fail as malformed JSON, the rest
/// either way; through the fallback alike, and read as a whole document too.
TEST(JsonTestSuite, UnknownKeyValuesAreValidatedButIgnored) {
  const std::string head = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z",)";
  const std::string lesson =
      R"({"unit":"U","title":"T","start":"2026-03-02T10:00:00Z","end":"2026-03-02T12:00:00Z",)";
  int y = 0, n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(OSTREL_SOURCE_DIR) /
                                                               "tests/data/json-test-suite/test_parsing")) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string name = entry.path().filename().string();
    const std::string top = head + "\"x\":" + bytes.str() + "}";
    const std::string nested = head + R"("classes":[)" + lesson + "\"x\":" + bytes.str() + "}]}";
    for (const std::string& json : {top, nested, bytes.str()}) expectFallbackAgrees(json, name);
    for (const std::string& json : {top, nested}) {
      const DecodeResult r = decodeFeed(json);
      if (name.starts_with("y_")) {
        EXPECT_TRUE(r.ok()) << name << ": " << message(r.error());
      } else if (name.starts_with("n_")) {
        EXPECT_EQ(outcome(r, false), "malformed JSON") << name;
      }
    }
    y += name.starts_with("y_") ? 1 : 0;
    n += name.starts_with("n_") ? 1 : 0;
  }
  EXPECT_GT(y, 0);
  EXPECT_GT(n, 0);
}

}  // namespace
}  // namespace ostrel
