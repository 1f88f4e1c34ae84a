#include "components/palette.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ostrel {
namespace {

constexpr std::uint64_t grey = 0x888888;

struct HexCase {
  std::string text;
  std::uint64_t rgb;  ///< the expected lowest 24 bits
};

class HexTable : public testing::TestWithParam<HexCase> {};

Color rgbOf(std::uint64_t v) {
  return Color::rgb(static_cast<double>((v >> 16) & 0xFF) / 255.0,
                    static_cast<double>((v >> 8) & 0xFF) / 255.0, static_cast<double>(v & 0xFF) / 255.0, 1.0);
}

TEST_P(HexTable, GivesTheChannelsOfTheLowestThreeBytes) {
  EXPECT_EQ(Palette::hex(GetParam().text), rgbOf(GetParam().rgb)) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Palette, HexTable,
    testing::Values(
        // Trimming: only runs of "#" at either end.
        HexCase{"#A91991", 0xA91991}, HexCase{"A91991", 0xA91991}, HexCase{"##A91991", 0xA91991},
        HexCase{"#A91991#", 0xA91991}, HexCase{"###A91991###", 0xA91991}, HexCase{"#a91991", 0xA91991},
        HexCase{"#a9E1f1", 0xA9E1F1}, HexCase{"", grey}, HexCase{"#", grey}, HexCase{"###", grey},
        HexCase{"#A9#1991", grey},  // a "#" inside stays and is no digit
        HexCase{" #A91991", grey}, HexCase{"#A91991 ", grey}, HexCase{"\t#A91991", grey},
        HexCase{"#A91991\n", grey}, HexCase{"0xA91991", grey}, HexCase{"A9 1991", grey},
        HexCase{"#A9199G", grey}, HexCase{"#\xC3\xA9", grey},
        HexCase{std::string("A9\0"
                            "1991",
                            7),
                grey},
        // No special forms: the value is the value.
        HexCase{"#FFF", 0x000FFF}, HexCase{"#A91991FF", 0x1991FF}, HexCase{"1", 0x000001},
        // Signs.
        HexCase{"+A91991", 0xA91991}, HexCase{"#+A91991", 0xA91991}, HexCase{"+", grey}, HexCase{"-", grey},
        HexCase{"#+#", grey}, HexCase{"++1", grey}, HexCase{"+-0", grey}, HexCase{"A91991+", grey},
        HexCase{"-0", 0x000000}, HexCase{"-000000", 0x000000}, HexCase{"-1", grey}, HexCase{"-0001", grey},
        HexCase{"-10", grey},
        // 64 bits: 16 significant digits fit, 17 do not, leading zeros never count.
        HexCase{"FFFFFFFFFFFFFFFF", 0xFFFFFF}, HexCase{"123456789ABCDEF0", 0xBCDEF0},
        HexCase{"1123456789ABCDEF0", grey}, HexCase{"10000000000000000", grey},
        HexCase{"0000000000000000000000000000000000A91991", 0xA91991},
        HexCase{"00000000000000000000FFFFFFFFFFFFFFFF", 0xFFFFFF},
        HexCase{"00000000000000000001FFFFFFFFFFFFFFFF", grey}, HexCase{"-00000000000000000000000000", 0}));

TEST(Palette, ParseKeepsTheWhole64BitValue) {
  EXPECT_EQ(Palette::parse("FFFFFFFFFFFFFFFF"), 0xFFFFFFFFFFFFFFFFu);
  EXPECT_EQ(Palette::parse("0FFFFFFFFFFFFFFFF"), 0xFFFFFFFFFFFFFFFFu);
  EXPECT_EQ(Palette::parse("-0"), 0u);
  EXPECT_EQ(Palette::parse("##"), std::nullopt);
}

}  // namespace
}  // namespace ostrel
