#include "feed/decoder.hpp"

#include <simdjson.h>

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "feed/date_rule.hpp"
#include "feed/prefault.hpp"
#include "feed/scrub.hpp"

// How a document is read:
//  1. simdjson's DOM parser reads and validates the whole text (every value, also those under keys
//     that are never looked at). It chooses its SIMD kernel at run time.
//  2. Should it refuse the text only for one of its own limits (nesting deeper than it tracks, a
//     number it cannot hold), the text is checked against the JSON grammar by scrubFeed, which also
//     replaces values under unknown keys by null; the copy is parsed again. Malformed text fails
//     either way; well-formed text under an unknown key never fails the document.
//  3. Each object is walked once and its members sorted into the record's key slots; then the slots
//     are decoded in declaration order, so the first failure in that order is the one reported.
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

static_assert(kDecodePadding >= simdjson::SIMDJSON_PADDING);

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

/// The first failure, once there is one.
struct Failure {
  std::optional<DecodeError> error;
  bool fail(const Path& at, std::string message) {
    error = DecodeError{at.text(), std::move(message)};
    return false;
  }
};

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

class Reader {
 public:
  Failure failure;

  /// Looks a key up: false (and a failure) for a duplicate, or for a required key absent or null.
  /// `present` tells whether there is a non-null value to read.
  template <class M, class K>
  bool slot(const M& members, K key, const Path& at, bool required, bool& present) {
    const auto i = static_cast<std::size_t>(key);
    if (members.count[i] > 1) return failure.fail(at, "duplicate key");
    present = members.count[i] == 1 && !members.value[i].is_null();
    if (present || !required) return true;
    return failure.fail(at, members.count[i] == 0 ? "required key is absent" : "required key is null");
  }

  bool text(element e, const Path& at, std::string& out) {
    std::string_view s;
    if (e.get_string().get(s) != simdjson::SUCCESS) return failure.fail(at, "expected a string");
    out.assign(s);
    return true;
  }

  bool integer(element e, const Path& at, std::int64_t& out) {
    switch (e.type()) {
      case element_type::INT64:
        out = e.get_int64().value_unsafe();
        return true;
      case element_type::UINT64:
        return failure.fail(at, "integer out of the 64-bit range");
      case element_type::DOUBLE:
        return failure.fail(at, "expected an integer (no fraction or exponent)");
      default:
        return failure.fail(at, "expected an integer");
    }
  }

  bool boolean(element e, const Path& at, bool& out) {
    if (e.get_bool().get(out) != simdjson::SUCCESS) return failure.fail(at, "expected true or false");
    return true;
  }

  bool number(element e, const Path& at, double& out) {
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
        return failure.fail(at, "expected a number");
    }
  }

  bool date(element e, const Path& at, Date& out) {
    std::string_view s;
    if (e.get_string().get(s) != simdjson::SUCCESS) return failure.fail(at, "expected a string");
    const auto d = parseDate(s);
    if (!d) return failure.fail(at, "not a date: " + std::string(s));
    out = *d;
    return true;
  }

  bool object(element e, const Path& at, simdjson::dom::object& out) {
    if (e.get_object().get(out) != simdjson::SUCCESS) return failure.fail(at, "expected an object");
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

  template <class Item>
  bool list(const auto& m, auto key, const Path& at, std::optional<std::vector<Item>>& out,
            bool (Reader::*read)(element, const Path&, Item&)) {
    bool present = false;
    if (!slot(m, key, at, false, present)) return false;
    if (!present) return true;
    simdjson::dom::array a;
    if (m.value[static_cast<std::size_t>(key)].get_array().get(a) != simdjson::SUCCESS) {
      return failure.fail(at, "expected an array");
    }
    auto& items = out.emplace();
    items.reserve(a.size());
    detail::prefault(items.data(), a.size() * sizeof(Item));
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
};

bool refusedForLimits(simdjson::error_code code) {
  return code == simdjson::DEPTH_ERROR || code == simdjson::NUMBER_ERROR ||
         code == simdjson::NUMBER_OUT_OF_RANGE;
}

DecodeResult decodeRoot(element root) {
  Reader reader;
  Feed feed;
  if (!reader.feed(root, feed)) return std::move(*reader.failure.error);
  return feed;
}

DecodeError jsonError(simdjson::error_code code) {
  return DecodeError{"", std::string("not valid JSON: ") + simdjson::error_message(code)};
}

/// Sizes the parser for `bytes` and prefaults the parts of its buffers that a feed document will
/// write. For feed-shaped text (short keys and values, many of them) the structure indexes take
/// about 0.65 of the document's size, the tape about 0.75 and the string copies (keys included)
/// about 1.1; each buffer is reserved for the worst case, several times larger, and only the part
/// written is ever mapped, so prefaulting more than that would only add to the peak. A document of
/// another shape simply faults in the rest as it is written. `implementation` and `doc` are public
/// members of simdjson's parser, documented as for benchmarking access.
void prepare(simdjson::dom::parser& parser, std::size_t bytes) {
  if (bytes < detail::kPrefaultFrom || parser.allocate(bytes) != simdjson::SUCCESS) return;
  if (parser.implementation) detail::prefault(parser.implementation->structural_indexes.get(), bytes / 3 * 2);
  if (parser.doc.allocate(bytes) != simdjson::SUCCESS) return;  // else the parse allocates it
  detail::prefault(parser.doc.tape.get(), bytes / 4 * 3);
  detail::prefault(parser.doc.string_buf.get(), bytes + bytes / 8);
}

/// Decodes `bytes`, which must be followed by kDecodePadding readable bytes. `owned`, when given,
/// holds them. The parsed form holds copies of every string, so once a parse succeeds the text is
/// released (when owned here) before the typed values are built: a large document's text, parsed
/// form and typed form are never all held at once.
DecodeResult decodePaddedUnchecked(std::string_view bytes, std::unique_ptr<char[]> owned) {
  simdjson::dom::parser parser;
  prepare(parser, bytes.size());
  element root;
  auto code = parser.parse(bytes.data(), bytes.size(), false).get(root);
  if (code == simdjson::SUCCESS) {
    owned.reset();
    return decodeRoot(root);
  }
  if (!refusedForLimits(code)) return jsonError(code);
  std::optional<std::string> scrubbed = detail::scrubFeed(bytes);
  if (!scrubbed) return jsonError(code);
  owned.reset();
  code = parser.parse(*scrubbed).get(root);
  if (code != simdjson::SUCCESS) {
    // Well-formed, but a value that the feed reads holds what the parser cannot (a number beyond
    // binary64 or 64 bits, nesting deeper than it tracks).
    return DecodeError{"", std::string("value out of the decoder's range: ") + simdjson::error_message(code)};
  }
  return decodeRoot(root);
}

}  // namespace

DecodeResult decodeFeedPadded(std::string_view bytes) {
  try {
    return decodePaddedUnchecked(bytes, nullptr);
  } catch (const std::bad_alloc&) {
    return DecodeError{"", "out of memory"};
  }
}

DecodeResult decodeFeedPadded(std::unique_ptr<char[]> text, std::size_t size) {
  try {
    const std::string_view bytes{text.get(), size};
    return decodePaddedUnchecked(bytes, std::move(text));
  } catch (const std::bad_alloc&) {
    return DecodeError{"", "out of memory"};
  }
}

DecodeResult decodeFeed(std::string_view bytes) {
  try {
    std::unique_ptr<char[]> copy{new char[bytes.size() + kDecodePadding]};
    if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
    std::memset(copy.get() + bytes.size(), 0, kDecodePadding);
    return decodeFeedPadded(std::move(copy), bytes.size());
  } catch (const std::bad_alloc&) {
    return DecodeError{"", "out of memory"};
  }
}

}  // namespace ostrel
