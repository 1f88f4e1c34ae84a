#include "feed/decoder.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace ostrel {
namespace {

constexpr double kMonday = 1'772'445'600.0;  // 2026-03-02T10:00:00Z
const std::string kHead = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z")";

/// A valid document with `rest` appended to the top-level object.
std::string doc(const std::string& rest = "") {
  return kHead + rest + "}";
}

const std::string kClass =
    R"({"unit":"FINC3600","title":"Lecture","where":"H70","start":"2026-03-02T10:00:00Z","end":"2026-03-02T12:00:00Z"})";
const std::string kDue = R"({"unit":"FINC3600","name":"Quiz","due":"2026-03-02T10:00:00Z"})";

/// `kClass` or `kDue` with `extra` members added.
std::string with(const std::string& item, const std::string& extra) {
  return item.substr(0, item.size() - 1) + "," + extra + "}";
}

Feed minimal() {
  return Feed{.v = 1,
              .enabled = true,
              .at = Date{kMonday},
              .week = std::nullopt,
              .classes = std::nullopt,
              .due = std::nullopt,
              .cards = std::nullopt};
}

ClassItem lecture() {
  return ClassItem{.unit = "FINC3600",
                   .title = "Lecture",
                   .where = "H70",
                   .start = Date{kMonday},
                   .end = Date{kMonday + 7200},
                   .color = std::nullopt};
}

DueItem quiz() {
  return DueItem{.unit = "FINC3600",
                 .name = "Quiz",
                 .due = Date{kMonday},
                 .weight = std::nullopt,
                 .color = std::nullopt};
}

template <class F>
Feed feedWith(F change) {
  Feed f = minimal();
  change(f);
  return f;
}

/// One row: a document and what it decodes to. An error row with an empty message checks the path only.
struct Row {
  const char* name;
  std::string json;
  DecodeResult expected;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << r.name;
}

class Decode : public testing::TestWithParam<Row> {};

TEST_P(Decode, GivesTheExpectedOutcome) {
  const Row& row = GetParam();
  const DecodeResult got = decodeFeed(row.json);
  if (row.expected.ok()) {
    ASSERT_TRUE(got.ok()) << got.error().path << ": " << got.error().message;
    EXPECT_TRUE(got.value() == row.expected.value());
    return;
  }
  ASSERT_FALSE(got.ok()) << row.json;
  EXPECT_EQ(got.error().path, row.expected.error().path);
  if (!row.expected.error().message.empty()) {
    EXPECT_EQ(got.error().message, row.expected.error().message);
  }
}

std::string rowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

DecodeError at(std::string path, std::string message = "") {
  return DecodeError{std::move(path), std::move(message)};
}

INSTANTIATE_TEST_SUITE_P(
    Presence, Decode,
    testing::Values(
        Row{"Minimal", doc(), minimal()},
        Row{"OptionalNullIsAbsent", doc(R"(,"week":null,"classes":null,"due":null,"cards":null)"), minimal()},
        Row{"EmptyListIsPresent", doc(R"(,"classes":[],"due":[])"), feedWith([](Feed& f) {
              f.classes.emplace();
              f.due.emplace();
            })},
        Row{"AbsentV", R"({"enabled":true,"at":"2026-03-02T10:00:00Z"})", at("v", "required key is absent")},
        Row{"NullV", R"({"v":null,"enabled":true,"at":"2026-03-02T10:00:00Z"})",
            at("v", "required key is null")},
        Row{"AbsentEnabled", R"({"v":1,"at":"2026-03-02T10:00:00Z"})",
            at("enabled", "required key is absent")},
        Row{"AbsentAt", R"({"v":1,"enabled":false})", at("at", "required key is absent")},
        Row{"NullAt", R"({"v":1,"enabled":false,"at":null})", at("at", "required key is null")},
        Row{"ClassWithoutWhere",
            doc(R"(,"classes":[{"unit":"U","title":"T","start":"2026-03-02T10:00:00Z","end":"2026-03-02T12:00:00Z"}])"),
            feedWith([](Feed& f) {
              f.classes = {ClassItem{.unit = "U",
                                     .title = "T",
                                     .where = std::nullopt,
                                     .start = Date{kMonday},
                                     .end = Date{kMonday + 7200},
                                     .color = std::nullopt}};
            })},
        Row{"ClassWhereNull",
            doc(R"(,"classes":[{"unit":"U","title":"T","where":null,"start":"2026-03-02T10:00:00Z",)"
                R"("end":"2026-03-02T12:00:00Z"}])"),
            feedWith([](Feed& f) {
              f.classes = {ClassItem{.unit = "U",
                                     .title = "T",
                                     .where = std::nullopt,
                                     .start = Date{kMonday},
                                     .end = Date{kMonday + 7200},
                                     .color = std::nullopt}};
            })},
        Row{"ClassWhereTwice", doc(R"(,"classes":[)" + with(kClass, R"("where":null)") + "]"),
            at("classes[0].where", "duplicate key")},
        Row{"ClassWithoutEnd",
            doc(R"(,"classes":[)" + kClass + R"(,{"unit":"U","title":"T","start":"2026-03-02T10:00:00Z"}])"),
            at("classes[1].end", "required key is absent")},
        Row{"ColorWithoutDark", doc(R"(,"classes":[)" + with(kClass, R"("color":{"light":"#A91991"})") + "]"),
            at("classes[0].color.dark", "required key is absent")},
        Row{"ColorNull", doc(R"(,"due":[)" + with(kDue, R"("color":null)") + "]"),
            feedWith([](Feed& f) { f.due = {quiz()}; })},
        Row{"DueWithoutName", doc(R"(,"due":[{"unit":"U","due":"2026-03-02T10:00:00Z"}])"),
            at("due[0].name", "required key is absent")},
        Row{"WeightNull", doc(R"(,"due":[)" + with(kDue, R"("weight":null)") + "]"),
            feedWith([](Feed& f) { f.due = {quiz()}; })}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Integers, Decode,
    testing::Values(Row{"Cards", doc(R"(,"cards":7)"), feedWith([](Feed& f) { f.cards = 7; })},
                    Row{"CardsNegative", doc(R"(,"cards":-3)"), feedWith([](Feed& f) { f.cards = -3; })},
                    Row{"CardsMax", doc(R"(,"cards":9223372036854775807)"),
                        feedWith([](Feed& f) { f.cards = INT64_MAX; })},
                    Row{"CardsMin", doc(R"(,"cards":-9223372036854775808)"),
                        feedWith([](Feed& f) { f.cards = INT64_MIN; })},
                    Row{"VersionTwoDecodes", R"({"v":2,"enabled":true,"at":"2026-03-02T10:00:00Z"})",
                        feedWith([](Feed& f) { f.v = 2; })},
                    Row{"CardsString", doc(R"(,"cards":"3")"), at("cards", "expected an integer")},
                    Row{"CardsFraction", doc(R"(,"cards":2.5)"), at("cards")},
                    Row{"CardsPointZero", doc(R"(,"cards":2.0)"), at("cards")},
                    Row{"CardsExponent", doc(R"(,"cards":1e0)"), at("cards")},
                    Row{"CardsTooBig", doc(R"(,"cards":9223372036854775808)"), at("cards")},
                    Row{"CardsFarTooBig", doc(R"(,"cards":123456789012345678901234567890)"), DecodeError{}},
                    Row{"CardsTooSmall", doc(R"(,"cards":-9223372036854775809)"), DecodeError{}},
                    Row{"CardsBool", doc(R"(,"cards":true)"), at("cards")},
                    Row{"VFraction", R"({"v":1.5,"enabled":true,"at":"2026-03-02T10:00:00Z"})", at("v")},
                    Row{"VArray", R"({"v":[1],"enabled":true,"at":"2026-03-02T10:00:00Z"})", at("v")}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    BooleansNumbersTexts, Decode,
    testing::Values(
        Row{"EnabledFalse", R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z"})",
            feedWith([](Feed& f) { f.enabled = false; })},
        Row{"EnabledOne", R"({"v":1,"enabled":1,"at":"2026-03-02T10:00:00Z"})",
            at("enabled", "expected true or false")},
        Row{"EnabledZero", R"({"v":1,"enabled":0,"at":"2026-03-02T10:00:00Z"})", at("enabled")},
        Row{"EnabledString", R"({"v":1,"enabled":"true","at":"2026-03-02T10:00:00Z"})", at("enabled")},
        Row{"WeightIntegral", doc(R"(,"due":[)" + with(kDue, R"("weight":20)") + "]"), feedWith([](Feed& f) {
              f.due = {quiz()};
              f.due->at(0).weight = 20.0;
            })},
        Row{"WeightFraction", doc(R"(,"due":[)" + with(kDue, R"("weight":12.5)") + "]"),
            feedWith([](Feed& f) {
              f.due = {quiz()};
              f.due->at(0).weight = 12.5;
            })},
        Row{"WeightExponent", doc(R"(,"due":[)" + with(kDue, R"("weight":-2.5e1)") + "]"),
            feedWith([](Feed& f) {
              f.due = {quiz()};
              f.due->at(0).weight = -25.0;
            })},
        Row{"WeightBeyondDouble", doc(R"(,"due":[)" + with(kDue, R"("weight":1e400)") + "]"), at("")},
        Row{"WeightString", doc(R"(,"due":[)" + with(kDue, R"("weight":"20")") + "]"),
            at("due[0].weight", "expected a number")},
        Row{"WeekText", doc(R"(,"week":"Week 10 of 13")"),
            feedWith([](Feed& f) { f.week = "Week 10 of 13"; })},
        Row{"WeekEscapes", doc(R"(,"week":"\u00e9\n\"")"),
            feedWith([](Feed& f) { f.week = "\xc3\xa9\n\""; })},
        Row{"WeekEmpty", doc(R"(,"week":"")"), feedWith([](Feed& f) { f.week = ""; })},
        Row{"WeekNumber", doc(R"(,"week":10)"), at("week", "expected a string")},
        Row{"UnitNumber",
            doc(R"(,"classes":[{"unit":3600,"title":"T","start":"2026-03-02T10:00:00Z","end":"2026-03-02T12:00:00Z"}])"),
            at("classes[0].unit", "expected a string")},
        Row{"ColorBoth",
            doc(R"(,"due":[)" + with(kDue, R"("color":{"light":"#A91991","dark":"not a colour"})") + "]"),
            feedWith([](Feed& f) {
              f.due = {quiz()};
              f.due->at(0).color = UnitColor{.light = "#A91991", .dark = "not a colour"};
            })},
        Row{"ColorString", doc(R"(,"due":[)" + with(kDue, R"("color":"#A91991")") + "]"),
            at("due[0].color", "expected an object")},
        Row{"ColorLightNumber", doc(R"(,"due":[)" + with(kDue, R"("color":{"light":1,"dark":"#000"})") + "]"),
            at("due[0].color.light", "expected a string")},
        Row{"ColorDarkNull", doc(R"(,"due":[)" + with(kDue, R"("color":{"light":"#fff","dark":null})") + "]"),
            at("due[0].color.dark", "required key is null")}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Lists, Decode,
    testing::Values(Row{"ClassesObject", doc(R"(,"classes":{})"), at("classes", "expected an array")},
                    Row{"DueString", doc(R"(,"due":"x")"), at("due", "expected an array")},
                    Row{"ClassNotObject", doc(R"(,"classes":[)" + kClass + ",[]]"),
                        at("classes[1]", "expected an object")},
                    Row{"DueNull", doc(R"(,"due":[null])"), at("due[0]", "expected an object")},
                    Row{"ListsInOrder",
                        doc(R"(,"classes":[)" + kClass + "," + kClass + R"(],"due":[)" + kDue + "]"),
                        feedWith([](Feed& f) {
                          f.classes = {lecture(), lecture()};
                          f.due = {quiz()};
                        })}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Dates, Decode,
    testing::Values(
        Row{"WithFraction", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00.000Z"})", minimal()},
        Row{"WithOffset", R"({"v":1,"enabled":true,"at":"2026-03-02T20:00:00+10:00"})", minimal()},
        Row{"Escaped", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00\u005A"})", minimal()},
        Row{"Empty", R"({"v":1,"enabled":true,"at":""})", at("at", "not a date: ")},
        Row{"DateOnly", R"({"v":1,"enabled":true,"at":"2026-03-02"})", at("at", "not a date: 2026-03-02")},
        Row{"NoZone", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00"})",
            at("at", "not a date: 2026-03-02T10:00:00")},
        Row{"AsWritten", R"({"v":1,"enabled":true,"at":" x\"\u00e9 "})",
            at("at", "not a date:  x\"\xc3\xa9 ")},
        Row{"Number", R"({"v":1,"enabled":true,"at":1772445600})", at("at", "expected a string")},
        Row{"ClassStart",
            doc(R"(,"classes":[)" + kClass + "," + kClass + "," +
                R"({"unit":"U","title":"T","end":"2026-03-02T12:00:00Z","start":"2026-02-30T10:00:00Z"}])"),
            at("classes[2].start", "not a date: 2026-02-30T10:00:00Z")},
        Row{"DueDue", doc(R"(,"due":[{"unit":"U","name":"N","due":"tomorrow"}])"),
            at("due[0].due", "not a date: tomorrow")}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    UnknownKeys, Decode,
    testing::Values(
        Row{"Everywhere",
            doc(R"(,"x":[1,{"a":null}],"V":2,"Cards":"x","classes":[)" +
                with(kClass, R"("u":{"v":[]},"Unit":5,"color":{"light":"#fff","dark":"#000","mid":[true]})") +
                R"(],"due":[)" + with(kDue, R"("weight ":"x","extra":null)") + "]"),
            feedWith([](Feed& f) {
              f.classes = {lecture()};
              f.classes->at(0).color = UnitColor{.light = "#fff", .dark = "#000"};
              f.due = {quiz()};
            })},
        Row{"KeyOrderFree", R"({"at":"2026-03-02T10:00:00Z","cards":1,"enabled":true,"v":1})",
            feedWith([](Feed& f) { f.cards = 1; })},
        Row{"HugeNumberUnderUnknownKey", doc(R"(,"x":1e400,"y":-123456789012345678901234567890)"), minimal()},
        Row{"HugeNumberInClass", doc(R"(,"classes":[)" + with(kClass, R"("x":[1e999])") + "]"),
            feedWith([](Feed& f) { f.classes = {lecture()}; })},
        Row{"MalformedUnderUnknownKey", doc(R"(,"x":[1,,2])"), DecodeError{}},
        Row{"BadEscapeUnderUnknownKey", doc(R"(,"x":"\q")"), DecodeError{}},
        Row{"MalformedNumberWithHugeOne", doc(R"(,"x":1e400,"y":01)"), DecodeError{}},
        Row{"DuplicateKnownKey", doc(R"(,"cards":1,"cards":2)"), at("cards", "duplicate key")},
        Row{"DuplicateUnknownKey", doc(R"(,"x":1,"x":2)"), minimal()}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Documents, Decode,
                         testing::Values(Row{"Empty", "", DecodeError{}},
                                         Row{"Spaces", "  \n", DecodeError{}},
                                         Row{"TopLevelArray", "[]", at("", "expected an object")},
                                         Row{"TopLevelString", R"("v")", at("", "expected an object")},
                                         Row{"Truncated", kHead, DecodeError{}},
                                         Row{"TrailingGarbage", doc() + "x", DecodeError{}},
                                         Row{"TwoDocuments", doc() + doc(), DecodeError{}},
                                         Row{"ByteOrderMark", "\xef\xbb\xbf" + doc(), DecodeError{}},
                                         Row{"InvalidUtf8", doc(",\"x\":\"\xff\""), DecodeError{}},
                                         Row{"WhitespaceAround", " \t\r\n" + doc() + "\n", minimal()}),
                         rowName);

TEST(DecodeOrder, FirstFailureInDeclarationOrderIsReported) {
  // Keys written in the reverse order; each document has two faults.
  const std::pair<std::string, std::string> cases[] = {
      {R"({"cards":"x","at":"2026-03-02T10:00:00Z","enabled":1,"v":1})", "enabled"},
      {R"({"cards":"x","due":[1],"classes":[1],"at":"x","enabled":true,"v":1})", "at"},
      {doc(R"(,"due":[{}],"classes":[)" + kClass + R"(,{"color":1}])"), "classes[1].unit"},
      {doc(R"(,"classes":[{"color":1,"end":1,"start":1,"title":1}])"), "classes[0].unit"},
      {doc(R"(,"classes":[{"unit":"U","title":"T","start":"2026-03-02T10:00:00Z","end":"x","color":1}])"),
       "classes[0].end"},
      {doc(R"(,"due":[{"color":{},"weight":"x","due":"x","name":"N","unit":"U"}])"), "due[0].due"},
      {doc(R"(,"cards":1.5,"due":[{}])"), "due[0].unit"},
  };
  for (const auto& [json, path] : cases) {
    const auto r = decodeFeed(json);
    ASSERT_FALSE(r.ok()) << json;
    EXPECT_EQ(r.error().path, path) << json;
  }
}

TEST(DecodeDepth, DeepNestingUnderUnknownKeyIsIgnored) {
  const std::string deep = std::string(200'000, '[') + std::string(200'000, ']');
  EXPECT_TRUE(decodeFeed(doc(",\"x\":" + deep)).ok());
  const std::string objects = [] {
    std::string s;
    for (int i = 0; i < 100'000; ++i) s += "{\"a\":";
    s += "1";
    s += std::string(100'000, '}');
    return s;
  }();
  EXPECT_TRUE(decodeFeed(doc(R"(,"classes":[)" + with(kClass, "\"deep\":" + objects) + "]")).ok());
}

TEST(DecodeDepth, DeepMalformedOrMisplacedNestingFails) {
  EXPECT_FALSE(decodeFeed(doc(",\"x\":" + std::string(200'000, '['))).ok());
  EXPECT_FALSE(decodeFeed(doc(",\"x\":" + std::string(200'000, '[') + std::string(199'999, ']'))).ok());
  EXPECT_FALSE(decodeFeed(std::string(1'000'000, '[')).ok());
  EXPECT_FALSE(decodeFeed(doc(",\"week\":" + std::string(5'000, '[') + std::string(5'000, ']'))).ok());
}

TEST(DecodeRepeat, SameBytesSameResult) {
  const std::string json = doc(R"(,"classes":[)" + kClass + R"(],"cards":3,"week":"W")");
  EXPECT_EQ(decodeFeed(json), decodeFeed(json));
  EXPECT_EQ(decodeFeed(json), decodeFeedPadded(json + std::string(kDecodePadding, ' ')).value());
}

/// Handing the text over (it is released once parsed) decides exactly as reading it in place: a
/// feed, malformed text, a typed failure, and text that only the fallback for the parser's limits
/// reads (a large number and deep nesting under unknown keys).
TEST(DecodeRepeat, OwnedTextDecidesAsBorrowedText) {
  const std::vector<std::string> docs{
      doc(R"(,"classes":[)" + kClass + R"(],"cards":3,"week":"W")"),
      doc(R"(,"classes":[)"),
      doc(R"(,"cards":"3")"),
      doc(R"(,"x":1e400,"y":)" + std::string(20'000, '[') + std::string(20'000, ']')),
  };
  for (const std::string& json : docs) {
    std::unique_ptr<char[]> text{new char[json.size() + kDecodePadding]()};
    std::memcpy(text.get(), json.data(), json.size());
    EXPECT_EQ(decodeFeedPadded(std::move(text), json.size()), decodeFeed(json)) << json.substr(0, 80);
  }
}

/// Every case of the public JSON parsing suite, placed under an unknown key of a valid feed (at the
/// top and inside a class): accepted documents give a feed, rejected ones fail, the rest do not crash.
TEST(JsonTestSuite, UnknownKeyValuesAreValidatedButIgnored) {
  const std::filesystem::path dir =
      std::filesystem::path(OSTREL_SOURCE_DIR) / "tests/data/json-test-suite/test_parsing";
  ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
  int y = 0, n = 0, i = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string name = entry.path().filename().string();
    const std::string top = doc(",\"x\":" + bytes.str());
    const std::string nested = doc(R"(,"classes":[)" + with(kClass, "\"x\":" + bytes.str()) + "]");
    const auto a = decodeFeed(top);
    const auto b = decodeFeed(nested);
    if (name.starts_with("y_")) {
      ++y;
      EXPECT_TRUE(a.ok()) << name << ": " << a.error().message;
      EXPECT_TRUE(b.ok()) << name << ": " << b.error().message;
    } else if (name.starts_with("n_")) {
      ++n;
      EXPECT_FALSE(a.ok()) << name;
      EXPECT_FALSE(b.ok()) << name;
    } else {
      ++i;
    }
  }
  // The suite is vendored whole: both kinds of verdict are exercised.
  EXPECT_GT(y, 0);
  EXPECT_GT(n, 0);
  RecordProperty("cases", y + n + i);
}

}  // namespace
}  // namespace ostrel
