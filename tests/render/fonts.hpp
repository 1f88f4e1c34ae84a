#pragma once
// The fonts the renderer's tests draw with: one measurer for the whole test program, made on first
// use (the tests draw on one thread). A machine without the fonts stops the program at once.

#include <cstdlib>

#include "render/text.hpp"

namespace ostrel::render {

inline const PangoMeasurer& fonts() {
  static const PangoMeasurer measurer = [] {
    auto m = PangoMeasurer::create();
    if (!m) std::abort();
    return *m;
  }();
  return measurer;
}

}  // namespace ostrel::render
