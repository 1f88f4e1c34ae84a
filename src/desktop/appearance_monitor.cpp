#include "desktop/appearance_monitor.hpp"

#include <gio/gio.h>
#include <gtk/gtk.h>

#include <utility>

namespace ostrel::desktop {

namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kSettings = "org.freedesktop.portal.Settings";
constexpr const char* kNamespace = "org.freedesktop.appearance";
constexpr const char* kKey = "color-scheme";

/// The number a portal value holds, through any variants it is wrapped in (`Read` wraps twice).
std::optional<std::uint32_t> portalNumber(GVariant* value) {
  GVariant* v = g_variant_ref(value);
  while (g_variant_is_of_type(v, G_VARIANT_TYPE_VARIANT)) {
    GVariant* inner = g_variant_get_variant(v);
    g_variant_unref(v);
    v = inner;
  }
  std::optional<std::uint32_t> n;
  if (g_variant_is_of_type(v, G_VARIANT_TYPE_UINT32)) n = g_variant_get_uint32(v);
  g_variant_unref(v);
  return n;
}

}  // namespace

struct AppearanceMonitor::State {
  State(SchemeChoice c, Changed f) : choice(c), changed(std::move(f)) {}
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  SchemeChoice choice;
  Changed changed;
  DesktopPreference desktop;
  ColorScheme scheme = ColorScheme::light;
  GtkSettings* settings = nullptr;
  gulong preferDarkHandler = 0, themeHandler = 0;
  GDBusConnection* bus = nullptr;
  guint subscription = 0;
  GCancellable* cancellable = nullptr;
  bool watching = false;

  void readGtk() {
    gboolean preferDark = FALSE;
    gchar* theme = nullptr;
    g_object_get(settings, "gtk-application-prefer-dark-theme", &preferDark, "gtk-theme-name", &theme,
                 nullptr);
    desktop.gtkPrefersDark = preferDark != FALSE;
    desktop.gtkTheme = theme != nullptr ? theme : "";
    g_free(theme);
  }

  void update() {
    const ColorScheme now = schemeFor(choice, desktop);
    if (now == scheme) return;
    scheme = now;
    if (changed) changed(scheme);
  }

  static void onGtkSetting(GObject*, GParamSpec*, gpointer self) {
    auto* s = static_cast<State*>(self);
    s->readGtk();
    s->update();
  }

  static void onSettingChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                               GVariant* parameters, gpointer self) {
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ssv)"))) return;
    const gchar* ns = nullptr;
    const gchar* key = nullptr;
    GVariant* value = nullptr;
    g_variant_get(parameters, "(&s&sv)", &ns, &key, &value);
    auto* s = static_cast<State*>(self);
    if (g_strcmp0(ns, kNamespace) == 0 && g_strcmp0(key, kKey) == 0) {
      s->desktop.portal = portalNumber(value);
      s->update();
    }
    g_variant_unref(value);
  }

  static void onRead(GObject* source, GAsyncResult* result, gpointer self) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (reply == nullptr) {
      // Cancelled: the monitor is gone, `self` with it. Otherwise no portal: GTK's settings rule.
      g_error_free(error);
      return;
    }
    GVariant* value = g_variant_get_child_value(reply, 0);
    auto* s = static_cast<State*>(self);
    s->desktop.portal = portalNumber(value);
    g_variant_unref(value);
    g_variant_unref(reply);
    s->update();
  }

  void watch() {
    watching = true;
    settings = gtk_settings_get_default();
    if (settings != nullptr) {
      g_object_ref(settings);
      readGtk();
      preferDarkHandler = g_signal_connect(settings, "notify::gtk-application-prefer-dark-theme",
                                           G_CALLBACK(onGtkSetting), this);
      themeHandler = g_signal_connect(settings, "notify::gtk-theme-name", G_CALLBACK(onGtkSetting), this);
    }
    scheme = schemeFor(choice, desktop);
    cancellable = g_cancellable_new();
    g_bus_get(G_BUS_TYPE_SESSION, cancellable, onBus, this);
  }

  static void onBus(GObject*, GAsyncResult* result, gpointer self) {
    GError* error = nullptr;
    GDBusConnection* connection = g_bus_get_finish(result, &error);
    if (connection == nullptr) {
      // Cancelled: the monitor is gone, `self` with it. Otherwise no session bus: GTK's settings rule.
      g_error_free(error);
      return;
    }
    auto* s = static_cast<State*>(self);
    s->bus = connection;
    s->subscription = g_dbus_connection_signal_subscribe(s->bus, kPortalName, kSettings, "SettingChanged",
                                                         kPortalPath, kNamespace, G_DBUS_SIGNAL_FLAGS_NONE,
                                                         onSettingChanged, s, nullptr);
    g_dbus_connection_call(s->bus, kPortalName, kPortalPath, kSettings, "Read",
                           g_variant_new("(ss)", kNamespace, kKey), G_VARIANT_TYPE("(v)"),
                           G_DBUS_CALL_FLAGS_NONE, -1, s->cancellable, onRead, s);
  }

  ~State() {
    if (cancellable != nullptr) {
      g_cancellable_cancel(cancellable);
      g_object_unref(cancellable);
    }
    if (bus != nullptr) {
      if (subscription != 0) g_dbus_connection_signal_unsubscribe(bus, subscription);
      g_object_unref(bus);
    }
    if (settings != nullptr) {
      if (preferDarkHandler != 0) g_signal_handler_disconnect(settings, preferDarkHandler);
      if (themeHandler != 0) g_signal_handler_disconnect(settings, themeHandler);
      g_object_unref(settings);
    }
  }
};

AppearanceMonitor::AppearanceMonitor(SchemeChoice choice, Changed changed)
    : state_(std::make_unique<State>(choice, std::move(changed))) {
  if (choice == SchemeChoice::automatic) {
    state_->watch();
  } else {
    state_->scheme = schemeFor(choice, {});
  }
}

AppearanceMonitor::~AppearanceMonitor() = default;

ColorScheme AppearanceMonitor::scheme() const {
  return state_->scheme;
}

SchemeChoice AppearanceMonitor::choice() const {
  return state_->choice;
}

void AppearanceMonitor::choose(SchemeChoice choice) {
  State& s = *state_;
  s.choice = choice;
  if (choice == SchemeChoice::automatic && !s.watching) {
    const ColorScheme before = s.scheme;
    s.watch();
    s.scheme = before;  // so that the update below calls back if the desktop's differs
  }
  s.update();
}

}  // namespace ostrel::desktop
