#include "ui/text_dump.hpp"

#include <type_traits>

#include "base/json_writer.hpp"

namespace ostrel {
namespace {

void number(std::string& out, double value) {
  out += JsonWriter::numberText(value);
}

void color(std::string& out, const Color& c) {
  if (c.kind != Color::Kind::rgb) {
    out += name(c.kind);
    return;
  }
  out += "rgb(";
  number(out, c.red);
  out += ", ";
  number(out, c.green);
  out += ", ";
  number(out, c.blue);
  if (c.opacity != 1) {
    out += ", opacity: ";
    number(out, c.opacity);
  }
  out += ')';
}

void value(std::string& out, const ArgumentValue& v) {
  std::visit(
      [&out](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, bool>) {
          out += x ? "true" : "false";
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          out += std::to_string(x);
        } else if constexpr (std::is_same_v<T, double>) {
          number(out, x);
        } else if constexpr (std::is_same_v<T, std::string>) {
          JsonWriter::appendQuoted(out, x);
        } else if constexpr (std::is_same_v<T, Color>) {
          color(out, x);
        } else if constexpr (std::is_same_v<T, Font>) {
          out += "system(size: ";
          number(out, x.size);
          out += ", weight: ";
          out += name(x.weight);
          out += ", design: ";
          out += name(x.design);
          out += ')';
        } else if constexpr (std::is_same_v<T, Style>) {
          if (x.kind == Style::Kind::hierarchicalSecondary) {
            out += "hierarchicalSecondary";
          } else {
            color(out, x.color);
          }
        } else if constexpr (std::is_same_v<T, HorizontalAlignment> || std::is_same_v<T, VerticalAlignment> ||
                             std::is_same_v<T, Edges> || std::is_same_v<T, Alignment>) {
          out += name(x);
        } else if constexpr (std::is_same_v<T, UnitPoint>) {
          if (x == UnitPoint::topTrailing) {
            out += "topTrailing";
            return;
          }
          out += "(x: ";
          number(out, x.x);
          out += ", y: ";
          number(out, x.y);
          out += ')';
        } else {
          static_assert(std::is_same_v<T, std::vector<Color>>);
          out += '[';
          for (std::size_t i = 0; i < x.size(); ++i) {
            if (i > 0) out += ", ";
            color(out, x[i]);
          }
          out += ']';
        }
      },
      v);
}

/// "name: value, name: value".
class ArgumentList {
 public:
  explicit ArgumentList(std::string& out) : out_(out) {}
  void operator()(std::string_view key, const ArgumentValue& v) {
    if (!first_) out_ += ", ";
    first_ = false;
    out_ += key;
    out_ += ": ";
    value(out_, v);
  }

 private:
  std::string& out_;
  bool first_ = true;
};

void indentTo(std::string& out, int depth) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void print(const View& view, std::string& out, int depth) {
  indentTo(out, depth);
  out += name(view.type);
  std::string arguments;
  ArgumentList typeArguments(arguments);
  forEachArgument(view.type,
                  [&typeArguments](std::string_view key, const ArgumentValue& v) { typeArguments(key, v); });
  if (!arguments.empty()) {
    out += '(';
    out += arguments;
    out += ')';
  }
  if (const TextContent* text = view.text()) {
    out += ' ';
    JsonWriter::appendQuoted(out, text->shown);
    if (text->verbatim) {
      out += " verbatim";
    } else {
      out += " key: ";
      JsonWriter::appendQuoted(out, text->key);
      if (!text->arguments.empty()) {
        out += " arguments: [";
        for (std::size_t i = 0; i < text->arguments.size(); ++i) {
          if (i > 0) out += ", ";
          JsonWriter::appendQuoted(out, text->arguments[i]);
        }
        out += ']';
      }
    }
  }
  out += '\n';
  for (const Modifier& m : view.modifiers) {
    indentTo(out, depth + 1);
    out += '.';
    out += name(m);
    out += '(';
    ArgumentList list(out);
    forEachArgument(m, [&list](std::string_view key, const ArgumentValue& v) { list(key, v); });
    out += ")\n";
    for (const View& v : content(m)) print(v, out, depth + 2);
  }
  for (const View& child : view.children) print(child, out, depth + 1);
}

}  // namespace

std::string dumpText(const View& view) {
  std::string out;
  print(view, out, 0);
  return out;
}

}  // namespace ostrel
