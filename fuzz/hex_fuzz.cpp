// Colour strings of any bytes: `Palette::hex` never fails, always gives an opaque sRGB colour whose
// channels are whole multiples of 1/255, and agrees with `Palette::parse`.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "components/palette.hpp"

namespace {

bool onlyColourBytes(std::string_view s) {
  return s.find_first_not_of("0123456789abcdefABCDEF#+-") == std::string_view::npos;
}

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ostrel::Color c = ostrel::Palette::hex(text);
  check(c.kind == ostrel::Color::Kind::rgb && c.opacity == 1.0);
  const std::uint64_t value = ostrel::Palette::parse(text).value_or(ostrel::Palette::fallback);
  check(c.red * 255.0 == static_cast<double>((value >> 16) & 0xFF));
  check(c.green * 255.0 == static_cast<double>((value >> 8) & 0xFF));
  check(c.blue * 255.0 == static_cast<double>(value & 0xFF));
  if (ostrel::Palette::parse(text)) {
    check(onlyColourBytes(text));
    // Runs of "#" at the ends make no difference.
    check(ostrel::Palette::parse("##" + std::string(text) + "#") == ostrel::Palette::parse(text));
  }
  return 0;
}
