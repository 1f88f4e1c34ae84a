// The accent colour is made once, on first use, whichever of many threads gets there first. CTest
// runs each test in its own process, so here the first use is this test's.
#include <gtest/gtest.h>

#include <array>

#include "components/palette.hpp"
#include "together.hpp"

namespace ostrel {
namespace {

TEST(PaletteConcurrency, AccentFirstReadFromManyThreads) {
  constexpr int kThreads = 16;
  std::array<const Color*, kThreads> seen{};
  std::array<Color, kThreads> values{};
  test_support::together(kThreads, [&](int i) {
    const Color& accent = Palette::crimson();
    seen[static_cast<std::size_t>(i)] = &accent;
    values[static_cast<std::size_t>(i)] = accent;
  });
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(seen[static_cast<std::size_t>(i)], seen[0]);
    EXPECT_EQ(values[static_cast<std::size_t>(i)], Palette::hex("#D83B4E"));
  }
}

}  // namespace
}  // namespace ostrel
