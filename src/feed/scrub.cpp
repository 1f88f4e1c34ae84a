#include "feed/scrub.hpp"

#include <simdjson.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "feed/feed.hpp"

// One pass over the text with an explicit stack, so nesting depth costs heap, not call stack.
// Each open container remembers what it is in the feed's shape: the top-level object, the two lists,
// a class, a deadline, a colour, a value the feed reads whole (kept verbatim), or a value under an
// unknown key (blanked). Keys written with escapes are never taken for unknown ones: their values
// are kept, and the fast parser judges them afterwards.

namespace ostrel::detail {
namespace {

enum class Shape : std::uint8_t { keep, blank, root, classList, dueList, classItem, dueItem, color };

struct Frame {
  bool object;
  Shape shape;
  std::size_t blankFrom;  // where this container starts if it is the outermost blanked value, else npos
  bool empty = true;      // no member or element read yet
};

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

template <class Record>
Shape known(std::string_view key, Shape kept) {
  return codingKey<Record>(key) ? kept : Shape::blank;
}

/// The shape of the value under `key` inside a container of shape `parent`.
Shape memberShape(Shape parent, std::string_view key, bool escaped) {
  switch (parent) {
    case Shape::keep:
      return Shape::keep;
    case Shape::blank:
      return Shape::blank;
    case Shape::root:
      if (escaped) return Shape::keep;
      if (key == "classes") return Shape::classList;
      if (key == "due") return Shape::dueList;
      return known<Feed>(key, Shape::keep);
    case Shape::classItem:
      if (escaped) return Shape::keep;
      if (key == "color") return Shape::color;
      return known<ClassItem>(key, Shape::keep);
    case Shape::dueItem:
      if (escaped) return Shape::keep;
      if (key == "color") return Shape::color;
      return known<DueItem>(key, Shape::keep);
    case Shape::color:
      if (escaped) return Shape::keep;
      return known<UnitColor>(key, Shape::keep);
    case Shape::classList:
    case Shape::dueList:
      break;
  }
  return Shape::keep;
}

Shape elementShape(Shape parent) {
  switch (parent) {
    case Shape::classList:
      return Shape::classItem;
    case Shape::dueList:
      return Shape::dueItem;
    case Shape::blank:
      return Shape::blank;
    default:
      return Shape::keep;
  }
}

class Scanner {
 public:
  explicit Scanner(std::string_view s) : s_(s) {}

  std::optional<std::string> run() {
    skipSpace();
    if (!value(Shape::root, false)) return std::nullopt;
    while (!stack_.empty()) {
      skipSpace();
      Frame& top = stack_.back();
      const char close = top.object ? '}' : ']';
      if (at(close)) {
        ++pos_;
        const Frame done = top;
        stack_.pop_back();
        if (done.blankFrom != kNone) blanks_.emplace_back(done.blankFrom, pos_);
        continue;
      }
      if (!top.empty) {
        if (!at(',')) return std::nullopt;
        ++pos_;
        skipSpace();
      }
      top.empty = false;
      if (!next(top)) return std::nullopt;
    }
    skipSpace();
    if (pos_ != s_.size()) return std::nullopt;
    return rebuild();
  }

 private:
  bool at(char c) const { return pos_ < s_.size() && s_[pos_] == c; }

  void skipSpace() {
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return;
      ++pos_;
    }
  }

  /// Reads the next member (objects) or element (arrays) of `top`; `top` may not be used afterwards,
  /// since a container opened here grows the stack.
  bool next(const Frame& top) {
    if (!top.object) return value(elementShape(top.shape), top.shape == Shape::blank);
    const std::size_t keyStart = pos_ + 1;
    bool escaped = false;
    if (!string(escaped)) return false;
    const std::string_view key = s_.substr(keyStart, pos_ - 1 - keyStart);
    skipSpace();
    if (!at(':')) return false;
    ++pos_;
    skipSpace();
    return value(memberShape(top.shape, key, escaped), top.shape == Shape::blank);
  }

  /// Reads one value: opens a container (its members are read by the loop in run()) or reads a whole
  /// scalar.
  bool value(Shape shape, bool insideBlank) {
    const std::size_t start = pos_;
    const bool blankRoot = shape == Shape::blank && !insideBlank;
    if (pos_ >= s_.size()) return false;
    const char c = s_[pos_];
    if (c == '{' || c == '[') {
      ++pos_;
      stack_.push_back(Frame{c == '{', shape, blankRoot ? start : kNone});
      return true;
    }
    bool ok = false;
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
      ok = number();
    }
    if (ok && blankRoot) blanks_.emplace_back(start, pos_);
    return ok;
  }

  bool literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  static bool hex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  }
  static bool digit(char c) { return c >= '0' && c <= '9'; }

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
      if (c == '\\') {
        escaped = true;
        if (pos_ + 1 >= s_.size()) return false;
        const char e = s_[pos_ + 1];
        if (e == 'u') {
          if (pos_ + 6 > s_.size()) return false;
          for (std::size_t i = 2; i < 6; ++i) {
            if (!hex(s_[pos_ + i])) return false;
          }
          pos_ += 6;
          continue;
        }
        if (e != '"' && e != '\\' && e != '/' && e != 'b' && e != 'f' && e != 'n' && e != 'r' && e != 't') {
          return false;
        }
        pos_ += 2;
        continue;
      }
      ++pos_;
    }
    return false;
  }

  bool digits() {
    const std::size_t from = pos_;
    while (pos_ < s_.size() && digit(s_[pos_])) ++pos_;
    return pos_ > from;
  }

  bool number() {
    if (at('-')) ++pos_;
    if (at('0')) {
      ++pos_;
    } else if (!digits()) {
      return false;
    }
    if (at('.')) {
      ++pos_;
      if (!digits()) return false;
    }
    if (at('e') || at('E')) {
      ++pos_;
      if (at('+') || at('-')) ++pos_;
      if (!digits()) return false;
    }
    return true;
  }

  std::string rebuild() const {
    std::string out;
    out.reserve(s_.size() + simdjson::SIMDJSON_PADDING);
    std::size_t from = 0;
    for (const auto& [begin, end] : blanks_) {
      out.append(s_.substr(from, begin - from));
      out.append("null");
      from = end;
    }
    out.append(s_.substr(from));
    return out;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::vector<Frame> stack_;
  std::vector<std::pair<std::size_t, std::size_t>> blanks_;
};

}  // namespace

std::optional<std::string> scrubFeed(std::string_view bytes) {
  if (!simdjson::validate_utf8(bytes.data(), bytes.size())) return std::nullopt;
  return Scanner{bytes}.run();
}

}  // namespace ostrel::detail
