#include "ui/json_dump.hpp"

#include <type_traits>

#include "base/json_writer.hpp"

namespace ostrel {
namespace {

void write(JsonWriter& w, const View& view);

void write(JsonWriter& w, const Color& c) {
  if (c.kind != Color::Kind::rgb) {
    w.value(name(c.kind));
    return;
  }
  w.beginObject().member("r", c.red).member("g", c.green).member("b", c.blue).member("opacity", c.opacity);
  w.endObject();
}

void write(JsonWriter& w, const ArgumentValue& value) {
  std::visit(
      [&w](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::int64_t> ||
                      std::is_same_v<T, double> || std::is_same_v<T, std::string>) {
          w.value(v);
        } else if constexpr (std::is_same_v<T, Color>) {
          write(w, v);
        } else if constexpr (std::is_same_v<T, Font>) {
          w.beginObject().member("size", v.size).member("weight", name(v.weight));
          w.member("design", name(v.design)).endObject();
        } else if constexpr (std::is_same_v<T, Style>) {
          if (v.kind == Style::Kind::hierarchicalSecondary) {
            w.value("hierarchicalSecondary");
          } else {
            write(w, v.color);
          }
        } else if constexpr (std::is_same_v<T, HorizontalAlignment> || std::is_same_v<T, VerticalAlignment> ||
                             std::is_same_v<T, Edges> || std::is_same_v<T, Alignment>) {
          w.value(name(v));
        } else if constexpr (std::is_same_v<T, UnitPoint>) {
          w.beginObject().member("x", v.x).member("y", v.y).endObject();
        } else {
          static_assert(std::is_same_v<T, std::vector<Color>>);
          w.beginArray();
          for (const Color& c : v) write(w, c);
          w.endArray();
        }
      },
      value);
}

void write(JsonWriter& w, const Modifier& m) {
  w.beginObject().member("name", name(m));
  w.key("args").beginObject();
  forEachArgument(m, [&w](std::string_view key, const ArgumentValue& v) {
    w.key(key);
    write(w, v);
  });
  w.endObject();
  if (const std::vector<View>& views = content(m); !views.empty()) {
    w.key("content").beginArray();
    for (const View& v : views) write(w, v);
    w.endArray();
  }
  w.endObject();
}

void write(JsonWriter& w, const View& view) {
  w.beginObject().member("type", name(view.type));
  if (std::holds_alternative<viewtype::Composite>(view.type)) w.member("composite", true);
  w.key("args").beginObject();
  forEachArgument(view.type, [&w](std::string_view key, const ArgumentValue& v) {
    w.key(key);
    write(w, v);
  });
  w.endObject();
  w.key("modifiers").beginArray();
  for (const Modifier& m : view.modifiers) write(w, m);
  w.endArray();
  w.key("children").beginArray();
  for (const View& child : view.children) write(w, child);
  w.endArray();
  if (const TextContent* text = view.text()) {
    w.member("text", text->shown).member("verbatim", text->verbatim);
    if (!text->verbatim) {
      w.member("key", text->key);
      w.key("arguments").beginArray();
      for (const std::string& a : text->arguments) w.value(a);
      w.endArray();
    }
  }
  w.endObject();
}

}  // namespace

std::string dumpJson(const View& view, int indent) {
  JsonWriter w(indent > 0 ? JsonWriter::indented(indent) : JsonWriter::compact);
  write(w, view);
  std::string out = std::move(w).text();
  out += '\n';
  return out;
}

}  // namespace ostrel
