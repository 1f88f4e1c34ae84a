// One host per session, on Xvfb with a bus of its own: a later start hands over its options or
// says it has nothing to do; signals, the window manager's close, --quit and --replace end the
// running host, and losing the display or the bus ends it with one line and status 1.
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <optional>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

class InstanceTest : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    x_.emplace(1280, 800, dir_);
    env_ = {{"DISPLAY", x_->display()}, {"DBUS_SESSION_BUS_ADDRESS", bus_.address()}, {"NO_AT_BRIDGE", "1"}};
  }
  /// Whether `name` comes to stand on the screen exactly `count` times.
  bool shown(const std::string& name, int count) {
    return eventually(
        [&] { return findWindows(x_->display(), name).size() == static_cast<std::size_t>(count); });
  }

  std::optional<Xvfb> x_;
  Bus bus_;
  std::map<std::string, std::string> env_;
};

/// What the host on `bus` says it shows: "kind family reading" lines.
std::vector<std::string> facesOn(const Bus& bus) {
  std::vector<std::string> out;
  GDBusConnection* c = bus.connect();
  GVariant* reply = c == nullptr
                        ? nullptr
                        : g_dbus_connection_call_sync(c, "app.ostrel.Widgets", "/app/ostrel/Widgets",
                                                      "app.ostrel.Widgets.Host", "Faces", nullptr,
                                                      G_VARIANT_TYPE("(a(sss))"), G_DBUS_CALL_FLAGS_NONE,
                                                      10'000, nullptr, nullptr);
  if (reply != nullptr) {
    GVariantIter* faces = nullptr;
    const gchar *kind = nullptr, *family = nullptr, *reading = nullptr;
    g_variant_get(reply, "(a(sss))", &faces);
    while (g_variant_iter_next(faces, "(&s&s&s)", &kind, &family, &reading))
      out.push_back(std::string(kind) + " " + family + " " + reading);
    g_variant_iter_free(faces);
    g_variant_unref(reply);
  }
  if (c != nullptr) g_object_unref(c);
  return out;
}

struct LaterStartRow {
  const char* name;
  std::vector<std::string> args;
  const char* said;
  int nextUpWidth, nextUpX, dueSoonWindows;                 ///< what the first host shows afterwards
  std::vector<std::pair<const char*, WidgetFamily>> faces;  ///< ... and says it shows on the bus
};

class LaterStartTest : public InstanceTest, public ::testing::WithParamInterface<LaterStartRow> {};

TEST_P(LaterStartTest, EndsAtOnceAndTheFirstHostShowsItsOptions) {
  OSTREL_NEED_PROGRAM("Xvfb");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  ASSERT_TRUE(x_->ok() && bus_.ok());
  const LaterStartRow& r = GetParam();
  Process first = startHost({}, env_, "first");
  ASSERT_TRUE(shown("Next up", 1) && shown("Due soon", 1)) << hostErrors("first");
  Process later = startHost(r.args, env_, "later");
  EXPECT_EQ(later.wait(30), 0) << hostErrors("later");
  EXPECT_EQ(hostErrors("later"), r.said);
  EXPECT_TRUE(shown("Due soon", r.dueSoonWindows)) << hostErrors("first");
  EXPECT_TRUE(eventually([&] {
    const auto w = findWindows(x_->display(), "Next up");
    return w.size() == 1 && w[0].width == r.nextUpWidth && w[0].x == r.nextUpX;
  })) << hostErrors("first");
  std::vector<std::string> faces;
  for (const auto& [kind, family] : r.faces)
    faces.push_back(std::string(kind) + " " + name(family) + " " + expectedReading(kind, family, kStartUtc));
  EXPECT_EQ(facesOn(bus_), faces);
  EXPECT_EQ(first.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors("first"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LaterStartTest,
    ::testing::Values(
        LaterStartRow{"SameOptions",
                      {},
                      "ostrel-widgets: already running with these options\n",
                      170,
                      1280 - 24 - 170,
                      1,
                      {{"NextUp", WidgetFamily::systemSmall}, {"DueSoon", WidgetFamily::systemMedium}}},
        LaterStartRow{"OtherOptions",
                      {"--widget", "NextUp:systemMedium", "--corner", "bottom-left"},
                      "ostrel-widgets: already running: the running host shows these options now\n",
                      364,
                      24,
                      0,
                      {{"NextUp", WidgetFamily::systemMedium}}}),
    [](const auto& row) { return std::string(row.param.name); });

struct EndingRow {
  const char* name;
  enum class Cause { sigint, sigterm, close, quit, replace, display, bus } cause;
  int status;
  const char* said;  ///< the first host's standard error, whole
};

class EndingTest : public InstanceTest, public ::testing::WithParamInterface<EndingRow> {};

TEST_P(EndingTest, TheRunningHostEndsWithItsStatusAndOneLine) {
  OSTREL_NEED_PROGRAM("Xvfb");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  ASSERT_TRUE(x_->ok() && bus_.ok());
  const EndingRow& r = GetParam();
  const std::string display = x_->display();
  Process first = startHost({}, env_, "first");
  ASSERT_TRUE(shown("Next up", 1)) << hostErrors("first");
  std::optional<Process> replacement;
  using Cause = EndingRow::Cause;
  switch (r.cause) {
    case Cause::sigint:
    case Cause::sigterm:
      ::kill(first.pid(), r.cause == Cause::sigint ? SIGINT : SIGTERM);
      break;
    case Cause::close:
      ASSERT_TRUE(askToClose(display, findWindows(display, "Due soon").at(0).id));
      break;
    case Cause::quit: {
      Process quit = startHost({"--quit"}, env_, "quit");
      EXPECT_EQ(quit.wait(30), 0) << hostErrors("quit");
      Process none = startHost({"--quit"}, env_, "none");
      EXPECT_EQ(none.wait(30), 1);
      EXPECT_EQ(hostErrors("none"), "ostrel-widgets: error: no host is running in this session\n");
      break;
    }
    case Cause::replace:
      replacement.emplace(startHost({"--replace"}, env_, "replacement"));
      break;
    case Cause::display:
      x_.reset();
      break;
    case Cause::bus:
      bus_.stop();
      break;
  }
  EXPECT_EQ(first.wait(30), r.status);
  EXPECT_EQ(hostErrors("first"), std::string(r.said) + (r.cause == Cause::display ? display + "\n" : ""));
  if (replacement) {
    EXPECT_TRUE(shown("Next up", 1));
    EXPECT_TRUE(replacement->running()) << hostErrors("replacement");
    EXPECT_EQ(replacement->stop(SIGTERM), 0);
  }
}

using Cause = EndingRow::Cause;
INSTANTIATE_TEST_SUITE_P(
    Rows, EndingTest,
    ::testing::Values(EndingRow{"Sigint", Cause::sigint, 0, ""}, EndingRow{"Sigterm", Cause::sigterm, 0, ""},
                      EndingRow{"CloseWindow", Cause::close, 0, ""}, EndingRow{"Quit", Cause::quit, 0, ""},
                      EndingRow{"Replace", Cause::replace, 0, "ostrel-widgets: another host took over\n"},
                      EndingRow{"DisplayLost", Cause::display, 1, "ostrel-widgets: error: lost the display "},
                      EndingRow{"BusLost", Cause::bus, 1, "ostrel-widgets: error: lost the session bus\n"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ostrel::display_test
