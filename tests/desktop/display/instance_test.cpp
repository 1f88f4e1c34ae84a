// One host per session, on Xvfb with a bus of its own: a later start hands over its options or
// says it has nothing to do; signals, the window manager's close, --quit and --replace end the
// running host, and losing the display or the bus ends it with one line and status 1.
#include <gtest/gtest.h>
#include <signal.h>

#include <optional>
#include <sstream>

#include "desktop/display/host_fixture.hpp"
#include "support/rows.hpp"

namespace ostrel::display_test {
namespace {

using test_support::Row;

class InstanceTest : public X11Fixture, public ::testing::WithParamInterface<Row> {
 protected:
  void SetUp() override {
    X11Fixture::SetUp();
    env_.emplace("NO_AT_BRIDGE", "1");
  }
  /// Whether `name` comes to stand on the screen exactly `count` times.
  bool shown(const std::string& name, std::size_t count) {
    return eventually([&] { return findWindows(x_->display(), name).size() == count; });
  }
  [[nodiscard]] std::string field(std::size_t i) const { return i < GetParam().size() ? GetParam()[i] : ""; }
};

std::string rowName(const ::testing::TestParamInfo<Row>& row) {
  return row.param[0];
}

using LaterStartTest = InstanceTest;

TEST_P(LaterStartTest, EndsAtOnceAndTheFirstHostShowsItsOptions) {
  Process first = startHost({}, env_, "first");
  ASSERT_TRUE(shown("Next up", 1) && shown("Due soon", 1)) << hostErrors("first");
  std::istringstream words(field(1));
  Process later = startHost({std::istream_iterator<std::string>(words), {}}, env_, "later");
  EXPECT_EQ(later.wait(30), 0) << hostErrors("later");
  EXPECT_EQ(hostErrors("later"), field(2));
  EXPECT_TRUE(shown("Due soon", std::stoul(field(5)))) << hostErrors("first");
  EXPECT_TRUE(eventually([&] {
    const auto w = findWindows(x_->display(), "Next up");
    return w.size() == 1 && w[0].width == std::stoi(field(3)) && w[0].x == std::stoi(field(4));
  })) << hostErrors("first");
  // What it says it shows on the bus: each face's kind, family and reading.
  std::string faces;
  std::istringstream shows(field(6));
  for (std::string face; shows >> face;) {
    const std::string kind = face.substr(0, face.find(':')), family = face.substr(face.find(':') + 1);
    const Shown shown{"", kind.c_str(),
                      family == "systemSmall" ? WidgetFamily::systemSmall : WidgetFamily::systemMedium, 0};
    faces.append(faces.empty() ? "" : ", ").append("('" + kind).append("', '" + family);
    faces.append("', '" + expectedReading(shown, kStartUtc)).append("')");
  }
  EXPECT_EQ(busCall(bus_.address(), {"--dest", "app.ostrel.Widgets", "--object-path", "/app/ostrel/Widgets",
                                     "--method", "app.ostrel.Widgets.Host.Faces"}),
            "([" + faces + "],)\n");
  EXPECT_EQ(first.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors("first"), "");
}

INSTANTIATE_TEST_SUITE_P(Rows, LaterStartTest,
                         ::testing::ValuesIn(test_support::rows("desktop/later_starts.tsv")), rowName);

using EndingTest = InstanceTest;

TEST_P(EndingTest, TheRunningHostEndsWithItsStatusAndOneLine) {
  const std::string cause = field(1), display = x_->display();
  Process first = startHost({}, env_, "first");
  ASSERT_TRUE(shown("Next up", 1)) << hostErrors("first");
  std::optional<Process> replacement;
  if (cause == "sigint" || cause == "sigterm") {
    ::kill(first.pid(), cause == "sigint" ? SIGINT : SIGTERM);
  } else if (cause == "close") {
    ASSERT_TRUE(askToClose(display, findWindows(display, "Due soon").at(0).id));
  } else if (cause == "quit") {
    Process quit = startHost({"--quit"}, env_, "quit");
    EXPECT_EQ(quit.wait(30), 0) << hostErrors("quit");
    Process none = startHost({"--quit"}, env_, "none");
    EXPECT_EQ(none.wait(30), 1);
    EXPECT_EQ(hostErrors("none"), "ostrel-widgets: error: no host is running in this session\n");
  } else if (cause == "replace") {
    replacement.emplace(startHost({"--replace"}, env_, "replacement"));
  } else if (cause == "display") {
    x_.reset();
  } else {
    ASSERT_EQ(cause, "bus");
    bus_.stop();
  }
  EXPECT_EQ(first.wait(30), std::stoi(field(2)));
  EXPECT_EQ(hostErrors("first"), field(3) + (cause == "display" ? display + "\n" : ""));
  if (replacement) {
    EXPECT_TRUE(shown("Next up", 1));
    EXPECT_TRUE(replacement->running()) << hostErrors("replacement");
    EXPECT_EQ(replacement->stop(SIGTERM), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, EndingTest, ::testing::ValuesIn(test_support::rows("desktop/endings.tsv")),
                         rowName);

}  // namespace
}  // namespace ostrel::display_test
