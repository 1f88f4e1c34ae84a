#include "engine/system_watch.hpp"

#include <gio/gio.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "engine/system_locale.hpp"
#include "engine/system_zone.hpp"
#include "time/locale_name.hpp"
#include "time/time_zone.hpp"

namespace ostrel {
namespace {

std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text;
  // The files are a line or two; a bound keeps a strange one from costing much.
  constexpr std::size_t limit = 65'536;
  std::istreambuf_iterator<char> it(in);
  for (; it != std::istreambuf_iterator<char>() && text.size() < limit; ++it) text.push_back(*it);
  return text;
}

bool tzFromEnvironment() {
  const char* tz = std::getenv("TZ");
  return tz != nullptr && *tz != '\0';
}

}  // namespace

struct SystemWatch::State {
  SystemPaths paths;
  std::function<void()> changed;
  TimeZone zone = TimeZone::local();
  std::string locale;
  std::vector<GFileMonitor*> monitors;
  GCancellable* cancellable = g_cancellable_new();
  GDBusConnection* bus = nullptr;
  std::vector<guint> subscriptions;

  /// The zone as the system states it now (a TZ of the process always wins).
  [[nodiscard]] std::string detectZone() const {
    if (tzFromEnvironment()) return TimeZone::local().name();
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::read_symlink(paths.localtime, ec);
    if (!ec) {
      if (auto z = SystemZone::fromLink(target.string())) return *z;
    }
    if (auto z = SystemZone::fromText(readText(paths.timezone))) return *z;
    return TimeZone::local().name();
  }

  /// The locale as the environment, or else the system's file, states it now.
  [[nodiscard]] std::string detectLocale() const {
    const LocaleEnvironment environment = LocaleEnvironment::ofProcess();
    if (environment.setsAny()) return SystemLocale::from({}, environment);
    return SystemLocale::from(SystemLocale::assignments(readText(paths.defaultLocale)), environment);
  }

  void update(std::optional<std::string> newZone, std::optional<std::string> newLocale) {
    bool differs = false;
    if (newZone && *newZone != zone.name()) {
      zone = TimeZone::named(*newZone);
      differs = true;
    }
    if (newLocale && *newLocale != locale) {
      locale = std::move(*newLocale);
      differs = true;
    }
    if (differs && changed) changed();
  }

  void fileChanged(GFile* file) {
    char* raw = g_file_get_path(file);
    const std::filesystem::path path = raw != nullptr ? raw : "";
    g_free(raw);
    if (path == paths.defaultLocale) {
      update(std::nullopt, detectLocale());
    } else {
      update(detectZone(), std::nullopt);
    }
  }

  void watchFile(const std::filesystem::path& path) {
    GFile* file = g_file_new_for_path(path.c_str());
    GFileMonitor* monitor = g_file_monitor_file(file, G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr);
    g_object_unref(file);
    if (monitor == nullptr) return;
    g_file_monitor_set_rate_limit(monitor, 100);
    g_signal_connect(monitor, "changed",
                     G_CALLBACK(+[](GFileMonitor*, GFile* f, GFile*, GFileMonitorEvent, gpointer self) {
                       static_cast<State*>(self)->fileChanged(f);
                     }),
                     this);
    monitors.push_back(monitor);
  }

  /// A PropertiesChanged signal of the date service (`locale` false) or the locale service.
  void propertiesChanged(GVariant* parameters, bool ofLocale) {
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sa{sv}as)"))) return;
    GVariant* changedProps = g_variant_get_child_value(parameters, 1);
    if (ofLocale) {
      GVariant* list = g_variant_lookup_value(changedProps, "Locale", G_VARIANT_TYPE_STRING_ARRAY);
      if (list != nullptr) {
        std::vector<std::string> assignments;
        gsize n = 0;
        const gchar** items = g_variant_get_strv(list, &n);
        for (gsize i = 0; i < n; ++i) assignments.emplace_back(items[i]);
        g_free(static_cast<gpointer>(items));
        g_variant_unref(list);
        update(std::nullopt, SystemLocale::from(assignments, LocaleEnvironment::ofProcess()));
      }
    } else {
      std::optional<std::string> zoneNow;
      GVariant* value = g_variant_lookup_value(changedProps, "Timezone", G_VARIANT_TYPE_STRING);
      if (value != nullptr) {
        const std::string named = g_variant_get_string(value, nullptr);
        g_variant_unref(value);
        if (!tzFromEnvironment() && TimeZone::isKnown(named)) zoneNow = named;
      }
      update(zoneNow ? zoneNow : detectZone(), std::nullopt);
    }
    g_variant_unref(changedProps);
  }

  void subscribe(const char* service, const char* path, bool ofLocale) {
    const auto onSignal =
        +[](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
            gpointer self) { static_cast<State*>(self)->propertiesChanged(parameters, false); };
    const auto onLocaleSignal =
        +[](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
            gpointer self) { static_cast<State*>(self)->propertiesChanged(parameters, true); };
    subscriptions.push_back(g_dbus_connection_signal_subscribe(
        bus, service, "org.freedesktop.DBus.Properties", "PropertiesChanged", path, nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE, ofLocale ? onLocaleSignal : onSignal, this, nullptr));
  }

  void connected(GDBusConnection* connection) {
    bus = connection;
    subscribe("org.freedesktop.timedate1", "/org/freedesktop/timedate1", false);
    subscribe("org.freedesktop.locale1", "/org/freedesktop/locale1", true);
  }

  ~State() {
    g_cancellable_cancel(cancellable);
    g_object_unref(cancellable);
    for (guint id : subscriptions) g_dbus_connection_signal_unsubscribe(bus, id);
    if (bus != nullptr) g_object_unref(bus);
    for (GFileMonitor* m : monitors) {
      g_signal_handlers_disconnect_by_data(m, this);
      g_file_monitor_cancel(m);
      g_object_unref(m);
    }
  }
  State() = default;
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  State(State&&) = delete;
  State& operator=(State&&) = delete;
};

SystemWatch::SystemWatch(SystemPaths paths, std::function<void()> changed)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.paths = std::move(paths);
  s.changed = std::move(changed);
  s.locale = s.detectLocale();
  s.watchFile(s.paths.localtime);
  s.watchFile(s.paths.timezone);
  s.watchFile(s.paths.defaultLocale);
  if (s.paths.systemBus) {
    // Asynchronously: a missing bus only means there are no signals to follow. The request holds
    // its own reference to the cancellable, which the state cancels when it goes away first.
    struct Request {
      GCancellable* cancellable;
      State* state;
    };
    g_bus_get(
        G_BUS_TYPE_SYSTEM, s.cancellable,
        +[](GObject*, GAsyncResult* result, gpointer data) {
          const std::unique_ptr<Request> request(static_cast<Request*>(data));
          GError* error = nullptr;
          GDBusConnection* connection = g_bus_get_finish(result, &error);
          if (error != nullptr) g_error_free(error);
          const bool gone = g_cancellable_is_cancelled(request->cancellable) != 0;
          g_object_unref(request->cancellable);
          if (connection == nullptr) return;
          if (gone) {
            g_object_unref(connection);
            return;
          }
          // The bus going away must not end the process (GLib's default for bus connections).
          g_dbus_connection_set_exit_on_close(connection, FALSE);
          request->state->connected(connection);
        },
        new Request{static_cast<GCancellable*>(g_object_ref(s.cancellable)), &s});
  }
}

SystemWatch::~SystemWatch() = default;

const TimeZone& SystemWatch::timeZone() const {
  return state_->zone;
}

const std::string& SystemWatch::locale() const {
  return state_->locale;
}

}  // namespace ostrel
