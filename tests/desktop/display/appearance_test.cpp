// The host follows the desktop's appearance: the colour-scheme setting of the appearance portal
// (a stand-in on the test's own bus) picks the scheme at start, and a change of it redraws the
// windows at once without a new timeline (the feed is not read again).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

constexpr const char* kPortalXml = R"(<node><interface name="org.freedesktop.portal.Settings">
  <method name="Read"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
</interface></node>)";

/// The desktop portal's color-scheme setting (0 none, 1 prefer dark, 2 prefer light) on the test's
/// bus, answered from a thread of the test; `set` changes it and says so as the portal does.
class Portal {
 public:
  Portal(const Bus& bus, guint32 value) : bus_(bus.connect()), value_(value) {
    static const GDBusInterfaceVTable vtable{read, nullptr, nullptr, {}};
    g_main_context_push_thread_default(context_);  // where the calls are answered
    if (bus_ != nullptr) {
      g_dbus_connection_register_object(bus_, "/org/freedesktop/portal/desktop", node_->interfaces[0],
                                        &vtable, this, nullptr, nullptr);
    }
    g_main_context_pop_thread_default(context_);
    thread_ = std::thread([this] { g_main_loop_run(loop_); });
  }
  ~Portal() {
    g_main_loop_quit(loop_);
    thread_.join();
    if (bus_ != nullptr) g_object_unref(bus_);
    g_dbus_node_info_unref(node_);
    g_main_loop_unref(loop_);
    g_main_context_unref(context_);
  }
  Portal(const Portal&) = delete;
  Portal& operator=(const Portal&) = delete;
  /// Asks for the portal's name; whether it could.
  bool takeName() {
    return bus_ != nullptr &&
           g_bus_own_name_on_connection(bus_, "org.freedesktop.portal.Desktop", G_BUS_NAME_OWNER_FLAGS_NONE,
                                        nullptr, nullptr, nullptr, nullptr) != 0;
  }
  void set(guint32 value) {
    value_ = value;
    g_dbus_connection_emit_signal(
        bus_, nullptr, "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings", "SettingChanged",
        g_variant_new("(ssv)", "org.freedesktop.appearance", "color-scheme", g_variant_new_uint32(value)),
        nullptr);
  }

 private:
  static void read(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                   GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
    const gchar *ns = nullptr, *key = nullptr;
    g_variant_get(parameters, "(&s&s)", &ns, &key);
    if (g_strcmp0(ns, "org.freedesktop.appearance") != 0 || g_strcmp0(key, "color-scheme") != 0) {
      g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.portal.Error.NotFound",
                                                 "not found");
      return;
    }
    // The value wrapped in one more variant, as the portal's version 1 answers.
    GVariant* v = g_variant_new_variant(g_variant_new_uint32(static_cast<Portal*>(self)->value_));
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(v)", v));
  }

  GDBusConnection* bus_;
  std::atomic<guint32> value_;
  GDBusNodeInfo* node_ = g_dbus_node_info_new_for_xml(kPortalXml, nullptr);
  GMainContext* context_ = g_main_context_new();
  GMainLoop* loop_ = g_main_loop_new(context_, FALSE);
  std::thread thread_;
};

struct SwitchRow {
  guint32 atStart, switchedTo;  ///< the portal's color-scheme values
  ColorScheme before, after;
};

class AppearanceTest : public X11Fixture, public ::testing::WithParamInterface<SwitchRow> {};

TEST_P(AppearanceTest, ASwitchOfTheDesktopsPreferenceRedrawsWithoutANewTimeline) {
  const SwitchRow& r = GetParam();
  Portal portal(bus_, r.atStart);
  ASSERT_TRUE(portal.takeName());
  ASSERT_EQ(runToEnd({"gdbus", "wait", "--session", "--timeout", "20", "org.freedesktop.portal.Desktop"},
                     {{"DBUS_SESSION_BUS_ADDRESS", bus_.address()}}),
            0);
  Process host = startHost({"--widget", "NextUp:systemSmall"}, env_);
  const std::optional<XWindow> w = awaitWindow(*x_, "Next up");
  ASSERT_TRUE(w) << hostErrors();
  const auto grab = [&] { return grabX11(x_->display(), w->x, w->y, 170, 170); };
  const Image after = rendered(kNextUp, r.after, kStartUtc, 1);
  ASSERT_TRUE(shows(grab, rendered(kNextUp, r.before, kStartUtc, 1), "before"));

  // From here on, any read of the feed would mean a new timeline.
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(::inotify_add_watch(watch, feed_.c_str(), IN_OPEN), 0);
  portal.set(r.switchedTo);
  shows(grab, after, "after");
  char events[4096];
  EXPECT_LE(::read(watch, events, sizeof events), 0) << "the feed was read again";
  ::close(watch);
  EXPECT_EQ(host.stop(SIGTERM), 0);
}

INSTANTIATE_TEST_SUITE_P(Switches, AppearanceTest,
                         ::testing::Values(SwitchRow{0, 1, ColorScheme::light, ColorScheme::dark},
                                           SwitchRow{1, 2, ColorScheme::dark, ColorScheme::light}));

}  // namespace
}  // namespace ostrel::display_test
