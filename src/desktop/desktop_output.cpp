#include "desktop/desktop_output.hpp"

#include <gdk/gdk.h>
#include <gtk-layer-shell/gtk-layer-shell.h>
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#include <wayland-client.h>

#include "xdg-output-unstable-v1-client-protocol.h"
#endif

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <utility>

#include "desktop/appearance_monitor.hpp"
#include "desktop/saved_places.hpp"
#include "desktop/x11_desktop_changes.hpp"

namespace ostrel::desktop {

namespace {

#ifdef GDK_WINDOWING_WAYLAND
/// Whether the compositor announces layer-shell. Asked of its registry directly: the layer-shell
/// library would warn on standard error where it is missing, and the host says so in its own words.
bool offersLayerShell(GdkDisplay* display) {
  wl_display* wl = gdk_wayland_display_get_wl_display(display);
  wl_event_queue* queue = wl_display_create_queue(wl);
  auto* proxy = static_cast<wl_display*>(wl_proxy_create_wrapper(wl));
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(proxy), queue);
  wl_registry* registry = wl_display_get_registry(proxy);
  bool found = false;
  static const wl_registry_listener listener{
      .global =
          [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
            if (std::string_view(interface) == "zwlr_layer_shell_v1") *static_cast<bool*>(data) = true;
          },
      .global_remove = [](void*, wl_registry*, uint32_t) {},
  };
  wl_registry_add_listener(registry, &listener, &found);
  wl_display_roundtrip_queue(wl, queue);
  wl_registry_destroy(registry);
  wl_proxy_wrapper_destroy(proxy);
  wl_event_queue_destroy(queue);
  return found;
}
#endif

#ifdef GDK_WINDOWING_X11
/// The X server went away; the process cannot go on. GDK's own handler ends it without a word: this
/// one says why first, in the program's log (as GDK does when a Wayland compositor goes away).
int onXServerLost(Display* display) {
  g_log("ostrel", G_LOG_LEVEL_MESSAGE, "lost the display %s", DisplayString(display));
  _exit(1);
}
#endif

#ifdef GDK_WINDOWING_WAYLAND
/// The connector names of the compositor's outputs (`wl_outputs`, in order), from xdg-output; an
/// empty name where the compositor gives none. Asked on a queue of its own, as above.
std::vector<std::string> outputNames(GdkDisplay* display, const std::vector<wl_output*>& outputs) {
  std::vector<std::string> names(outputs.size());
  wl_display* wl = gdk_wayland_display_get_wl_display(display);
  wl_event_queue* queue = wl_display_create_queue(wl);
  auto* proxy = static_cast<wl_display*>(wl_proxy_create_wrapper(wl));
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(proxy), queue);
  wl_registry* registry = wl_display_get_registry(proxy);
  zxdg_output_manager_v1* manager = nullptr;
  static const wl_registry_listener registryListener{
      .global =
          [](void* data, wl_registry* r, uint32_t id, const char* interface, uint32_t version) {
            if (std::string_view(interface) == zxdg_output_manager_v1_interface.name && version >= 2) {
              *static_cast<zxdg_output_manager_v1**>(data) = static_cast<zxdg_output_manager_v1*>(
                  wl_registry_bind(r, id, &zxdg_output_manager_v1_interface, 2));
            }
          },
      .global_remove = [](void*, wl_registry*, uint32_t) {},
  };
  wl_registry_add_listener(registry, &registryListener, &manager);
  wl_display_roundtrip_queue(wl, queue);
  if (manager != nullptr) {
    static const zxdg_output_v1_listener outputListener{
        .logical_position = [](void*, zxdg_output_v1*, int32_t, int32_t) {},
        .logical_size = [](void*, zxdg_output_v1*, int32_t, int32_t) {},
        .done = [](void*, zxdg_output_v1*) {},
        .name = [](void* data, zxdg_output_v1*,
                   const char* name) { *static_cast<std::string*>(data) = name; },
        .description = [](void*, zxdg_output_v1*, const char*) {},
    };
    std::vector<zxdg_output_v1*> xdg;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
      if (outputs[i] == nullptr) continue;
      xdg.push_back(zxdg_output_manager_v1_get_xdg_output(manager, outputs[i]));
      zxdg_output_v1_add_listener(xdg.back(), &outputListener, &names[i]);
    }
    wl_display_roundtrip_queue(wl, queue);
    for (zxdg_output_v1* o : xdg) zxdg_output_v1_destroy(o);
    zxdg_output_manager_v1_destroy(manager);
  }
  wl_registry_destroy(registry);
  wl_proxy_wrapper_destroy(proxy);
  wl_event_queue_destroy(queue);
  return names;
}
#endif

/// The connector name of each monitor, in GDK's order: on X11 GDK's model is the RandR output's
/// name; on Wayland the compositor's xdg-output names it.
std::vector<std::string> connectorNames(GdkDisplay* display) {
  const int n = gdk_display_get_n_monitors(display);
#ifdef GDK_WINDOWING_WAYLAND
  if (GDK_IS_WAYLAND_DISPLAY(display)) {
    std::vector<wl_output*> outputs;
    outputs.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
      outputs.push_back(gdk_wayland_monitor_get_wl_output(gdk_display_get_monitor(display, i)));
    return outputNames(display, outputs);
  }
#endif
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const char* model = gdk_monitor_get_model(gdk_display_get_monitor(display, i));
    names.emplace_back(model != nullptr ? model : "");
  }
  return names;
}

Surface surfaceOf(GdkDisplay* display) {
#ifdef GDK_WINDOWING_WAYLAND
  if (GDK_IS_WAYLAND_DISPLAY(display)) return offersLayerShell(display) ? Surface::layer : Surface::plain;
#endif
#ifdef GDK_WINDOWING_X11
  if (GDK_IS_X11_DISPLAY(display)) return Surface::x11;
#endif
  return Surface::plain;
}

}  // namespace

struct DesktopOutput::State {
  DesktopSettings settings;
  render::PangoMeasurer fonts;
  std::function<void()> closed;
  GdkDisplay* display = nullptr;
  Surface surface = Surface::x11;
  std::optional<std::string> notice;
  std::unique_ptr<AppearanceMonitor> appearance;
  std::vector<std::unique_ptr<WidgetWindow>> windows;  ///< one per widget, in the settings' order
  std::filesystem::path placesFile;
  Places saved;  ///< where the user dragged widgets, by `KIND:FAMILY`
  gulong monitorsHandler = 0, sizeHandler = 0;
  std::unique_ptr<X11DesktopChanges> changes;

  State(DesktopSettings s, render::PangoMeasurer f, std::function<void()> c)
      : settings(std::move(s)), fonts(std::move(f)), closed(std::move(c)) {}
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  ~State() {
    GdkScreen* screen = display != nullptr ? gdk_display_get_default_screen(display) : nullptr;
    if (screen != nullptr) {
      if (monitorsHandler != 0) g_signal_handler_disconnect(screen, monitorsHandler);
      if (sizeHandler != 0) g_signal_handler_disconnect(screen, sizeHandler);
    }
  }

  /// The index of the monitor asked for, if it is there.
  std::optional<int> chosen() const {
    const std::optional<std::string>& choice = settings.placement.monitor;
    return choice ? monitorIndex(*choice, connectorNames(display)) : std::nullopt;
  }

  /// The monitor asked for, else the primary one (or the first).
  GdkMonitor* monitor() const {
    if (const std::optional<int> n = chosen()) return gdk_display_get_monitor(display, *n);
    GdkMonitor* primary = gdk_display_get_primary_monitor(display);
    return primary != nullptr ? primary : gdk_display_get_monitor(display, 0);
  }

  /// Where each window stands now.
  std::vector<WindowPlace> places() const {
    std::vector<Size> sizes;
    sizes.reserve(settings.widgets.size());
    for (const ShownWidget& w : settings.widgets) sizes.push_back(sizeOf(w.family));
    GdkRectangle area{0, 0, 0, 0};
    if (GdkMonitor* m = monitor()) gdk_monitor_get_workarea(m, &area);
    const std::vector<Inset> in = insets(settings.placement, sizes);
    const std::vector<Box> boxes = arrange(
        settings.placement, Box{.x = area.x, .y = area.y, .width = area.width, .height = area.height}, sizes);
    const std::optional<int> n = chosen();
    std::vector<WindowPlace> out;
    out.reserve(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      WindowPlace place{.surface = surface,
                        .corner = settings.placement.corner,
                        .inset = in[i],
                        .box = boxes[i],
                        .monitor = n,
                        .at = at(settings.widgets[i])};
      if (surface == Surface::layer && place.at) placeLayer(place, sizes[i]);
      out.push_back(place);
    }
    return out;
  }

  /// A layer surface the user put somewhere: on the monitor there (the nearest one), at the inset
  /// from the corner that puts it there.
  void placeLayer(WindowPlace& place, Size size) const {
    GdkMonitor* m = gdk_display_get_monitor_at_point(display, place.at->x, place.at->y);
    for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
      if (gdk_display_get_monitor(display, i) != m) continue;
      GdkRectangle r{0, 0, 0, 0};
      gdk_monitor_get_geometry(m, &r);
      place.monitor = i;
      place.inset = insetAt(place.corner, Box{.x = r.x, .y = r.y, .width = r.width, .height = r.height}, size,
                            *place.at);
    }
    place.at.reset();
  }

  static std::string key(const ShownWidget& w) { return w.widget.kind + ":" + name(w.family); }

  std::optional<Point> at(const ShownWidget& w) const {
    const auto found = saved.find(key(w));
    return found != saved.end() ? std::optional<Point>(found->second) : std::nullopt;
  }

  WindowActions actionsFor(std::size_t index) {
    const std::string widget = key(settings.widgets[index]);
    return WindowActions{
        .remove = [this, widget] { remove(widget); },
        .quit =
            [this] {
              if (closed) closed();
            },
        .appearance = [this](SchemeChoice c) { appearance->choose(c); },
        .appearanceNow = [this] { return appearance->choice(); },
        .moved =
            [this, widget](Point p) {
              saved[widget] = p;
              // Not remembered where the folder cannot be written: the widget still stands there.
              static_cast<void>(savePlace(placesFile, widget, p));
            },
    };
  }

  /// Takes the widget `KIND:FAMILY` off the screen for this run; with none left, the host ends.
  void remove(const std::string& widget) {
    for (std::size_t i = 0; i < settings.widgets.size(); ++i) {
      if (key(settings.widgets[i]) == widget) {
        windows.erase(windows.begin() + static_cast<std::ptrdiff_t>(i));
        settings.widgets.erase(settings.widgets.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    }
    if (windows.empty() && closed) closed();
  }

  void replace() {
    const std::vector<WindowPlace> now = places();
    for (std::size_t i = 0; i < windows.size(); ++i) windows[i]->place(now[i]);
  }

  static void onScreenChanged(GdkScreen*, gpointer self) { static_cast<State*>(self)->replace(); }
};

Result<std::unique_ptr<DesktopOutput>, DisplayError> DesktopOutput::open(DesktopSettings settings,
                                                                         const render::PangoMeasurer& fonts,
                                                                         std::function<void()> closed) {
  // The process keeps the C locale: numbers and dates are formatted by the host's own rules.
  if (gdk_display_get_default() == nullptr) gtk_disable_setlocale();
  // The windows are drawn by Cairo alone. Without this, the first GTK client of an X server
  // initialises OpenGL to choose visuals and keeps a software renderer mapped (some 50 MB).
  g_setenv("GDK_GL", "disable", FALSE);
  if (gtk_init_check(nullptr, nullptr) == FALSE) {
    return DisplayError{"cannot open a display (neither WAYLAND_DISPLAY nor DISPLAY names one that answers)"};
  }
  auto state = std::make_unique<State>(std::move(settings), fonts, std::move(closed));
  State& s = *state;
  s.display = gdk_display_get_default();
#ifdef GDK_WINDOWING_X11
  if (GDK_IS_X11_DISPLAY(s.display)) XSetIOErrorHandler(onXServerLost);
#endif
  s.surface = surfaceOf(s.display);
#ifdef GDK_WINDOWING_WAYLAND
  if (s.surface == Surface::plain && GDK_IS_WAYLAND_DISPLAY(s.display)) {
    // GNOME Shell's widgets stand on its desktop through the extension, not in ordinary windows.
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    if (desktops != nullptr && (":" + std::string(desktops) + ":").find(":GNOME:") != std::string::npos) {
      return DisplayError{
          "GNOME Shell offers no layer-shell: show the widgets through its extension instead: "
          "gnome-extensions enable ostrel-widgets@ostrel.app"};
    }
    s.notice =
        "this compositor offers no layer-shell: the widgets are ordinary windows, placed by the compositor";
  }
#endif
  if (s.settings.placement.monitor && !s.chosen()) {
    std::string there;
    for (const std::string& name : connectorNames(s.display)) there += (there.empty() ? "" : ", ") + name;
    const std::string m = "no monitor " + *s.settings.placement.monitor + " (there are " +
                          std::to_string(gdk_display_get_n_monitors(s.display)) + ": " + there +
                          "): the widgets stand on the primary one";
    s.notice = s.notice ? *s.notice + "; " + m : m;
  }
  State* raw = &s;
  s.appearance = std::make_unique<AppearanceMonitor>(s.settings.scheme, [raw](ColorScheme scheme) {
    for (const auto& w : raw->windows) w->redraw(scheme);
  });
  s.placesFile = std::filesystem::path(g_get_user_config_dir()) / "ostrel-widgets" / "places.conf";
  s.saved = loadPlaces(s.placesFile);
  const std::vector<WindowPlace> places = s.places();
  for (std::size_t i = 0; i < places.size(); ++i) {
    s.windows.push_back(
        std::make_unique<WidgetWindow>(s.settings.widgets[i], places[i], s.fonts, s.actionsFor(i)));
  }
  if (s.surface == Surface::x11) {
    s.changes = std::make_unique<X11DesktopChanges>(s.display, DesktopChanged{
                                                                   .manager =
                                                                       [raw] {
                                                                         for (const auto& w : raw->windows)
                                                                           w->restate();
                                                                       },
                                                                   .compositor =
                                                                       [raw] {
                                                                         for (const auto& w : raw->windows)
                                                                           w->followCompositor();
                                                                       },
                                                                   .wallpaper =
                                                                       [raw] {
                                                                         for (const auto& w : raw->windows)
                                                                           w->followWallpaper();
                                                                       },
                                                               });
  }
  GdkScreen* screen = gdk_display_get_default_screen(s.display);
  s.monitorsHandler = g_signal_connect(screen, "monitors-changed", G_CALLBACK(State::onScreenChanged), raw);
  s.sizeHandler = g_signal_connect(screen, "size-changed", G_CALLBACK(State::onScreenChanged), raw);
  return std::unique_ptr<DesktopOutput>(new DesktopOutput(std::move(state)));
}

std::optional<std::string> monitorName(std::string_view choice) {
  gtk_disable_setlocale();
  g_setenv("GDK_GL", "disable", FALSE);
  if (gtk_init_check(nullptr, nullptr) == FALSE) return std::nullopt;
  const std::vector<std::string> names = connectorNames(gdk_display_get_default());
  const std::optional<int> index = monitorIndex(choice, names);
  if (!index || names[static_cast<std::size_t>(*index)].empty()) return std::nullopt;
  return names[static_cast<std::size_t>(*index)];
}

DesktopOutput::DesktopOutput(std::unique_ptr<State> state) : state_(std::move(state)) {}

DesktopOutput::~DesktopOutput() = default;

void DesktopOutput::show(const Face& face) {
  State& s = *state_;
  for (std::size_t i = 0; i < s.windows.size(); ++i) {
    const ShownWidget& w = s.settings.widgets[i];
    if (w.widget.kind == face.kind && w.family == face.family)
      s.windows[i]->show(face, s.appearance->scheme());
  }
}

const std::optional<std::string>& DesktopOutput::notice() const {
  return state_->notice;
}

Surface DesktopOutput::surface() const {
  return state_->surface;
}

ColorScheme DesktopOutput::scheme() const {
  return state_->appearance->scheme();
}

}  // namespace ostrel::desktop
