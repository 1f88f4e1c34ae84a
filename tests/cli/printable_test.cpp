#include "cli/printable.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Row {
  std::string text;
  std::string shown;
};

class Printable : public testing::TestWithParam<Row> {};

TEST_P(Printable, EscapesControlCharactersOnly) {
  EXPECT_EQ(ostrel::cli::printable(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Table, Printable,
                         testing::Values(Row{"", ""}, Row{"plain/path.png", "plain/path.png"},
                                         Row{"a\nb", "a\\x0ab"},
                                         Row{std::string("\0\t\r", 3), "\\x00\\x09\\x0d"},
                                         Row{"\x1b[31mred", "\\x1b[31mred"}, Row{"\x7f\x1f ", "\\x7f\\x1f "},
                                         Row{"Café ✓ \\x41", "Café ✓ \\x41"}, Row{"\xff\x80", "\xff\x80"}));

}  // namespace
