// A stand-in for the XDG desktop portal's settings on a test's bus: owns
// org.freedesktop.portal.Desktop and answers org.freedesktop.portal.Settings.Read for the one setting
// org.freedesktop.appearance color-scheme, starting at the value given as its argument. SIGUSR1
// sets it to 1 (prefer dark), SIGUSR2 to 2 (prefer light), each time emitting SettingChanged as
// the real portal does. SIGTERM ends it.
#include <gio/gio.h>
#include <glib-unix.h>

#include <csignal>
#include <cstdlib>

namespace {

constexpr const char* kXml = R"(<node><interface name="org.freedesktop.portal.Settings">
  <method name="Read"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  <signal name="SettingChanged"><arg type="s"/><arg type="s"/><arg type="v"/></signal>
</interface></node>)";

struct Portal {
  guint32 value = 0;
  GDBusConnection* bus = nullptr;
};

void call(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
          GDBusMethodInvocation* invocation, gpointer data) {
  const gchar* ns = nullptr;
  const gchar* key = nullptr;
  g_variant_get(parameters, "(&s&s)", &ns, &key);
  if (g_strcmp0(ns, "org.freedesktop.appearance") != 0 || g_strcmp0(key, "color-scheme") != 0) {
    g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.portal.Error.NotFound",
                                               "not found");
    return;
  }
  // Read answers the value wrapped in one more variant, as the real portal's version 1 does.
  GVariant* v = g_variant_new_variant(g_variant_new_uint32(static_cast<Portal*>(data)->value));
  g_dbus_method_invocation_return_value(invocation, g_variant_new("(v)", v));
}

template <guint32 kValue>
gboolean set(gpointer data) {
  auto* p = static_cast<Portal*>(data);
  p->value = kValue;
  g_dbus_connection_emit_signal(
      p->bus, nullptr, "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings", "SettingChanged",
      g_variant_new("(ssv)", "org.freedesktop.appearance", "color-scheme", g_variant_new_uint32(kValue)),
      nullptr);
  g_dbus_connection_flush_sync(p->bus, nullptr, nullptr);
  return G_SOURCE_CONTINUE;
}

}  // namespace

int main(int argc, char** argv) {
  Portal p{.value = argc > 1 ? static_cast<guint32>(std::strtoul(argv[1], nullptr, 10)) : 0,
           .bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)};
  GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kXml, nullptr);
  const GDBusInterfaceVTable vtable{call, nullptr, nullptr, {}};
  if (p.bus == nullptr ||
      g_dbus_connection_register_object(p.bus, "/org/freedesktop/portal/desktop", node->interfaces[0],
                                        &vtable, &p, nullptr, nullptr) == 0)
    return 1;
  g_unix_signal_add(SIGUSR1, set<1>, &p);
  g_unix_signal_add(SIGUSR2, set<2>, &p);
  g_bus_own_name_on_connection(p.bus, "org.freedesktop.portal.Desktop", G_BUS_NAME_OWNER_FLAGS_NONE, nullptr,
                               nullptr, nullptr, nullptr);
  g_main_loop_run(g_main_loop_new(nullptr, FALSE));  // until SIGTERM
}
