#pragma once
/// \file json_writer.hpp
/// The one JSON writer of the system: every JSON text the command prints (view dumps, timelines,
/// entries, the watch stream) is written through it, so there is one string escaper and one number
/// form. Writes straight into a string, in the order of the calls; it does not check that the calls
/// make a well-formed document (callers are simple and tested through their output).
///
///     JsonWriter w{JsonWriter::spaced};
///     w.beginObject().member("date", "2026-03-02T10:00:00.000Z").member("loaded", "feed").endObject();
///     std::cout << w.text();   // {"date": "2026-03-02T10:00:00.000Z", "loaded": "feed"}

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

/// How a `JsonWriter` lays out members and elements.
struct JsonLayout {
  int indent = 0;       ///< spaces per level, each member on its own line; 0: all on one line
  bool spaced = false;  ///< on one line, ", " between items and ": " after keys
};

class JsonWriter {
 public:
  using Layout = JsonLayout;
  static constexpr Layout compact{};                            ///< {"a":1,"b":[true]}
  static constexpr Layout spaced{.indent = 0, .spaced = true};  ///< {"a": 1, "b": [true]}
  [[nodiscard]] static constexpr Layout indented(int n) { return Layout{.indent = n, .spaced = true}; }

  explicit JsonWriter(Layout layout = compact) : layout_(layout) {}

  JsonWriter& beginObject() { return open('{'); }
  JsonWriter& endObject() { return close('}'); }
  JsonWriter& beginArray() { return open('['); }
  JsonWriter& endArray() { return close(']'); }
  /// The key of the next member.
  JsonWriter& key(std::string_view name);

  JsonWriter& value(std::string_view text);
  JsonWriter& value(const char* text) { return value(std::string_view(text)); }
  JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
  JsonWriter& value(bool flag);
  JsonWriter& value(std::int64_t number);
  JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
  /// The shortest form that reads back to the same double; infinities and NaN, which JSON has no
  /// number for, as the strings "infinity", "-infinity" and "nan".
  JsonWriter& value(double number);
  JsonWriter& null();

  /// `key(name)` then `value(v)`.
  template <class T>
  JsonWriter& member(std::string_view name, const T& v) {
    key(name);
    return value(v);
  }

  /// The text written so far.
  [[nodiscard]] const std::string& text() const& { return out_; }
  [[nodiscard]] std::string text() && { return std::move(out_); }

  /// Appends `text` as a JSON string literal with its quotes. Quote, backslash and control
  /// characters (and DEL) are escaped; invalid UTF-8 bytes become U+FFFD, so the output is always
  /// valid JSON whatever the input.
  static void appendQuoted(std::string& out, std::string_view text);
  /// `text` as a JSON string literal.
  [[nodiscard]] static std::string quoted(std::string_view text);
  /// A double in its shortest round-trip form ("0.6", "5", "1e+300", "0" also for -0); "infinity",
  /// "-infinity" and "nan" for the values that have no number form.
  [[nodiscard]] static std::string numberText(double number);

 private:
  JsonWriter& open(char bracket);
  JsonWriter& close(char bracket);
  void beforeValue();
  void newline(std::size_t depth);

  struct Level {
    bool empty = true;
  };
  Layout layout_;
  std::string out_;
  std::vector<Level> levels_;
  bool afterKey_ = false;
};

}  // namespace ostrel
