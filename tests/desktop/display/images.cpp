#include "desktop/display/images.hpp"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/process.hpp"

namespace ostrel::display_test {

static_assert(sizeof(Rgb) == 3, "pixels are read and written as PPM's bytes");

Image Image::crop(int x, int y, int w, int h) const {
  Image out{.width = w, .height = h, .pixels = {}};
  if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > width || y + h > height) return {};
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) out.pixels.push_back(at(x + i, y + j));
  }
  return out;
}

void Image::save(const std::filesystem::path& path) const {
  const std::string ppm = path.string() + ".ppm";
  std::ofstream(ppm, std::ios::binary)
      << "P6\n"
      << width << " " << height << "\n255\n"
      << std::string_view(reinterpret_cast<const char*>(pixels.data()), pixels.size() * sizeof(Rgb));
  static_cast<void>(test_support::runToEnd({"convert", ppm, path.string()}, {}));
  std::filesystem::remove(ppm);
}

Image magick(const std::vector<std::string>& command, const std::string& display) {
  const test_support::Outcome o = test_support::capture(
      command, {.env = {{"DISPLAY", display}}, .out = {}, .err = {}, .passFd = {}, .prefix = {}});
  std::istringstream in(o.out);
  std::string magic;
  Image out;
  int max = 0;
  if (o.status != 0 || !(in >> magic >> out.width >> out.height >> max) || magic != "P6" || max != 255 ||
      in.get() != '\n')
    return {};
  out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  return in.read(reinterpret_cast<char*>(out.pixels.data()),
                 static_cast<std::streamsize>(out.pixels.size() * 3))
             ? out
             : Image{};
}

Image loadPng(const std::filesystem::path& path, Rgb background) {
  const std::string colour = "rgb(" + std::to_string(background.r) + "," + std::to_string(background.g) +
                             "," + std::to_string(background.b) + ")";
  return magick({"convert", path.string(), "-background", colour, "-flatten", "-depth", "8", "ppm:-"});
}

Difference compare(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height || a.empty()) return {};
  double total = 0;
  std::size_t off = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    const int dr = std::abs(a.pixels[i].r - b.pixels[i].r), dg = std::abs(a.pixels[i].g - b.pixels[i].g),
              db = std::abs(a.pixels[i].b - b.pixels[i].b);
    total += dr + dg + db;
    if (std::max({dr, dg, db}) > 32) ++off;
  }
  const auto n = static_cast<double>(a.pixels.size());
  return Difference{.mean = total / (3 * n), .outliers = static_cast<double>(off) / n};
}

}  // namespace ostrel::display_test
