#include "components/palette.hpp"

#include <gtest/gtest.h>

#include <string>

#include "support/rows.hpp"

namespace ostrel {
namespace {

TEST(Palette, HexGivesTheChannelsOfTheLowestThreeBytes) {
  const auto rows = test_support::rows("palette-hex.tsv");
  ASSERT_GT(rows.size(), 40u);
  for (const auto& row : rows) {
    const std::uint64_t v = std::stoull(row[1], nullptr, 16);
    const auto channel = [v](int shift) { return static_cast<double>((v >> shift) & 0xFF) / 255.0; };
    EXPECT_EQ(Palette::hex(row[0]), Color::rgb(channel(16), channel(8), channel(0), 1.0))
        << '"' << row[0] << '"';
  }
}

TEST(Palette, ParseKeepsTheWhole64BitValue) {
  EXPECT_EQ(Palette::parse("FFFFFFFFFFFFFFFF"), 0xFFFFFFFFFFFFFFFFu);
  EXPECT_EQ(Palette::parse("0FFFFFFFFFFFFFFFF"), 0xFFFFFFFFFFFFFFFFu);
  EXPECT_EQ(Palette::parse("-0"), 0u);
  EXPECT_EQ(Palette::parse("##"), std::nullopt);
}

}  // namespace
}  // namespace ostrel
