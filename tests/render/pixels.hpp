#pragma once
// Decoded PNG pixels for tests: straight (not premultiplied) 8-bit RGBA, and a tolerant comparison.

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace ostrel::render::testing {

struct Pixel {
  int r = 0, g = 0, b = 0, a = 0;
};

struct Pixels {
  int width = 0, height = 0;
  std::vector<Pixel> data;

  [[nodiscard]] Pixel at(int x, int y) const { return data[static_cast<std::size_t>(y * width + x)]; }

  /// Decodes PNG bytes; an empty image when they are not a PNG.
  [[nodiscard]] static Pixels decode(const std::string& png) {
    struct Reader {
      const std::string* bytes;
      std::size_t at;
    } reader{&png, 0};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* out, unsigned int length) {
          auto* r = static_cast<Reader*>(closure);
          if (r->at + length > r->bytes->size()) return CAIRO_STATUS_READ_ERROR;
          std::memcpy(out, r->bytes->data() + r->at, length);
          r->at += length;
          return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    Pixels px;
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
      cairo_surface_flush(s);
      px.width = cairo_image_surface_get_width(s);
      px.height = cairo_image_surface_get_height(s);
      const int stride = cairo_image_surface_get_stride(s);
      const unsigned char* base = cairo_image_surface_get_data(s);
      px.data.reserve(static_cast<std::size_t>(px.width * px.height));
      for (int y = 0; y < px.height; ++y) {
        for (int x = 0; x < px.width; ++x) {
          std::uint32_t v = 0;
          std::memcpy(&v, base + y * stride + x * 4, 4);
          const int a = static_cast<int>(v >> 24);
          auto straight = [a](std::uint32_t c) {
            return a == 0 ? 0 : static_cast<int>((c * 255 + a / 2) / a);
          };
          px.data.push_back(
              Pixel{straight((v >> 16) & 0xFF), straight((v >> 8) & 0xFF), straight(v & 0xFF), a});
        }
      }
    }
    cairo_surface_destroy(s);
    return px;
  }
};

/// The share of pixels (0–1) whose largest channel difference exceeds `threshold`; 1 when the sizes
/// differ.
inline double differingShare(const Pixels& a, const Pixels& b, int threshold = 24) {
  if (a.width != b.width || a.height != b.height || a.data.empty()) return 1;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < a.data.size(); ++i) {
    const Pixel& p = a.data[i];
    const Pixel& q = b.data[i];
    auto premultiplied = [](int c, int alpha) { return c * alpha / 255; };
    const int d =
        std::max({std::abs(premultiplied(p.r, p.a) - premultiplied(q.r, q.a)),
                  std::abs(premultiplied(p.g, p.a) - premultiplied(q.g, q.a)),
                  std::abs(premultiplied(p.b, p.a) - premultiplied(q.b, q.a)), std::abs(p.a - q.a)});
    if (d > threshold) ++differing;
  }
  return static_cast<double>(differing) / static_cast<double>(a.data.size());
}

}  // namespace ostrel::render::testing
