#pragma once
/// \file palette.hpp
/// The colour rules every view shares: the accent colour, feed colour strings turned into colours,
/// and the colour a unit is drawn in for the current appearance.
///
///     Palette::hex("#A91991")                 // rgb(169, 25, 145) / 255
///     Palette::hex("0xA91991")                // the fallback grey 0x888888
///     Palette::unit(std::nullopt, scheme)     // Color::secondary()

#include <cstdint>
#include <optional>
#include <string_view>

#include "feed/feed.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel {

struct Palette {
  /// The value `hex` falls back to for unusable text.
  static constexpr std::uint64_t fallback = 0x888888;

  /// The accent colour, sRGB 0xD83B4E, opacity 1. Made once on first use (thread-safe) and shared
  /// read-only afterwards.
  [[nodiscard]] static const Color& crimson();

  /// The value of a colour string, or nothing when it is unusable. After every "#" at the start and
  /// at the end is removed, the rest must be an optional "+" or "-" followed by at least one
  /// hexadecimal digit (either case), and the value must fit in 64 bits; after "-" only zeros are
  /// accepted (giving 0). No other byte is skipped: spaces and "0x" make the text unusable.
  [[nodiscard]] static std::optional<std::uint64_t> parse(std::string_view text);

  /// The opaque sRGB colour of the lowest 24 bits of `parse(text)`, red the highest of the three
  /// bytes; the fallback grey 0x888888 when the text is unusable. Never fails.
  [[nodiscard]] static Color hex(std::string_view text);

  /// The colour a unit is drawn in: `Color::secondary()` without a colour pair, the dark string's
  /// colour in the dark scheme, the light string's otherwise.
  [[nodiscard]] static Color unit(const std::optional<UnitColor>& color, ColorScheme scheme);
};

}  // namespace ostrel
