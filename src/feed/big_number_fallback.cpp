#include "feed/big_number_fallback.hpp"

#include <simdjson.h>

#include <cstdint>
#include <optional>

#include "feed/feed.hpp"

// One pass over the text with an explicit stack, so nesting depth costs heap, not call stack. The
// copy is written as the scan goes: text is copied through up to the start of a value to replace, and
// the replacement is written once the value's end is known.

namespace ostrel::detail {
namespace {

/// What the decoder does with a value, by where it stands.
enum class Place : std::uint8_t {
  ignored,  // under a key that no record names
  inert,    // inside a container that is replaced whole
  root,
  classList,
  dueList,
  classItem,
  dueItem,
  color,   // containers that the decoder walks into
  scalar,  // a text, date or boolean field
  version,
  cards,
  weight,  // the number fields
};

bool walksObject(Place p) {
  return p == Place::root || p == Place::classItem || p == Place::dueItem || p == Place::color;
}

bool walksArray(Place p) {
  return p == Place::classList || p == Place::dueList;
}

template <class Record>
Place member(std::string_view key, Place kept) {
  return codingKey<Record>(key) ? kept : Place::ignored;
}

/// The place of the value under `key` in an object walked at place `parent`.
Place memberPlace(Place parent, std::string_view key) {
  switch (parent) {
    case Place::root:
      if (key == "classes") return Place::classList;
      if (key == "due") return Place::dueList;
      if (key == "v") return Place::version;
      if (key == "cards") return Place::cards;
      return member<Feed>(key, Place::scalar);
    case Place::classItem:
      if (key == "color") return Place::color;
      return member<ClassItem>(key, Place::scalar);
    case Place::dueItem:
      if (key == "color") return Place::color;
      if (key == "weight") return Place::weight;
      return member<DueItem>(key, Place::scalar);
    case Place::color:
      return member<UnitColor>(key, Place::scalar);
    default:
      return parent;  // ignored or inert
  }
}

Place elementPlace(Place parent) {
  switch (parent) {
    case Place::classList:
      return Place::classItem;
    case Place::dueList:
      return Place::dueItem;
    default:
      return parent;  // ignored or inert
  }
}

struct Frame {
  bool object;
  Place place;
  std::size_t index;      // for a list's element: its index, for the paths of failures
  bool replaced;          // the outermost container of a replacement
  std::size_t count = 0;  // members or elements begun so far
};

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

unsigned hexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  return 16;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
  const auto byte = [&out](std::uint32_t b) {
    out.push_back(static_cast<char>(static_cast<unsigned char>(b)));
  };
  if (cp < 0x80) {
    byte(cp);
  } else if (cp < 0x800) {
    byte(0xC0 | (cp >> 6));
    byte(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    byte(0xE0 | (cp >> 12));
    byte(0x80 | ((cp >> 6) & 0x3F));
    byte(0x80 | (cp & 0x3F));
  } else {
    byte(0xF0 | (cp >> 18));
    byte(0x80 | ((cp >> 12) & 0x3F));
    byte(0x80 | ((cp >> 6) & 0x3F));
    byte(0x80 | (cp & 0x3F));
  }
}

class Scanner {
 public:
  explicit Scanner(std::string_view s) : s_(s) { out_.reserve(s.size() + simdjson::SIMDJSON_PADDING); }

  Result<HeldCopy, DecodeError> run() {
    skipSpace();
    if (!value(Place::root, 0)) return malformed();
    while (!stack_.empty()) {
      skipSpace();
      Frame& top = stack_.back();
      if (at(top.object ? '}' : ']')) {
        ++pos_;
        if (top.replaced) endReplacement();
        stack_.pop_back();
        continue;
      }
      if (top.count > 0) {
        if (!at(',')) return malformed();
        ++pos_;
        skipSpace();
      }
      ++top.count;
      if (!next(top)) return malformed();
    }
    skipSpace();
    if (pos_ != s_.size()) return malformed();
    out_.append(s_.substr(copied_));
    out_.reserve(out_.size() + simdjson::SIMDJSON_PADDING);
    return HeldCopy{std::move(out_), std::move(unheld_)};
  }

 private:
  [[nodiscard]] DecodeError malformed() const {
    return DecodeError{DecodeErrorKind::malformedJson, "",
                       pos_ >= s_.size() ? "the text ends inside a value"
                                         : "unexpected character at byte " + std::to_string(pos_)};
  }

  [[nodiscard]] bool at(char c) const { return pos_ < s_.size() && s_[pos_] == c; }

  void skipSpace() {
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return;
      ++pos_;
    }
  }

  // The copy.
  void flushTo(std::size_t end) {
    out_.append(s_.substr(copied_, end - copied_));
    copied_ = end;
  }
  void replace(std::size_t begin, std::size_t end, std::string_view with) {
    flushTo(begin);
    out_.append(with);
    copied_ = end;
  }
  void beginReplacement(std::size_t begin, std::string_view with) {
    flushTo(begin);
    replacing_ = with;
    replaceFrom_ = begin;
  }
  void endReplacement() {
    out_.append(replacing_);
    copied_ = pos_;
    replaceFrom_ = kNone;
  }

  /// Reads the next member (objects) or element (arrays) of `top`. `top` may not be used afterwards,
  /// since a container opened here grows the stack.
  bool next(const Frame& top) {
    if (!top.object) return value(elementPlace(top.place), top.count - 1);
    const std::size_t keyStart = pos_;
    bool escaped = false;
    if (!string(escaped)) return false;
    Place place = top.place;
    if (walksObject(top.place)) {
      const std::string_view raw = s_.substr(keyStart + 1, pos_ - keyStart - 2);
      place = escaped ? memberPlace(top.place, unescape(raw)) : memberPlace(top.place, raw);
    }
    const std::size_t index = top.index;
    skipSpace();
    if (!at(':')) return false;
    ++pos_;
    skipSpace();
    return value(place, index);
  }

  /// Reads one value: opens a container (its members are read by the loop in run()) or reads a whole
  /// scalar.
  bool value(Place place, std::size_t index) {
    if (pos_ >= s_.size()) return false;
    const std::size_t start = pos_;
    const char c = s_[pos_];
    if (c == '{' || c == '[') {
      ++pos_;
      open(c == '{', place, index, start);
      return true;
    }
    bool ok = false;
    bool integral = false;
    bool escaped = false;
    if (c == '"') {
      ok = string(escaped);
    } else if (c == 't') {
      ok = literal("true");
    } else if (c == 'f') {
      ok = literal("false");
    } else if (c == 'n') {
      ok = literal("null");
    } else {
      ok = number(integral);
      if (ok && place != Place::ignored && place != Place::inert) numberAt(place, index, start, integral);
    }
    if (ok && place == Place::ignored && replaceFrom_ == kNone) replace(start, pos_, "null");
    return ok;
  }

  void open(bool object, Place place, std::size_t index, std::size_t start) {
    Place inner = Place::inert;
    bool replaced = false;
    if (place == Place::ignored) {
      inner = Place::ignored;
      if (replaceFrom_ == kNone) {
        beginReplacement(start, "null");
        replaced = true;
      }
    } else if (place != Place::inert) {
      if ((walksObject(place) && object) || (walksArray(place) && !object)) {
        inner = place;
      } else {
        // The wrong type whatever it holds: the decoder sees an empty container of the same type.
        beginReplacement(start, object ? "{}" : "[]");
        replaced = true;
      }
    }
    stack_.push_back(Frame{object, inner, index, replaced});
  }

  /// A number the decoder reads (or finds of the wrong type), from `start` to the current position.
  void numberAt(Place place, std::size_t index, std::size_t start, bool integral) {
    const std::string_view written = s_.substr(start, pos_ - start);
    if (held(written)) return;
    if (place == Place::weight && integral) {
      // A weight is any number: written as an integer beyond 64 bits, it is read as a double.
      std::string asDouble{written};
      asDouble += ".0";
      if (held(asDouble)) {
        replace(start, pos_, asDouble);
        return;
      }
    }
    if (place == Place::version || place == Place::cards) {
      unheld_.push_back(
          integral ? DecodeError{DecodeErrorKind::outOfRange, place == Place::cards ? "cards" : "v",
                                 std::string(kBeyondInt64)}
                   : DecodeError{DecodeErrorKind::notAnInteger, place == Place::cards ? "cards" : "v",
                                 std::string(kNotIntegerLiteral)});
    } else if (place == Place::weight) {
      unheld_.push_back(DecodeError{DecodeErrorKind::outOfRange, "due[" + std::to_string(index) + "].weight",
                                    std::string(kBeyondDouble)});
    }
    // Elsewhere a number is the wrong type, whatever its value.
    replace(start, pos_, "0");
  }

  /// Whether the parser holds the number written as `written` (a valid JSON number).
  bool held(std::string_view written) {
    // Up to 15 characters without an exponent: below 10^15 in magnitude, held as an integer or a double.
    if (written.size() <= 15 && written.find_first_of("eE") == std::string_view::npos) return true;
    probeText_.assign(written);
    probeText_.reserve(written.size() + simdjson::SIMDJSON_PADDING);
    simdjson::dom::element e;
    return probe_
               .parse(
                   simdjson::padded_string_view(probeText_.data(), probeText_.size(), probeText_.capacity()))
               .get(e) == simdjson::SUCCESS;
  }

  bool literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  /// Four hex digits at `p`, or nothing.
  [[nodiscard]] std::optional<std::uint32_t> hex4(std::size_t p) const {
    if (p + 4 > s_.size()) return std::nullopt;
    std::uint32_t v = 0;
    for (std::size_t i = p; i < p + 4; ++i) {
      const unsigned h = hexValue(s_[i]);
      if (h > 15) return std::nullopt;
      v = v * 16 + h;
    }
    return v;
  }

  /// A string: no control characters, only the defined escapes, and a \u escape of a high surrogate
  /// immediately followed by one of a low surrogate (a lone surrogate is refused, as the parser does).
  bool string(bool& escaped) {
    if (!at('"')) return false;
    ++pos_;
    while (pos_ < s_.size()) {
      const auto c = static_cast<unsigned char>(s_[pos_]);
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return false;
      if (c != '\\') {
        ++pos_;
        continue;
      }
      escaped = true;
      if (pos_ + 1 >= s_.size()) return false;
      const char e = s_[pos_ + 1];
      if (e != 'u') {
        if (e != '"' && e != '\\' && e != '/' && e != 'b' && e != 'f' && e != 'n' && e != 'r' && e != 't') {
          return false;
        }
        pos_ += 2;
        continue;
      }
      const auto unit = hex4(pos_ + 2);
      if (!unit || (*unit >= 0xDC00 && *unit <= 0xDFFF)) return false;
      pos_ += 6;
      if (*unit >= 0xD800 && *unit <= 0xDBFF) {
        if (!at('\\') || pos_ + 1 >= s_.size() || s_[pos_ + 1] != 'u') return false;
        const auto low = hex4(pos_ + 2);
        if (!low || *low < 0xDC00 || *low > 0xDFFF) return false;
        pos_ += 6;
      }
    }
    return false;
  }

  /// The text of a string's contents that `string` accepted, escapes resolved.
  static std::string unescape(std::string_view raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\\') {
        out.push_back(raw[i]);
        continue;
      }
      const char e = raw[++i];
      if (e != 'u') {
        constexpr std::string_view kFrom = "\"\\/bfnrt";
        constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
        out.push_back(kTo[kFrom.find(e)]);
        continue;
      }
      const auto unit = [&raw](std::size_t p) {
        std::uint32_t v = 0;
        for (std::size_t k = p; k < p + 4; ++k) v = v * 16 + hexValue(raw[k]);
        return v;
      };
      std::uint32_t cp = unit(i + 1);
      i += 4;
      if (cp >= 0xD800 && cp <= 0xDBFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 3) - 0xDC00);
        i += 6;
      }
      appendUtf8(out, cp);
    }
    return out;
  }

  bool digits() {
    const std::size_t from = pos_;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
    return pos_ > from;
  }

  bool number(bool& integral) {
    integral = true;
    if (at('-')) ++pos_;
    if (at('0')) {
      ++pos_;
    } else if (!digits()) {
      return false;
    }
    if (at('.')) {
      integral = false;
      ++pos_;
      if (!digits()) return false;
    }
    if (at('e') || at('E')) {
      integral = false;
      ++pos_;
      if (at('+') || at('-')) ++pos_;
      if (!digits()) return false;
    }
    return true;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::vector<Frame> stack_;
  std::string out_;
  std::size_t copied_ = 0;  // s_ up to here is in out_, replacements made
  std::size_t replaceFrom_ = kNone;
  std::string_view replacing_;
  std::vector<DecodeError> unheld_;
  simdjson::dom::parser probe_;
  std::string probeText_;
};

}  // namespace

Result<HeldCopy, DecodeError> bigNumberFallback(std::string_view bytes) {
  if (!simdjson::validate_utf8(bytes.data(), bytes.size())) {
    return DecodeError{DecodeErrorKind::malformedJson, "", "invalid UTF-8"};
  }
  return Scanner{bytes}.run();
}

}  // namespace ostrel::detail
