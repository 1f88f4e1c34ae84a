#pragma once
// PNG pixels for tests, as Cairo reads them, and a tolerant comparison.

#include <cairo.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::render::testing {

/// 8-bit channels premultiplied by the alpha, as Cairo keeps them (the colour itself where opaque).
struct Pixel {
  int r = 0, g = 0, b = 0, a = 0;
};

struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> data;  ///< Cairo's ARGB words, row by row

  [[nodiscard]] Pixel at(int x, int y) const {
    const std::uint32_t v = data[static_cast<std::size_t>(y * width + x)];
    return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF),
            static_cast<int>(v >> 24)};
  }

  /// Decodes PNG bytes; an empty image when they are not a PNG.
  [[nodiscard]] static Pixels decode(const std::string& png) {
    std::string_view rest = png;
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* out, unsigned int length) {
          auto* r = static_cast<std::string_view*>(closure);
          if (length > r->size()) return CAIRO_STATUS_READ_ERROR;
          std::memcpy(out, r->data(), length);
          r->remove_prefix(length);
          return CAIRO_STATUS_SUCCESS;
        },
        &rest);
    Pixels px;
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
      px.width = cairo_image_surface_get_width(s);
      px.height = cairo_image_surface_get_height(s);
      px.data.resize(static_cast<std::size_t>(px.width * px.height));
      for (int y = 0; y < px.height; ++y) {
        std::memcpy(&px.data[static_cast<std::size_t>(y * px.width)],
                    cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s),
                    static_cast<std::size_t>(px.width) * 4);
      }
    }
    cairo_surface_destroy(s);
    return px;
  }
};

/// The share of pixels (0–1) where a channel differs by more than `threshold`; 1 when the sizes differ.
inline double differingShare(const Pixels& a, const Pixels& b, int threshold = 24) {
  if (a.width != b.width || a.height != b.height || a.data.empty()) return 1;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < a.data.size(); ++i) {
    for (int shift : {0, 8, 16, 24}) {
      if (std::abs(static_cast<int>((a.data[i] >> shift) & 0xFF) -
                   static_cast<int>((b.data[i] >> shift) & 0xFF)) > threshold) {
        ++differing;
        break;
      }
    }
  }
  return static_cast<double>(differing) / static_cast<double>(a.data.size());
}

}  // namespace ostrel::render::testing
