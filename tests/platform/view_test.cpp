#include "platform/ui/view.hpp"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

TEST(View, ModifiersKeepTheirOrderAndTakePartInEquality) {
  View a = Text::verbatim("x").font(Font::system(10)).tracking(0.6);
  View b = Text::verbatim("x").tracking(0.6).font(Font::system(10));
  EXPECT_NE(a, b);
  EXPECT_EQ(a, Text::verbatim("x").font(Font::system(10)).tracking(0.6));
}

}  // namespace
}  // namespace ostrel
