#include "components/palette.hpp"

namespace ostrel {

const Color& Palette::crimson() {
  // A function-local static: initialised once, under the language's own once-only guard.
  static const Color accent = Color::rgb(216 / 255.0, 59 / 255.0, 78 / 255.0, 1.0);
  return accent;
}

std::optional<std::uint64_t> Palette::parse(std::string_view text) {
  while (!text.empty() && text.front() == '#') text.remove_prefix(1);
  while (!text.empty() && text.back() == '#') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;

  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
  }

  std::uint64_t value = 0;
  for (const char byte : text) {
    std::uint64_t digit = 0;
    if (byte >= '0' && byte <= '9') {
      digit = static_cast<std::uint64_t>(byte - '0');
    } else if (byte >= 'a' && byte <= 'f') {
      digit = static_cast<std::uint64_t>(byte) - 'a' + 10;
    } else if (byte >= 'A' && byte <= 'F') {
      digit = static_cast<std::uint64_t>(byte) - 'A' + 10;
    } else {
      return std::nullopt;
    }
    // The step value * 16 + digit would pass 2^64 - 1 when any of the top four bits is set.
    if ((value >> 60) != 0) return std::nullopt;
    if (negative) {
      // value * 16 - digit: below zero for any digit but 0, and value stays 0 while it is valid.
      if (digit != 0) return std::nullopt;
      continue;
    }
    value = value * 16 + digit;
  }
  return value;
}

Color Palette::hex(std::string_view text) {
  const std::uint64_t value = parse(text).value_or(fallback);
  const auto channel = [value](int shift) { return static_cast<double>((value >> shift) & 0xFFu) / 255.0; };
  return Color::rgb(channel(16), channel(8), channel(0), 1.0);
}

Color Palette::unit(const std::optional<UnitColor>& color, ColorScheme scheme) {
  if (!color) return Color::secondary();
  return hex(scheme == ColorScheme::dark ? color->dark : color->light);
}

}  // namespace ostrel
