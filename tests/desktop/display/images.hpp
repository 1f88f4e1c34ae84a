#pragma once
/// \file images.hpp
/// Pictures to compare what a display shows with what `render` draws: opaque 8-bit RGB pixels read
/// by ImageMagick (laid over a background colour) or cut from another picture; and how far two
/// pictures differ.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ostrel::display_test {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Image {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;  ///< row by row
  [[nodiscard]] bool empty() const { return pixels.empty(); }
  [[nodiscard]] Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  /// The rectangle at `x`, `y` (empty where it is not all inside).
  [[nodiscard]] Image crop(int x, int y, int w, int h) const;
  /// Writes the picture as PNG (for looking at a failure).
  void save(const std::filesystem::path& path) const;
  friend bool operator==(const Image&, const Image&) = default;
};

/// The picture ImageMagick's `command` (which ends by writing `ppm:-`) prints; empty when it fails.
[[nodiscard]] Image magick(const std::vector<std::string>& command, const std::string& display = "");
/// A picture file laid over `background` (its transparent parts show the background).
[[nodiscard]] Image loadPng(const std::filesystem::path& path, Rgb background = {});

struct Difference {
  double mean = 255;    ///< mean absolute difference per channel, 0–255
  double outliers = 1;  ///< share of pixels where some channel differs by more than 32
  [[nodiscard]] bool similar() const { return mean < 2.5 && outliers < 0.01; }
};

/// How far `a` and `b` differ (the worst when their sizes differ).
[[nodiscard]] Difference compare(const Image& a, const Image& b);

}  // namespace ostrel::display_test
