#include "feed/decoder.hpp"

#include <gtest/gtest.h>
#include <simdjson.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
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

void withRoomlessClass(Feed& f) {
  f.classes = {ClassItem{.unit = "U",
                         .title = "T",
                         .where = std::nullopt,
                         .start = Date{kMonday},
                         .end = Date{kMonday + 7200},
                         .color = std::nullopt}};
}

using K = DecodeErrorKind;

/// How a failing row fails: its kind and path always, its detail when given.
struct Fails {
  DecodeErrorKind kind;
  std::string path;
  std::optional<std::string> detail;
};

Fails fails(DecodeErrorKind kind, std::string path = "", std::optional<std::string> detail = std::nullopt) {
  return Fails{kind, std::move(path), std::move(detail)};
}

/// One row: a document and what it decodes to.
struct Row {
  const char* name;
  std::string json;
  std::variant<Feed, Fails> expected;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << r.name;
}

class Decode : public testing::TestWithParam<Row> {};

TEST_P(Decode, GivesTheExpectedOutcome) {
  const Row& row = GetParam();
  const DecodeResult got = decodeFeed(row.json);
  if (const auto* feed = std::get_if<Feed>(&row.expected)) {
    ASSERT_TRUE(got.ok()) << got.error().path << ": " << message(got.error());
    EXPECT_TRUE(got.value() == *feed);
    return;
  }
  const auto& expected = std::get<Fails>(row.expected);
  ASSERT_FALSE(got.ok()) << row.json.substr(0, 200);
  EXPECT_EQ(kindName(got.error().kind), kindName(expected.kind)) << message(got.error());
  EXPECT_EQ(got.error().path, expected.path);
  if (expected.detail) {
    EXPECT_EQ(got.error().detail, *expected.detail);
  }
}

std::string rowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
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
        Row{"AbsentV", R"({"enabled":true,"at":"2026-03-02T10:00:00Z"})", fails(K::missingKey, "v")},
        Row{"NullV", R"({"v":null,"enabled":true,"at":"2026-03-02T10:00:00Z"})", fails(K::nullValue, "v")},
        Row{"AbsentEnabled", R"({"v":1,"at":"2026-03-02T10:00:00Z"})", fails(K::missingKey, "enabled")},
        Row{"AbsentAt", R"({"v":1,"enabled":false})", fails(K::missingKey, "at")},
        Row{"NullAt", R"({"v":1,"enabled":false,"at":null})", fails(K::nullValue, "at")},
        Row{"ClassWithoutWhere",
            doc(R"(,"classes":[{"unit":"U","title":"T","start":"2026-03-02T10:00:00Z","end":"2026-03-02T12:00:00Z"}])"),
            feedWith(withRoomlessClass)},
        Row{"ClassWhereNull",
            doc(R"(,"classes":[{"unit":"U","title":"T","where":null,"start":"2026-03-02T10:00:00Z",)"
                R"("end":"2026-03-02T12:00:00Z"}])"),
            feedWith(withRoomlessClass)},
        Row{"ClassWhereTwice", doc(R"(,"classes":[)" + with(kClass, R"("where":null)") + "]"),
            fails(K::duplicateKey, "classes[0].where")},
        Row{"ClassWithoutEnd",
            doc(R"(,"classes":[)" + kClass + R"(,{"unit":"U","title":"T","start":"2026-03-02T10:00:00Z"}])"),
            fails(K::missingKey, "classes[1].end")},
        Row{"ColorWithoutDark", doc(R"(,"classes":[)" + with(kClass, R"("color":{"light":"#A91991"})") + "]"),
            fails(K::missingKey, "classes[0].color.dark")},
        Row{"ColorNull", doc(R"(,"due":[)" + with(kDue, R"("color":null)") + "]"),
            feedWith([](Feed& f) { f.due = {quiz()}; })},
        Row{"DueWithoutName", doc(R"(,"due":[{"unit":"U","due":"2026-03-02T10:00:00Z"}])"),
            fails(K::missingKey, "due[0].name")},
        Row{"WeightNull", doc(R"(,"due":[)" + with(kDue, R"("weight":null)") + "]"),
            feedWith([](Feed& f) { f.due = {quiz()}; })}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Integers, Decode,
    testing::Values(
        Row{"Cards", doc(R"(,"cards":7)"), feedWith([](Feed& f) { f.cards = 7; })},
        Row{"CardsNegative", doc(R"(,"cards":-3)"), feedWith([](Feed& f) { f.cards = -3; })},
        Row{"CardsMax", doc(R"(,"cards":9223372036854775807)"),
            feedWith([](Feed& f) { f.cards = INT64_MAX; })},
        Row{"CardsMin", doc(R"(,"cards":-9223372036854775808)"),
            feedWith([](Feed& f) { f.cards = INT64_MIN; })},
        Row{"VersionTwoDecodes", R"({"v":2,"enabled":true,"at":"2026-03-02T10:00:00Z"})",
            feedWith([](Feed& f) { f.v = 2; })},
        Row{"CardsString", doc(R"(,"cards":"3")"),
            fails(K::wrongType, "cards", "expected an integer, found a string")},
        Row{"CardsBool", doc(R"(,"cards":true)"), fails(K::wrongType, "cards")},
        Row{"CardsFraction", doc(R"(,"cards":2.5)"), fails(K::notAnInteger, "cards")},
        Row{"CardsPointZero", doc(R"(,"cards":2.0)"), fails(K::notAnInteger, "cards")},
        Row{"CardsExponent", doc(R"(,"cards":1e0)"), fails(K::notAnInteger, "cards")},
        Row{"CardsTwoTo63", doc(R"(,"cards":9223372036854775808)"), fails(K::outOfRange, "cards")},
        // Beyond what the parser holds: read through the fallback, reported at the field all the same.
        Row{"CardsTwoTo64", doc(R"(,"cards":18446744073709551616)"), fails(K::outOfRange, "cards")},
        Row{"CardsTwoTo100", doc(R"(,"cards":1267650600228229401496703205376)"),
            fails(K::outOfRange, "cards")},
        Row{"CardsTooSmall", doc(R"(,"cards":-9223372036854775809)"), fails(K::outOfRange, "cards")},
        Row{"CardsBeyondDouble", doc(R"(,"cards":1e400)"), fails(K::notAnInteger, "cards")},
        Row{"CardsEscapedKeyTooBig", doc(R"(,"c\u0061rds":18446744073709551616)"),
            fails(K::outOfRange, "cards")},
        Row{"CardsEscapedKey", doc(R"(,"c\u0061rds":5)"), feedWith([](Feed& f) { f.cards = 5; })},
        Row{"VTooBig", R"({"v":99999999999999999999,"enabled":true,"at":"2026-03-02T10:00:00Z"})",
            fails(K::outOfRange, "v")},
        Row{"VFraction", R"({"v":1.5,"enabled":true,"at":"2026-03-02T10:00:00Z"})",
            fails(K::notAnInteger, "v")},
        Row{"VArray", R"({"v":[1],"enabled":true,"at":"2026-03-02T10:00:00Z"})",
            fails(K::wrongType, "v", "expected an integer, found an array")}),
    rowName);

/// A document with one deadline whose members are `extra`.
std::string dueWith(const std::string& extra) {
  return doc(R"(,"due":[)" + with(kDue, extra) + "]");
}

Feed quizWeighing(double weight) {
  return feedWith([weight](Feed& f) {
    f.due = {quiz()};
    f.due->at(0).weight = weight;
  });
}

INSTANTIATE_TEST_SUITE_P(
    BooleansNumbersTexts, Decode,
    testing::Values(
        Row{"EnabledFalse", R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z"})",
            feedWith([](Feed& f) { f.enabled = false; })},
        Row{"EnabledOne", R"({"v":1,"enabled":1,"at":"2026-03-02T10:00:00Z"})",
            fails(K::wrongType, "enabled", "expected true or false, found a number")},
        Row{"EnabledZero", R"({"v":1,"enabled":0,"at":"2026-03-02T10:00:00Z"})",
            fails(K::wrongType, "enabled")},
        Row{"EnabledString", R"({"v":1,"enabled":"true","at":"2026-03-02T10:00:00Z"})",
            fails(K::wrongType, "enabled")},
        Row{"WeightIntegral", dueWith(R"("weight":20)"), quizWeighing(20.0)},
        Row{"WeightFraction", dueWith(R"("weight":12.5)"), quizWeighing(12.5)},
        Row{"WeightExponent", dueWith(R"("weight":-2.5e1)"), quizWeighing(-25.0)},
        Row{"WeightTwoTo64", dueWith(R"("weight":18446744073709551616)"),
            quizWeighing(18446744073709551616.0)},
        Row{"WeightThirtyDigits", dueWith(R"("weight":-123456789012345678901234567890)"),
            quizWeighing(-123456789012345678901234567890.0)},
        Row{"WeightBeyondDouble", dueWith(R"("weight":1e400)"), fails(K::outOfRange, "due[0].weight")},
        Row{"WeightIntegerBeyondDouble", dueWith(R"("weight":)" + std::string(400, '9')),
            fails(K::outOfRange, "due[0].weight")},
        Row{"WeightString", dueWith(R"("weight":"20")"),
            fails(K::wrongType, "due[0].weight", "expected a number, found a string")},
        Row{"WeekText", doc(R"(,"week":"Week 10 of 13")"),
            feedWith([](Feed& f) { f.week = "Week 10 of 13"; })},
        Row{"WeekEscapes", doc(R"(,"week":"\u00e9\n\"")"),
            feedWith([](Feed& f) { f.week = "\xc3\xa9\n\""; })},
        Row{"WeekEmpty", doc(R"(,"week":"")"), feedWith([](Feed& f) { f.week = ""; })},
        Row{"WeekNumber", doc(R"(,"week":10)"),
            fails(K::wrongType, "week", "expected a string, found a number")},
        Row{"WeekHugeNumber", doc(R"(,"week":1e400)"),
            fails(K::wrongType, "week", "expected a string, found a number")},
        Row{"WeekArrayWithHugeNumber", doc(R"(,"week":[1e400],"x":1e400)"),
            fails(K::wrongType, "week", "expected a string, found an array")},
        Row{"UnitNumber",
            doc(R"(,"classes":[{"unit":3600,"title":"T","start":"2026-03-02T10:00:00Z","end":"2026-03-02T12:00:00Z"}])"),
            fails(K::wrongType, "classes[0].unit")},
        Row{"ColorBoth", dueWith(R"("color":{"light":"#A91991","dark":"not a colour"})"),
            feedWith([](Feed& f) {
              f.due = {quiz()};
              f.due->at(0).color = UnitColor{.light = "#A91991", .dark = "not a colour"};
            })},
        Row{"ColorString", dueWith(R"("color":"#A91991")"),
            fails(K::wrongType, "due[0].color", "expected an object, found a string")},
        Row{"ColorLightNumber", dueWith(R"("color":{"light":1,"dark":"#000"})"),
            fails(K::wrongType, "due[0].color.light")},
        Row{"ColorDarkNull", dueWith(R"("color":{"light":"#fff","dark":null})"),
            fails(K::nullValue, "due[0].color.dark")}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Lists, Decode,
    testing::Values(Row{"ClassesObject", doc(R"(,"classes":{})"),
                        fails(K::wrongType, "classes", "expected an array, found an object")},
                    Row{"DueString", doc(R"(,"due":"x")"),
                        fails(K::wrongType, "due", "expected an array, found a string")},
                    Row{"ClassNotObject", doc(R"(,"classes":[)" + kClass + ",[]]"),
                        fails(K::wrongType, "classes[1]", "expected an object, found an array")},
                    Row{"DueNull", doc(R"(,"due":[null])"),
                        fails(K::wrongType, "due[0]", "expected an object, found null")},
                    Row{"ClassHugeNumber", doc(R"(,"classes":[1e400])"),
                        fails(K::wrongType, "classes[0]", "expected an object, found a number")},
                    Row{"ClassesHugeNumber", doc(R"(,"classes":-1e400)"),
                        fails(K::wrongType, "classes", "expected an array, found a number")},
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
        Row{"Escaped", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00\u005A"})", minimal()},
        Row{"Empty", R"({"v":1,"enabled":true,"at":""})", fails(K::notADate, "at", "")},
        Row{"DateOnly", R"({"v":1,"enabled":true,"at":"2026-03-02"})",
            fails(K::notADate, "at", "2026-03-02")},
        Row{"NoZone", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00"})",
            fails(K::notADate, "at", "2026-03-02T10:00:00")},
        Row{"AsWritten", R"({"v":1,"enabled":true,"at":" x\"\u00e9 "})",
            fails(K::notADate, "at", " x\"\xc3\xa9 ")},
        Row{"Number", R"({"v":1,"enabled":true,"at":1772445600})",
            fails(K::wrongType, "at", "expected a date string, found a number")},
        Row{"ClassStart",
            doc(R"(,"classes":[)" + kClass + "," + kClass + "," +
                R"({"unit":"U","title":"T","end":"2026-03-02T12:00:00Z","start":"2026-02-30T10:00:00Z"}])"),
            fails(K::notADate, "classes[2].start", "2026-02-30T10:00:00Z")},
        Row{"DueDue", doc(R"(,"due":[{"unit":"U","name":"N","due":"tomorrow"}])"),
            fails(K::notADate, "due[0].due", "tomorrow")}),
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
        // Keys are compared after unescaping, also where the parser cannot hold a number.
        Row{"EscapedUnknownKeyHugeNumber", doc(R"(,"\u0078":1e400)"), minimal()},
        Row{"EscapedUnknownKeyTwoTo64", doc(R"(,"\u0078":18446744073709551616)"), minimal()},
        Row{"EscapedUnknownKeyDeep",
            doc(R"(,"\u0078":)" + std::string(2000, '[') + "1e400" + std::string(2000, ']')), minimal()},
        Row{"EscapedUnknownKeyInDeadline", dueWith(R"("w\u0065ighty":1e400,"\ud83d\ude00":1e400)"),
            feedWith([](Feed& f) { f.due = {quiz()}; })},
        Row{"EscapedKnownKeyIsKnown", dueWith(R"("w\u0065ight":1e400)"),
            fails(K::outOfRange, "due[0].weight")},
        Row{"MalformedUnderUnknownKey", doc(R"(,"x":[1,,2])"), fails(K::malformedJson)},
        Row{"BadEscapeUnderUnknownKey", doc(R"(,"x":"\q")"), fails(K::malformedJson)},
        Row{"MalformedNumberWithHugeOne", doc(R"(,"x":1e400,"y":01)"), fails(K::malformedJson)},
        Row{"LoneSurrogateWithHugeNumber", doc(R"(,"x":1e400,"y":"\ud800")"), fails(K::malformedJson)},
        Row{"ControlCharacterWithHugeNumber", doc(",\"x\":1e400,\"y\":\"\t\""), fails(K::malformedJson)},
        Row{"DuplicateKnownKey", doc(R"(,"cards":1,"cards":2)"), fails(K::duplicateKey, "cards")},
        Row{"DuplicateEscapedKey", doc(R"(,"cards":1,"c\u0061rds":1e400)"), fails(K::duplicateKey, "cards")},
        Row{"DuplicateUnknownKey", doc(R"(,"x":1,"x":2)"), minimal()}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Documents, Decode,
    testing::Values(Row{"Empty", "", fails(K::malformedJson)}, Row{"Spaces", "  \n", fails(K::malformedJson)},
                    Row{"Zeros", std::string(4096, '\0'), fails(K::malformedJson)},
                    Row{"TopLevelArray", "[]", fails(K::wrongType, "", "expected an object, found an array")},
                    Row{"TopLevelString", R"("v")", fails(K::wrongType, "")},
                    Row{"TopLevelHugeNumber", "1e400", fails(K::wrongType, "")},
                    Row{"Truncated", kHead, fails(K::malformedJson)},
                    Row{"TrailingGarbage", doc() + "x", fails(K::malformedJson)},
                    Row{"TwoDocuments", doc() + doc(), fails(K::malformedJson)},
                    Row{"ByteOrderMark", "\xef\xbb\xbf" + doc(), fails(K::malformedJson)},
                    Row{"InvalidUtf8", doc(",\"x\":\"\xff\""), fails(K::malformedJson)},
                    Row{"InvalidUtf8WithHugeNumber", doc(",\"x\":\"\xff\",\"y\":1e400"),
                        fails(K::malformedJson)},
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
      // The same order where the parser cannot hold a number of the document.
      {R"({"cards":1e400,"at":"2026-03-02T10:00:00Z","enabled":1,"v":1})", "enabled"},
      {doc(R"(,"cards":18446744073709551616,"due":[{}])"), "due[0].unit"},
      {doc(R"(,"due":[{"weight":1e400,"due":"x","name":"N","unit":"U"}])"), "due[0].due"},
      {doc(R"(,"due":[)" + kDue + "," + with(kDue, R"("weight":1e400)") + "," +
           with(kDue, R"("weight":-1e400)") + "]"),
       "due[1].weight"},
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
  // As deep as a text of its size can be: a document of nothing but nesting.
  const std::string tight = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","x":)" +
                            std::string(5'000, '[') + std::string(5'000, ']') + "}";
  EXPECT_TRUE(decodeFeed(tight).ok());
}

TEST(DecodeDepth, DeepMalformedOrMisplacedNestingFails) {
  const std::pair<std::string, Fails> cases[] = {
      {doc(",\"x\":" + std::string(200'000, '[')), fails(K::malformedJson)},
      {doc(",\"x\":" + std::string(200'000, '[') + std::string(199'999, ']')), fails(K::malformedJson)},
      {std::string(1'000'000, '['), fails(K::malformedJson)},
      {std::string(500'000, '[') + std::string(500'000, ']'), fails(K::wrongType)},
      {doc(",\"week\":" + std::string(5'000, '[') + std::string(5'000, ']')), fails(K::wrongType, "week")},
  };
  for (const auto& [json, expected] : cases) {
    const auto r = decodeFeed(json);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(kindName(r.error().kind), kindName(expected.kind)) << message(r.error());
    EXPECT_EQ(r.error().path, expected.path);
  }
}

/// Reading the text in place, handing it over (it is released once parsed) and copying it decide
/// alike: a feed, malformed text, a typed failure, and text that only the fallback for numbers the
/// parser cannot hold reads.
TEST(DecodeRepeat, EveryEntryPointDecidesAlike) {
  const std::vector<std::string> docs{
      doc(R"(,"classes":[)" + kClass + R"(],"cards":3,"week":"W")"),
      doc(R"(,"classes":[)"),
      doc(R"(,"cards":"3")"),
      doc(R"(,"x":1e400,"y":)" + std::string(20'000, '[') + std::string(20'000, ']')),
  };
  for (const std::string& json : docs) {
    const DecodeResult copied = decodeFeed(json);
    EXPECT_EQ(decodeFeed(json), copied);
    std::string padded = json;
    padded.reserve(json.size() + simdjson::SIMDJSON_PADDING);
    EXPECT_EQ(decodeFeed(simdjson::padded_string_view(padded)), copied) << json.substr(0, 80);
    EXPECT_EQ(decodeFeed(simdjson::padded_string(json), json.size()), copied) << json.substr(0, 80);
  }
}

/// Decoding through the fallback decides as the parser does, wherever the parser does not refuse
/// the text for a number it cannot hold.
void expectFallbackAgrees(const std::string& json, const std::string& name) {
  const DecodeResult parsed = decodeFeed(json);
  const DecodeResult scrubbed = detail::decodeThroughBigNumberFallback(json);
  ASSERT_EQ(parsed.ok(), scrubbed.ok())
      << name << ": " << (parsed.ok() ? message(scrubbed.error()) : message(parsed.error()));
  if (parsed.ok()) {
    EXPECT_TRUE(*parsed == *scrubbed) << name;
    return;
  }
  EXPECT_EQ(kindName(parsed.error().kind), kindName(scrubbed.error().kind)) << name;
  EXPECT_EQ(parsed.error().path, scrubbed.error().path) << name;
  if (parsed.error().kind != K::malformedJson) {
    EXPECT_EQ(parsed.error().detail, scrubbed.error().detail) << name;
  }
}

/// Every case of the JSON parsing test suite, placed under an unknown key of a valid feed (at the
/// top and inside a class): accepted texts give a feed, rejected ones fail as malformed JSON, the rest
/// either way without crashing; through the fallback alike. Each case read as a whole document
/// decides alike on both roads too.
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
    for (const std::string& json : {top, nested, bytes.str()}) expectFallbackAgrees(json, name);
    const auto a = decodeFeed(top);
    const auto b = decodeFeed(nested);
    if (name.starts_with("y_")) {
      ++y;
      EXPECT_TRUE(a.ok()) << name << ": " << message(a.error());
      EXPECT_TRUE(b.ok()) << name << ": " << message(b.error());
    } else if (name.starts_with("n_")) {
      ++n;
      ASSERT_FALSE(a.ok() || b.ok()) << name;
      EXPECT_EQ(a.error().kind, K::malformedJson) << name << ": " << message(a.error());
      EXPECT_EQ(b.error().kind, K::malformedJson) << name << ": " << message(b.error());
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
