#include "base/result.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ostrel {
namespace {

TEST(ResultDeathTest, TheWrongSideIsAnAssertionNotARead) {
#ifdef NDEBUG
  GTEST_SKIP() << "assertions are compiled out";
#else
  const Result<int, std::string> failed{std::string("no")};
  EXPECT_DEATH((void)failed.value(), "value\\(\\) on an error");
  const Result<int, std::string> done{1};
  EXPECT_DEATH((void)done.error(), "error\\(\\) on a value");
#endif
}

}  // namespace
}  // namespace ostrel
