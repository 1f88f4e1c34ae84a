#include "feed/decoder.hpp"

#include <simdjson.h>

#include <array>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "feed/big_number_fallback.hpp"
#include "feed/date_rule.hpp"

// How a document is read:
//  1. Text that cannot begin a JSON value (after white space) is refused before any parser exists.
//  2. simdjson's DOM parser reads and validates the whole text (every value, also those under keys
//     that are never looked at). Its depth limit is set to what the text's size allows, so nesting
//     never fails a well-formed document; the parser keeps its own stack on the heap.
//  3. Should it refuse the text for a number that it cannot hold, bigNumberFallback checks the text
//     against the JSON grammar and makes a copy that it holds (big_number_fallback.hpp); the copy is
//     parsed instead.
//  4. Each object is walked once and its members sorted into the record's key slots; then the slots
//     are decoded in declaration order, so the first failure in that order is the one reported.
//     Lists grow as their elements decode: memory follows what has been accepted.
//
// Choices left open by the format, made here:
//  - Integers (`v`, `cards`) are JSON integer literals: 1.0 and 1e0 are numbers, not integers.
//  - A key named by the record that occurs twice in one object fails the document ("duplicate key"):
//    two values for one field are ambiguous, and readers disagree about which one wins.
//  - The text must be UTF-8 without a byte-order mark.

namespace ostrel {
namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;

/// Where the decoder stands: a chain of keys and indices, rendered only when a failure needs it.
struct Path {
  const Path* parent = nullptr;
  std::string_view key;
  std::size_t index = 0;
  bool isIndex = false;

  [[nodiscard]] Path operator/(std::string_view k) const { return Path{this, k, 0, false}; }
  [[nodiscard]] Path operator[](std::size_t i) const { return Path{this, {}, i, true}; }

  [[nodiscard]] std::string text() const {
    if (parent == nullptr) return {};
    std::string s = parent->text();
    if (isIndex) {
      s += '[';
      s += std::to_string(index);
      s += ']';
    } else {
      if (!s.empty()) s += '.';
      s += key;
    }
    return s;
  }
};

std::string_view typeName(element_type t) {
  switch (t) {
    case element_type::ARRAY:
      return "an array";
    case element_type::OBJECT:
      return "an object";
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE:
      return "a number";
    case element_type::STRING:
      return "a string";
    case element_type::BOOL:
      return "a boolean";
    case element_type::NULL_VALUE:
      return "null";
  }
  return "a value";
}

/// The members of one object, sorted by the keys of `Record`.
template <class Record, std::size_t N>
struct Members {
  std::array<element, N> value{};
  std::array<std::uint8_t, N> count{};

  explicit Members(const simdjson::dom::object& object) {
    for (const auto field : object) {
      if (const auto k = codingKey<Record>(field.key)) {
        const auto i = static_cast<std::size_t>(*k);
        if (count[i] == 0) value[i] = field.value;
        if (count[i] < 2) ++count[i];
      }
    }
  }
};

/// Whether the member under `key` occurs at most once and, if `required`, is there and not null; a
/// present, non-null member is of one of the JSON types `types` accepts.
template <class M, class K, class Types>
bool once(const M& m, K key, bool required, Types types) {
  const auto i = static_cast<std::size_t>(key);
  if (m.count[i] > 1) return false;
  if (m.count[i] == 0 || m.value[i].is_null()) return !required;
  return types(m.value[i].type());
}

bool isString(element_type t) {
  return t == element_type::STRING;
}

bool isNumber(element_type t) {
  return t == element_type::INT64 || t == element_type::UINT64 || t == element_type::DOUBLE;
}

/// `color`: absent or null, or an object holding `light` and `dark` once each as strings.
template <class M, class K>
bool colorShaped(const M& m, K key) {
  const auto i = static_cast<std::size_t>(key);
  if (m.count[i] > 1) return false;
  if (m.count[i] == 0 || m.value[i].is_null()) return true;
  simdjson::dom::object o;
  if (m.value[i].get_object().get(o) != simdjson::SUCCESS) return false;
  const Members<UnitColor, 2> c{o};
  return once(c, UnitColor::CodingKeys::light, true, isString) &&
         once(c, UnitColor::CodingKeys::dark, true, isString);
}

/// Whether `e` has the shape of an item: an object whose members the record names occur once, with
/// the required ones present and not null, each of the JSON type its field takes. Dates are not read.
bool shaped(element e, const ClassItem* /*unused*/) {
  simdjson::dom::object o;
  if (e.get_object().get(o) != simdjson::SUCCESS) return false;
  const Members<ClassItem, 6> m{o};
  using K = ClassItem::CodingKeys;
  return once(m, K::unit, true, isString) && once(m, K::title, true, isString) &&
         once(m, K::where, false, isString) && once(m, K::start, true, isString) &&
         once(m, K::end, true, isString) && colorShaped(m, K::color);
}

bool shaped(element e, const DueItem* /*unused*/) {
  simdjson::dom::object o;
  if (e.get_object().get(o) != simdjson::SUCCESS) return false;
  const Members<DueItem, 5> m{o};
  using K = DueItem::CodingKeys;
  return once(m, K::unit, true, isString) && once(m, K::name, true, isString) &&
         once(m, K::due, true, isString) && once(m, K::weight, false, isNumber) && colorShaped(m, K::color);
}

/// Lists up to this long are reserved whole (a few kilobytes at most) without looking at the elements.
constexpr std::size_t kShortList = 64;

/// How many elements of `a`, from the first, have the shape of an `Item`.
template <class Item>
std::size_t shapedLead(const simdjson::dom::array& a) {
  std::size_t n = 0;
  for (const element e : a) {
    if (!shaped(e, static_cast<const Item*>(nullptr))) break;
    ++n;
  }
  return n;
}

class Reader {
 public:
  std::optional<DecodeError> failure;

  explicit Reader(const std::vector<DecodeError>& unheld) {
    for (const DecodeError& e : unheld) unheld_.try_emplace(e.path, &e);
  }

  bool fail(const Path& at, DecodeErrorKind kind, std::string detail = {}) {
    failure = DecodeError{kind, at.text(), std::move(detail)};
    return false;
  }

  bool wrongType(const Path& at, std::string_view expected, element e) {
    std::string detail{expected};
    detail += ", found ";
    detail += typeName(e.type());
    return fail(at, DecodeErrorKind::wrongType, std::move(detail));
  }

  /// The failure that the fallback found for a number it could not keep at `at`: true if there is one.
  bool unheld(const Path& at) {
    if (unheld_.empty()) return false;
    const auto found = unheld_.find(at.text());
    if (found == unheld_.end()) return false;
    failure = *found->second;
    return true;
  }

  /// Looks a key up: false (and a failure) for a duplicate, or for a required key absent or null.
  /// `present` tells whether there is a non-null value to read.
  template <class M, class K>
  bool slot(const M& members, K key, const Path& at, bool required, bool& present) {
    const auto i = static_cast<std::size_t>(key);
    if (members.count[i] > 1) return fail(at, DecodeErrorKind::duplicateKey);
    present = members.count[i] == 1 && !members.value[i].is_null();
    if (present || !required) return true;
    return fail(at, members.count[i] == 0 ? DecodeErrorKind::missingKey : DecodeErrorKind::nullValue);
  }

  bool text(element e, const Path& at, std::string& out) {
    std::string_view s;
    if (e.get_string().get(s) != simdjson::SUCCESS) return wrongType(at, "expected a string", e);
    out.assign(s);
    return true;
  }

  bool integer(element e, const Path& at, std::int64_t& out) {
    if (unheld(at)) return false;
    switch (e.type()) {
      case element_type::INT64:
        out = e.get_int64().value_unsafe();
        return true;
      case element_type::UINT64:
        return fail(at, DecodeErrorKind::outOfRange, std::string(detail::kBeyondInt64));
      case element_type::DOUBLE:
        return fail(at, DecodeErrorKind::notAnInteger, std::string(detail::kNotIntegerLiteral));
      default:
        return wrongType(at, "expected an integer", e);
    }
  }

  bool boolean(element e, const Path& at, bool& out) {
    if (e.get_bool().get(out) != simdjson::SUCCESS) return wrongType(at, "expected true or false", e);
    return true;
  }

  bool number(element e, const Path& at, double& out) {
    if (unheld(at)) return false;
    switch (e.type()) {
      case element_type::INT64:
        out = static_cast<double>(e.get_int64().value_unsafe());
        return true;
      case element_type::UINT64:
        out = static_cast<double>(e.get_uint64().value_unsafe());
        return true;
      case element_type::DOUBLE:
        out = e.get_double().value_unsafe();
        return true;
      default:
        return wrongType(at, "expected a number", e);
    }
  }

  bool date(element e, const Path& at, Date& out) {
    std::string_view s;
    if (e.get_string().get(s) != simdjson::SUCCESS) return wrongType(at, "expected a date string", e);
    const auto d = parseDate(s);
    if (!d) return fail(at, DecodeErrorKind::notADate, std::string(s));
    out = *d;
    return true;
  }

  bool object(element e, const Path& at, simdjson::dom::object& out) {
    if (e.get_object().get(out) != simdjson::SUCCESS) return wrongType(at, "expected an object", e);
    return true;
  }

  bool color(element e, const Path& at, UnitColor& out) {
    simdjson::dom::object o;
    if (!object(e, at, o)) return false;
    const Members<UnitColor, 2> m{o};
    using K = UnitColor::CodingKeys;
    bool present = false;
    return slot(m, K::light, at / "light", true, present) && text(m.value[0], at / "light", out.light) &&
           slot(m, K::dark, at / "dark", true, present) && text(m.value[1], at / "dark", out.dark);
  }

  bool optionalColor(const auto& m, auto key, const Path& at, std::optional<UnitColor>& out) {
    bool present = false;
    if (!slot(m, key, at, false, present)) return false;
    if (!present) return true;
    return color(m.value[static_cast<std::size_t>(key)], at, out.emplace());
  }

  bool optionalText(const auto& m, auto key, const Path& at, std::optional<std::string>& out) {
    bool present = false;
    if (!slot(m, key, at, false, present)) return false;
    if (!present) return true;
    return text(m.value[static_cast<std::size_t>(key)], at, out.emplace());
  }

  template <class M, class K, class T, class Read>
  bool required(const M& m, K key, const Path& at, T& out, Read read) {
    bool present = false;
    return slot(m, key, at, true, present) && (this->*read)(m.value[static_cast<std::size_t>(key)], at, out);
  }

  bool classItem(element e, const Path& at, ClassItem& out) {
    simdjson::dom::object o;
    if (!object(e, at, o)) return false;
    const Members<ClassItem, 6> m{o};
    using K = ClassItem::CodingKeys;
    return required(m, K::unit, at / "unit", out.unit, &Reader::text) &&
           required(m, K::title, at / "title", out.title, &Reader::text) &&
           optionalText(m, K::where, at / "where", out.where) &&
           required(m, K::start, at / "start", out.start, &Reader::date) &&
           required(m, K::end, at / "end", out.end, &Reader::date) &&
           optionalColor(m, K::color, at / "color", out.color);
  }

  bool dueItem(element e, const Path& at, DueItem& out) {
    simdjson::dom::object o;
    if (!object(e, at, o)) return false;
    const Members<DueItem, 5> m{o};
    using K = DueItem::CodingKeys;
    bool present = false;
    if (!(required(m, K::unit, at / "unit", out.unit, &Reader::text) &&
          required(m, K::name, at / "name", out.name, &Reader::text) &&
          required(m, K::due, at / "due", out.due, &Reader::date) &&
          slot(m, K::weight, at / "weight", false, present))) {
      return false;
    }
    if (present && !number(m.value[3], at / "weight", out.weight.emplace())) return false;
    return optionalColor(m, K::color, at / "color", out.color);
  }

  /// Beyond a short list, room is reserved for the leading elements that have an item's shape and no
  /// more, so memory follows what can be accepted: an array of a million numbers costs nothing before
  /// its first element fails, and a document rejected for a bad date costs no more than a valid one of
  /// the same shape. Every element is then built in place, and none is moved.
  template <class Item>
  bool list(const auto& m, auto key, const Path& at, std::optional<std::vector<Item>>& out,
            bool (Reader::*read)(element, const Path&, Item&)) {
    bool present = false;
    if (!slot(m, key, at, false, present)) return false;
    if (!present) return true;
    const element value = m.value[static_cast<std::size_t>(key)];
    simdjson::dom::array a;
    if (value.get_array().get(a) != simdjson::SUCCESS) return wrongType(at, "expected an array", value);
    auto& items = out.emplace();
    items.reserve(a.size() <= kShortList ? a.size() : shapedLead<Item>(a));
    std::size_t i = 0;
    for (const element e : a) {
      if (!(this->*read)(e, at[i], items.emplace_back())) return false;
      ++i;
    }
    return true;
  }

  bool feed(element root, Feed& out) {
    const Path at{};
    simdjson::dom::object o;
    if (!object(root, at, o)) return false;
    const Members<Feed, 7> m{o};
    using K = Feed::CodingKeys;
    bool present = false;
    if (!(required(m, K::v, at / "v", out.v, &Reader::integer) &&
          required(m, K::enabled, at / "enabled", out.enabled, &Reader::boolean) &&
          required(m, K::at, at / "at", out.at, &Reader::date) &&
          optionalText(m, K::week, at / "week", out.week) &&
          list(m, K::classes, at / "classes", out.classes, &Reader::classItem) &&
          list(m, K::due, at / "due", out.due, &Reader::dueItem) &&
          slot(m, K::cards, at / "cards", false, present))) {
      return false;
    }
    return !present || integer(m.value[6], at / "cards", out.cards.emplace());
  }

 private:
  std::unordered_map<std::string, const DecodeError*> unheld_;
};

DecodeResult decodeRoot(element root, const std::vector<DecodeError>& unheld) {
  Reader reader{unheld};
  Feed feed;
  if (!reader.feed(root, feed)) return std::move(*reader.failure);
  return feed;
}

DecodeError malformed(std::string detail) {
  return DecodeError{DecodeErrorKind::malformedJson, "", std::move(detail)};
}

DecodeError outOfMemory() {
  return DecodeError{DecodeErrorKind::tooLarge, "", "out of memory"};
}

DecodeError parseFailure(simdjson::error_code code) {
  switch (code) {
    case simdjson::CAPACITY:
      return DecodeError{DecodeErrorKind::tooLarge, "", "larger than the parser's 4 GiB"};
    case simdjson::MEMALLOC:
      return outOfMemory();
    case simdjson::DEPTH_ERROR:
      // The depth limit allows any nesting that a well-formed text of this size can hold.
      return malformed("arrays or objects left open");
    default:
      return malformed(simdjson::error_message(code));
  }
}

/// Well-formed nesting takes two bytes a level, so no well-formed text of `size` bytes is deeper.
std::size_t deepestFor(std::size_t size) {
  return size / 2 + 2;
}

/// Whether the text, after white space, begins like a JSON value.
bool beginsLikeJson(std::string_view text) {
  const std::size_t i = text.find_first_not_of(" \t\n\r");
  if (i == std::string_view::npos) return false;
  const char c = text[i];
  return c == '{' || c == '[' || c == '"' || c == 't' || c == 'f' || c == 'n' || c == '-' ||
         (c >= '0' && c <= '9');
}

/// Parses `text` (`text.size()` bytes, then the parser's padding) into `parser`: with the parser's
/// usual depth limit, and only if the text is nested deeper than that, again with the deepest nesting
/// its size allows, so that depth never fails a well-formed text and ordinary texts need no more.
simdjson::error_code parse(simdjson::dom::parser& parser, std::string_view text, element& root) {
  auto code = parser.allocate(text.size(), simdjson::DEFAULT_MAX_DEPTH);
  if (code == simdjson::SUCCESS) code = parser.parse(text.data(), text.size(), false).get(root);
  if (code != simdjson::DEPTH_ERROR || deepestFor(text.size()) <= simdjson::DEFAULT_MAX_DEPTH) return code;
  code = parser.allocate(text.size(), deepestFor(text.size()));
  if (code == simdjson::SUCCESS) code = parser.parse(text.data(), text.size(), false).get(root);
  return code;
}

/// Decodes the fallback's copy of `text` (big_number_fallback.hpp); `release` is called once the text
/// is no longer needed.
template <class Release>
DecodeResult decodeHeldCopy(simdjson::dom::parser& parser, std::string_view text, Release release) {
  auto held = detail::bigNumberFallback(text);
  if (!held) return held.error();
  release();
  const detail::HeldCopy copy = std::move(held).value();
  element root;
  if (const auto code = parse(parser, copy.text, root); code != simdjson::SUCCESS) return parseFailure(code);
  return decodeRoot(root, copy.unheld);
}

/// Decodes `text`; `owner`, when given, holds it and is emptied as soon as the text is parsed.
DecodeResult decodeText(const simdjson::padded_string_view& text, simdjson::padded_string* owner) {
  const auto release = [owner] {
    if (owner != nullptr) *owner = simdjson::padded_string{};
  };
  if (!beginsLikeJson(text)) {
    return malformed(text.find_first_not_of(" \t\n\r") == std::string_view::npos
                         ? "no JSON value in the text"
                         : "the text does not begin a JSON value");
  }
  simdjson::dom::parser parser;
  element root;
  const auto code = parse(parser, text, root);
  if (code == simdjson::SUCCESS) {
    release();
    return decodeRoot(root, {});
  }
  if (code != simdjson::NUMBER_ERROR && code != simdjson::NUMBER_OUT_OF_RANGE) return parseFailure(code);
  return decodeHeldCopy(parser, text, release);
}

}  // namespace

DecodeResult decodeFeed(const simdjson::padded_string_view& text) {
  try {
    return decodeText(text, nullptr);
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  }
}

DecodeResult decodeFeed(simdjson::padded_string&& text, std::size_t size) {
  try {
    simdjson::padded_string owned = std::move(text);
    const simdjson::padded_string_view view{owned.data(), std::min(size, owned.size()),
                                            owned.size() + simdjson::SIMDJSON_PADDING};
    return decodeText(view, &owned);
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  }
}

DecodeResult decodeFeed(std::string_view bytes) {
  try {
    simdjson::padded_string copy{bytes.data(), bytes.size()};
    if (copy.data() == nullptr) return outOfMemory();
    return decodeFeed(std::move(copy), bytes.size());
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  }
}

DecodeResult detail::decodeThroughBigNumberFallback(std::string_view bytes) {
  try {
    simdjson::dom::parser parser;
    return decodeHeldCopy(parser, bytes, [] {});
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  }
}

}  // namespace ostrel
