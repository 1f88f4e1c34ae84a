#include "desktop/display/images.hpp"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>

namespace ostrel::display_test {

namespace {

/// The pixels of a 24-bit image surface.
Image pixelsOf(cairo_surface_t* s) {
  cairo_surface_flush(s);
  Image out{
      .width = cairo_image_surface_get_width(s), .height = cairo_image_surface_get_height(s), .pixels = {}};
  for (int y = 0; y < out.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(s) +
                                                             y * cairo_image_surface_get_stride(s));
    for (int x = 0; x < out.width; ++x) {
      out.pixels.push_back(Rgb{static_cast<std::uint8_t>(row[x] >> 16),
                               static_cast<std::uint8_t>(row[x] >> 8), static_cast<std::uint8_t>(row[x])});
    }
  }
  return out;
}

}  // namespace

Image Image::crop(int x, int y, int w, int h) const {
  Image out{.width = w, .height = h, .pixels = {}};
  if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > width || y + h > height) return {};
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) out.pixels.push_back(at(x + i, y + j));
  }
  return out;
}

void Image::save(const std::filesystem::path& path) const {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s) +
                                                 y * cairo_image_surface_get_stride(s));
    for (int x = 0; x < width; ++x)
      row[x] = (std::uint32_t{at(x, y).r} << 16) | (at(x, y).g << 8) | at(x, y).b;
  }
  cairo_surface_mark_dirty(s);
  cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
}

Image loadPng(const std::filesystem::path& path, Rgb background) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  Image out;
  if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_t* flat = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cairo_image_surface_get_width(png),
                                                       cairo_image_surface_get_height(png));
    cairo_t* cr = cairo_create(flat);
    cairo_set_source_rgb(cr, background.r / 255.0, background.g / 255.0, background.b / 255.0);
    cairo_paint(cr);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    out = pixelsOf(flat);
    cairo_surface_destroy(flat);
  }
  cairo_surface_destroy(png);
  return out;
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
