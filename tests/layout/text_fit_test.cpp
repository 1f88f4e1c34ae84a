#include "layout/text_fit.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "fixed_measurer.hpp"

namespace ostrel::layout {
namespace {

const testing::FixedMeasurer text;

struct FitCase {
  const char* name;
  int characters;  // at font 20: 10 points each
  std::optional<std::int64_t> lineLimit;
  double minimumScale;
  double width;
  TextFit expected;
};

class Fits : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fits, ShrinkThenCut) {
  const FitCase& c = GetParam();
  const TextStyle style{
      .font = Font::system(20), .lineLimit = c.lineLimit, .minimumScaleFactor = c.minimumScale};
  const TextFit fit = fitText(text, std::string(static_cast<std::size_t>(c.characters), '8'), style, c.width);
  EXPECT_EQ(fit.size, c.expected.size);
  EXPECT_DOUBLE_EQ(fit.scale, c.expected.scale);
  EXPECT_EQ(fit.width, c.expected.width);
  EXPECT_LE(fit.size.width, c.width);
}

INSTANTIATE_TEST_SUITE_P(
    TextFit, Fits,
    ::testing::Values(FitCase{"FitsAsItIs", 8, 1, 0.7, 80, {{80, 20}, 1, std::nullopt, 1}},
                      FitCase{"ShrinksToFit", 10, 1, 0.7, 80, {{80, 16}, 0.8, std::nullopt, 1}},
                      FitCase{"NeverBelowTheFactorThenCut", 10, 1, 0.7, 60, {{56, 14}, 0.7, 60.0, 1}},
                      FitCase{"CutWithoutShrinking", 10, 1, 1, 45, {{40, 20}, 1, 45.0, 1}},
                      FitCase{"WrapsWithoutALimit", 10, std::nullopt, 0.7, 45, {{40, 60}, 1, 45.0, 0}},
                      FitCase{"TwoLineLimit", 10, 2, 1, 30, {{30, 40}, 1, 30.0, 2}},
                      FitCase{"NarrowerThanOneCharacter", 10, 1, 1, 4, {{4, 20}, 1, 4.0, 1}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ostrel::layout
