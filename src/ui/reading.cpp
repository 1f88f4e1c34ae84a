#include "ui/reading.hpp"

#include <string_view>

namespace ostrel {
namespace {

/// The separator owed before the next piece of text.
enum class Pause { none, comma, row, sentence, heading };

class Reader {
 public:
  void read(const View& v) {
    if (const auto* c = std::get_if<viewtype::Composite>(&v.type); c && c->name == "Heading") {
      heading(c->args);
      return;
    }
    if (const TextContent* text = v.text()) say(text->shown);
    const bool rows = std::holds_alternative<viewtype::ForEach>(v.type);
    for (std::size_t i = 0; i < v.children.size(); ++i) {
      if (rows && i > 0) pauseAtLeast(Pause::row);
      read(v.children[i]);
    }
  }

  [[nodiscard]] std::string text() && { return std::move(out_); }

 private:
  void heading(const Args& args) {
    const Pause before = pause_;
    const std::size_t length = out_.size();
    pause_ = Pause::sentence;
    say(args.get<std::string>("text").value_or(""));
    if (const auto trailing = args.get<std::string>("trailing")) say(*trailing);
    pause_ = out_.size() == length ? before : Pause::heading;
  }

  void pauseAtLeast(Pause p) {
    if (p > pause_) pause_ = p;
  }

  void say(std::string_view shown) {
    const std::string words = clean(shown);
    if (words.empty()) return;
    if (!out_.empty()) {
      switch (pause_) {
        case Pause::none:
        case Pause::comma:
          out_ += ", ";
          break;
        case Pause::row:
          out_ += "; ";
          break;
        case Pause::sentence:
          out_ += ". ";
          break;
        case Pause::heading:
          out_ += ": ";
          break;
      }
    }
    out_ += words;
    pause_ = Pause::comma;
  }

  /// Control characters as spaces, runs of spaces as one, and no spaces or separator dots at
  /// either end.
  static std::string clean(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
      const auto c = static_cast<unsigned char>(ch);
      const char keep = c < 0x20 || c == 0x7F ? ' ' : ch;
      if (keep == ' ' && (out.empty() || out.back() == ' ')) continue;
      out += keep;
    }
    static constexpr std::string_view dots[] = {"\xC2\xB7", "\xE2\x80\xA2"};  // U+00B7, U+2022
    for (bool trimmed = true; trimmed;) {
      trimmed = false;
      while (!out.empty() && out.back() == ' ') out.pop_back();
      while (!out.empty() && out.front() == ' ') out.erase(0, 1);
      for (const std::string_view dot : dots) {
        if (out.starts_with(dot)) {
          out.erase(0, dot.size());
          trimmed = true;
        }
        if (out.ends_with(dot)) {
          out.erase(out.size() - dot.size());
          trimmed = true;
        }
      }
    }
    return out;
  }

  std::string out_;
  Pause pause_ = Pause::none;
};

}  // namespace

std::string reading(const View& tree) {
  Reader reader;
  reader.read(tree);
  return std::move(reader).text();
}

}  // namespace ostrel
