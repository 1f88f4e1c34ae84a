#include "platform/ui/dump.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/json_writer.hpp"

namespace ostrel {

namespace {

std::string jsonString(std::string_view text) {
  return JsonWriter::quoted(text);
}
std::string numberText(double value) {
  return JsonWriter::numberText(value);
}

const char* name(HorizontalAlignment a) {
  switch (a) {
    case HorizontalAlignment::leading:
      return "leading";
    case HorizontalAlignment::center:
      return "center";
    case HorizontalAlignment::trailing:
      return "trailing";
  }
  return "center";
}

const char* name(VerticalAlignment a) {
  switch (a) {
    case VerticalAlignment::top:
      return "top";
    case VerticalAlignment::center:
      return "center";
    case VerticalAlignment::bottom:
      return "bottom";
  }
  return "center";
}

/// "center", "top", "leading", "topLeading", "bottomTrailing", ...
std::string name(Alignment a) {
  if (a.vertical == VerticalAlignment::center) return name(a.horizontal);
  std::string out = name(a.vertical);
  if (a.horizontal == HorizontalAlignment::center) return out;
  std::string h = name(a.horizontal);
  h[0] = static_cast<char>(h[0] - 'a' + 'A');
  return out + h;
}

const char* name(Edges e) {
  switch (e) {
    case Edges::all:
      return "all";
    case Edges::vertical:
      return "vertical";
    case Edges::horizontal:
      return "horizontal";
    case Edges::top:
      return "top";
    case Edges::bottom:
      return "bottom";
    case Edges::leading:
      return "leading";
    case Edges::trailing:
      return "trailing";
  }
  return "all";
}

const char* name(Font::Weight w) {
  switch (w) {
    case Font::Weight::regular:
      return "regular";
    case Font::Weight::medium:
      return "medium";
    case Font::Weight::semibold:
      return "semibold";
  }
  return "regular";
}

const char* name(Font::Design d) {
  return d == Font::Design::monospaced ? "monospaced" : "default";
}

/// The name of a named colour, or nullptr for an sRGB one.
const char* colorName(const Color& c) {
  switch (c.kind) {
    case Color::Kind::rgb:
      return nullptr;
    case Color::Kind::secondary:
      return "secondary";
    case Color::Kind::clear:
      return "clear";
    case Color::Kind::primary:
      return "primary";
  }
  return nullptr;
}

constexpr const char* hierarchicalSecondary = "hierarchicalSecondary";

// ---------------------------------------------------------------------------------------------
// JSON

/// A JSON value, built first and printed afterwards so that both layouts share one structure.
struct Json {
  enum class Kind { boolean, integer, number, string, array, object };
  Kind kind = Kind::object;
  bool flag = false;
  std::int64_t integer = 0;
  double number = 0;
  std::string text;
  std::vector<std::string> keys;  ///< object member names, in order
  std::vector<Json> items;        ///< array elements or object member values

  static Json make(Kind k) {
    Json j;
    j.kind = k;
    return j;
  }
  static Json of(bool b) {
    Json j = make(Kind::boolean);
    j.flag = b;
    return j;
  }
  static Json of(std::int64_t i) {
    Json j = make(Kind::integer);
    j.integer = i;
    return j;
  }
  static Json of(double d) {
    // JSON has no number for infinities and NaN; they are written as strings.
    if (!std::isfinite(d)) return of(numberText(d));
    Json j = make(Kind::number);
    j.number = d;
    return j;
  }
  static Json of(std::string s) {
    Json j = make(Kind::string);
    j.text = std::move(s);
    return j;
  }
  static Json of(const char* s) { return of(std::string(s)); }
  static Json array() { return make(Kind::array); }
  static Json object() { return make(Kind::object); }

  Json& add(std::string key, Json value) {
    keys.push_back(std::move(key));
    items.push_back(std::move(value));
    return *this;
  }
  Json& push(Json value) {
    items.push_back(std::move(value));
    return *this;
  }
};

Json toJson(const Color& c) {
  if (const char* n = colorName(c)) return Json::of(n);
  Json o = Json::object();
  o.add("r", Json::of(c.red)).add("g", Json::of(c.green)).add("b", Json::of(c.blue));
  o.add("opacity", Json::of(c.opacity));
  return o;
}

Json toJson(const Value& value) {
  return std::visit(
      [](const auto& v) -> Json {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::int64_t> ||
                      std::is_same_v<T, double> || std::is_same_v<T, std::string>) {
          return Json::of(v);
        } else if constexpr (std::is_same_v<T, Color>) {
          return toJson(v);
        } else if constexpr (std::is_same_v<T, Font>) {
          Json o = Json::object();
          o.add("size", Json::of(v.size)).add("weight", Json::of(name(v.weight)));
          o.add("design", Json::of(name(v.design)));
          return o;
        } else if constexpr (std::is_same_v<T, Style>) {
          return v.kind == Style::Kind::hierarchicalSecondary ? Json::of(hierarchicalSecondary)
                                                              : toJson(v.color);
        } else if constexpr (std::is_same_v<T, HorizontalAlignment> || std::is_same_v<T, VerticalAlignment> ||
                             std::is_same_v<T, Edges> || std::is_same_v<T, Alignment>) {
          return Json::of(name(v));
        } else if constexpr (std::is_same_v<T, UnitPoint>) {
          Json o = Json::object();
          o.add("x", Json::of(v.x)).add("y", Json::of(v.y));
          return o;
        } else {
          static_assert(std::is_same_v<T, std::vector<Color>>);
          Json a = Json::array();
          for (const Color& c : v) a.push(toJson(c));
          return a;
        }
      },
      value);
}

Json toJson(const Args& args) {
  Json o = Json::object();
  for (const auto& [key, value] : args.items) o.add(key, toJson(value));
  return o;
}

Json toJson(const View& view) {
  Json node = Json::object();
  node.add("type", Json::of(view.type));
  if (view.composite) node.add("composite", Json::of(true));
  node.add("args", toJson(view.args));
  Json modifiers = Json::array();
  for (const Modifier& m : view.modifiers) {
    Json mod = Json::object();
    mod.add("name", Json::of(m.name)).add("args", toJson(m.args));
    if (!m.content.empty()) {
      Json content = Json::array();
      for (const View& v : m.content) content.push(toJson(v));
      mod.add("content", std::move(content));
    }
    modifiers.push(std::move(mod));
  }
  node.add("modifiers", std::move(modifiers));
  Json children = Json::array();
  for (const View& child : view.children) children.push(toJson(child));
  node.add("children", std::move(children));
  if (view.text) {
    node.add("text", Json::of(view.text->shown)).add("verbatim", Json::of(view.text->verbatim));
    if (!view.text->verbatim) {
      node.add("key", Json::of(view.text->key));
      Json arguments = Json::array();
      for (const std::string& a : view.text->arguments) arguments.push(Json::of(a));
      node.add("arguments", std::move(arguments));
    }
  }
  return node;
}

void newline(std::string& out, int indent, int depth) {
  if (indent <= 0) return;
  out += '\n';
  out.append(static_cast<std::size_t>(indent) * static_cast<std::size_t>(depth), ' ');
}

void print(const Json& j, std::string& out, int indent, int depth) {
  switch (j.kind) {
    case Json::Kind::boolean:
      out += j.flag ? "true" : "false";
      return;
    case Json::Kind::integer:
      out += std::to_string(j.integer);
      return;
    case Json::Kind::number:
      out += numberText(j.number);
      return;
    case Json::Kind::string:
      out += jsonString(j.text);
      return;
    case Json::Kind::array:
    case Json::Kind::object:
      break;
  }
  const bool object = j.kind == Json::Kind::object;
  out += object ? '{' : '[';
  if (j.items.empty()) {
    out += object ? '}' : ']';
    return;
  }
  for (std::size_t i = 0; i < j.items.size(); ++i) {
    if (i > 0) out += ',';
    newline(out, indent, depth + 1);
    if (object) {
      out += jsonString(j.keys[i]);
      out += indent > 0 ? ": " : ":";
    }
    print(j.items[i], out, indent, depth + 1);
  }
  newline(out, indent, depth);
  out += object ? '}' : ']';
}

// ---------------------------------------------------------------------------------------------
// Text

std::string colorText(const Color& c) {
  if (const char* n = colorName(c)) return n;
  std::string out = "rgb(" + numberText(c.red) + ", " + numberText(c.green) + ", " + numberText(c.blue);
  if (c.opacity != 1) out += ", opacity: " + numberText(c.opacity);
  return out + ")";
}

std::string valueText(const Value& value) {
  return std::visit(
      [](const auto& v) -> std::string {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          return v ? "true" : "false";
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return std::to_string(v);
        } else if constexpr (std::is_same_v<T, double>) {
          return numberText(v);
        } else if constexpr (std::is_same_v<T, std::string>) {
          return jsonString(v);
        } else if constexpr (std::is_same_v<T, Color>) {
          return colorText(v);
        } else if constexpr (std::is_same_v<T, Font>) {
          return "system(size: " + numberText(v.size) + ", weight: " + name(v.weight) +
                 ", design: " + name(v.design) + ")";
        } else if constexpr (std::is_same_v<T, Style>) {
          return v.kind == Style::Kind::hierarchicalSecondary ? hierarchicalSecondary : colorText(v.color);
        } else if constexpr (std::is_same_v<T, HorizontalAlignment> || std::is_same_v<T, VerticalAlignment> ||
                             std::is_same_v<T, Edges> || std::is_same_v<T, Alignment>) {
          return name(v);
        } else if constexpr (std::is_same_v<T, UnitPoint>) {
          if (v == UnitPoint::topTrailing) return "topTrailing";
          return "(x: " + numberText(v.x) + ", y: " + numberText(v.y) + ")";
        } else {
          static_assert(std::is_same_v<T, std::vector<Color>>);
          std::string out = "[";
          for (std::size_t i = 0; i < v.size(); ++i) out += (i > 0 ? ", " : "") + colorText(v[i]);
          return out + "]";
        }
      },
      value);
}

std::string argsText(const Args& args) {
  std::string out;
  for (std::size_t i = 0; i < args.items.size(); ++i) {
    if (i > 0) out += ", ";
    out += args.items[i].first + ": " + valueText(args.items[i].second);
  }
  return out;
}

void indentTo(std::string& out, int depth) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void printText(const View& view, std::string& out, int depth) {
  indentTo(out, depth);
  out += view.type;
  if (!view.args.items.empty()) out += "(" + argsText(view.args) + ")";
  if (view.text) {
    out += ' ';
    out += jsonString(view.text->shown);
    if (view.text->verbatim) {
      out += " verbatim";
    } else {
      out += " key: " + jsonString(view.text->key);
      if (!view.text->arguments.empty()) {
        out += " arguments: [";
        for (std::size_t i = 0; i < view.text->arguments.size(); ++i) {
          out += (i > 0 ? ", " : "") + jsonString(view.text->arguments[i]);
        }
        out += "]";
      }
    }
  }
  out += '\n';
  for (const Modifier& m : view.modifiers) {
    indentTo(out, depth + 1);
    out += "." + m.name + "(" + argsText(m.args) + ")\n";
    for (const View& v : m.content) printText(v, out, depth + 2);
  }
  for (const View& child : view.children) printText(child, out, depth + 1);
}

}  // namespace

std::string dumpText(const View& view) {
  std::string out;
  printText(view, out, 0);
  return out;
}

std::string dumpJson(const View& view, int indent) {
  std::string out;
  print(toJson(view), out, indent, 0);
  out += '\n';
  return out;
}

}  // namespace ostrel
