#include "feed/decoder.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/json_writer.hpp"
#include "support/golden.hpp"
#include "support/rows.hpp"

namespace ostrel {
namespace {

const std::filesystem::path kFolder = std::filesystem::path(OSTREL_SOURCE_DIR) / "tests/data/feed";

/// The decoder's rows, tests/data/feed/*.rows: a name, a document, and what it decodes to: "feed "
/// and the feed (`describe`), or the failure's kind, " @ " and its path where it has one, " | " and
/// its detail where the row pins it.
struct Row {
  std::string name, json, expected;
};

std::vector<Row> decoderRows() {
  std::vector<Row> all;
  for (const auto& file : std::filesystem::directory_iterator(kFolder)) {
    if (file.path().filename() == "date_rule.rows") continue;
    for (const test_support::Row& r : test_support::rows("feed/" + file.path().filename().string()))
      all.push_back(Row{file.path().stem().string() + "_" + r[0], r[1], r[2]});
  }
  return all;
}

/// A feed as one line of JSON: dates as seconds since 1970, absent fields left out.
std::string describe(const Feed& f) {
  JsonWriter w;
  const auto optional = [&w](const char* key, const auto& v) {
    if (v) w.member(key, *v);
  };
  const auto color = [&w](const std::optional<UnitColor>& c) {
    if (c) w.key("color").beginObject().member("light", c->light).member("dark", c->dark).endObject();
  };
  w.beginObject().member("v", f.v).member("enabled", f.enabled).member("at", f.at.sinceEpoch);
  optional("week", f.week);
  if (f.classes) {
    w.key("classes").beginArray();
    for (const ClassItem& c : *f.classes) {
      w.beginObject().member("unit", c.unit).member("title", c.title);
      optional("where", c.where);
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
      optional("weight", d.weight);
      color(d.color);
      w.endObject();
    }
    w.endArray();
  }
  optional("cards", f.cards);
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
  expectFallbackAgrees(row.json, row.name);
}

INSTANTIATE_TEST_SUITE_P(Rows, Decode, testing::ValuesIn(decoderRows()),
                         [](const auto& row) { return row.param.name; });

/// Every case of the JSON parsing test suite under an unknown key of a valid feed (at the top, in a
/// class): accepted texts give a feed, rejected ones malformed JSON; through the fallback alike.
TEST(JsonTestSuite, UnknownKeyValuesAreValidatedButIgnored) {
  const std::string head = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z",)";
  const std::string lesson =
      R"("classes":[{"unit":"U","title":"T","start":"2026-03-02T10:00:00Z","end":"2026-03-02T12:00:00Z",)";
  int cases = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kFolder / "../json-test-suite/test_parsing")) {
    const std::string bytes = test_support::readBytes(entry.path()).value_or("");
    const std::string name = entry.path().filename().string();
    for (const std::string& json :
         {head + "\"x\":" + bytes + "}", head + lesson + "\"x\":" + bytes + "}]}", bytes}) {
      expectFallbackAgrees(json, name);
      const DecodeResult r = decodeFeed(json);
      if (json == bytes) continue;
      EXPECT_TRUE(!name.starts_with("y_") || r.ok()) << name << ": " << outcome(r, true);
      EXPECT_TRUE(!name.starts_with("n_") || outcome(r, false) == "malformed JSON")
          << name << ": " << outcome(r, true);
    }
    ++cases;
  }
  EXPECT_GT(cases, 300);
}

}  // namespace
}  // namespace ostrel
