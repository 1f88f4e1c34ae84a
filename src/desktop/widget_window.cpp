#include "desktop/widget_window.hpp"

#include <gtk-layer-shell/gtk-layer-shell.h>
#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>

#include <cmath>
#include <utility>

#include "desktop/x11_desktop_changes.hpp"
#include "render/canvas.hpp"
#include "render/draw.hpp"
#include "time/string_table.hpp"
#include "ui/reading.hpp"

namespace ostrel::desktop {

namespace {

void anchor(GtkWindow* window, const WindowPlace& place) {
  const bool top = isTop(place.corner), left = isLeft(place.corner);
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_TOP, top ? TRUE : FALSE);
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_BOTTOM, top ? FALSE : TRUE);
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_LEFT, left ? TRUE : FALSE);
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_RIGHT, left ? FALSE : TRUE);
  gtk_layer_set_margin(window, top ? GTK_LAYER_SHELL_EDGE_TOP : GTK_LAYER_SHELL_EDGE_BOTTOM,
                       place.inset.vertical);
  gtk_layer_set_margin(window, left ? GTK_LAYER_SHELL_EDGE_LEFT : GTK_LAYER_SHELL_EDGE_RIGHT,
                       place.inset.horizontal);
}

}  // namespace

Size sizeOf(WidgetFamily family) {
  const render::Canvas c = render::canvasFor(family);
  return Size{.width = static_cast<int>(std::lround(c.width)),
              .height = static_cast<int>(std::lround(c.height))};
}

// The window's accessible: a GTK window's, with one action, "menu", that opens the widget's menu
// as a right click would. A screen reader offers it; the window itself never has the focus.
// NOLINTBEGIN: GObject's type macros
struct OstrelWidgetAccessible {
  GtkWindowAccessible parent;
};
struct OstrelWidgetAccessibleClass {
  GtkWindowAccessibleClass parent_class;
};
static void ostrel_widget_accessible_action_init(AtkActionIface* iface);
G_DEFINE_TYPE_WITH_CODE(OstrelWidgetAccessible, ostrel_widget_accessible, GTK_TYPE_WINDOW_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, ostrel_widget_accessible_action_init))
static void ostrel_widget_accessible_class_init(OstrelWidgetAccessibleClass*) {}
static void ostrel_widget_accessible_init(OstrelWidgetAccessible*) {}
static void ostrel_widget_accessible_action_init(AtkActionIface* iface) {
  iface->get_n_actions = [](AtkAction*) -> gint { return 1; };
  iface->get_name = [](AtkAction*, gint i) -> const gchar* { return i == 0 ? "menu" : nullptr; };
  iface->get_description = [](AtkAction*, gint i) -> const gchar* {
    return i == 0 ? "Show the widget's menu" : nullptr;
  };
  iface->do_action = [](AtkAction* action, gint i) -> gboolean {
    GtkWidget* widget = gtk_accessible_get_widget(GTK_ACCESSIBLE(action));
    if (i != 0 || widget == nullptr) return FALSE;
    // Answered first: the menu opens from the main loop, not within the caller's request.
    g_idle_add(
        [](gpointer w) -> gboolean {
          gboolean handled = FALSE;
          g_signal_emit_by_name(w, "popup-menu", &handled);
          g_object_unref(w);
          return G_SOURCE_REMOVE;
        },
        g_object_ref(widget));
    return TRUE;
  };
}

struct OstrelWidgetWindow {
  GtkWindow parent;
};
struct OstrelWidgetWindowClass {
  GtkWindowClass parent_class;
};
G_DEFINE_TYPE(OstrelWidgetWindow, ostrel_widget_window, GTK_TYPE_WINDOW)
static void ostrel_widget_window_class_init(OstrelWidgetWindowClass* k) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(k), ostrel_widget_accessible_get_type());
}
static void ostrel_widget_window_init(OstrelWidgetWindow*) {}
// NOLINTEND

struct WidgetWindow::State {
  State(const ShownWidget& widget, WindowPlace place_, render::PangoMeasurer fonts_, WindowActions actions_)
      : title(StringTable::lookup(widget.widget.displayNameKey)),
        family(widget.family),
        place(place_),
        fonts(std::move(fonts_)),
        actions(std::move(actions_)) {}
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  std::string title;  ///< the widget's display name
  WidgetFamily family;
  WindowPlace place;
  render::PangoMeasurer fonts;
  WindowActions actions;
  GtkWidget* window = nullptr;
  GtkWidget* menu = nullptr;
  bool dragged = false;                 ///< a drag started: the next moves are the user's
  std::optional<Point> grab;            ///< layer: where the pointer holds the surface, while dragged
  Inset pressed;                        ///< layer: the inset when the drag began
  guint settle = 0;                     ///< reports where a drag left the window, once it stops moving
  bool alpha = false;                   ///< drawn on an alpha visual, composited
  cairo_surface_t* backdrop = nullptr;  ///< without alpha on X11: what the desktop showed beneath
  std::optional<Face> face;
  std::optional<View> view;  ///< the face's view in `scheme`
  ColorScheme scheme = ColorScheme::light;
  std::string reading;
  bool shown = false;

  ~State() {
    if (settle != 0) g_source_remove(settle);
    if (menu != nullptr) gtk_widget_destroy(menu);
    if (backdrop != nullptr) cairo_surface_destroy(backdrop);
    if (window != nullptr) {
      g_signal_handlers_disconnect_by_data(window, this);
      gtk_widget_destroy(window);
    }
  }

  static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self) {
    auto* s = static_cast<State*>(self);
    cairo_save(cr);
    if (s->backdrop != nullptr && !s->alpha) {
      cairo_set_source_surface(cr, s->backdrop, 0, 0);
    } else {
      cairo_set_source_rgba(cr, 0, 0, 0, 0);
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);
    if (s->view) {
      const int scale = std::max(gtk_widget_get_scale_factor(widget), 1);
      render::drawWidget(cr, *s->view, s->family, s->scheme, s->fonts, 1.0 / scale);
    }
    return TRUE;
  }

  static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer self) {
    auto* s = static_cast<State*>(self);
    if (s->actions.quit) s->actions.quit();
    return TRUE;  // the owner ends the host, which destroys the window
  }

  static void onDestroy(GtkWidget*, gpointer self) {
    // Destroyed from outside (another client destroyed the X window): nothing left to draw on.
    auto* s = static_cast<State*>(self);
    s->window = nullptr;
    if (s->actions.quit) s->actions.quit();
  }

  /// Runs `action` from the main loop, once the menu that chose it is gone (it may destroy this).
  static void later(const std::function<void()>& action) {
    if (!action) return;
    auto* copy = new std::function<void()>(action);
    g_idle_add(
        [](gpointer f) -> gboolean {
          auto* fn = static_cast<std::function<void()>*>(f);
          (*fn)();
          delete fn;
          return G_SOURCE_REMOVE;
        },
        copy);
  }

  void addItem(GtkWidget* to, const char* label, std::function<void()> action) {
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(label);
    auto* fn = new std::function<void()>(std::move(action));
    g_signal_connect_data(
        item, "activate",
        G_CALLBACK(+[](GtkMenuItem*, gpointer f) { later(*static_cast<std::function<void()>*>(f)); }), fn,
        [](gpointer f, GClosure*) { delete static_cast<std::function<void()>*>(f); }, GConnectFlags{});
    gtk_menu_shell_append(GTK_MENU_SHELL(to), item);
  }

  /// The menu, built afresh so that it marks the appearance chosen now.
  GtkWidget* buildMenu() {
    GtkWidget* m = gtk_menu_new();
    addItem(m, "_Remove This Widget", actions.remove);
    GtkWidget* appearance = gtk_menu_item_new_with_mnemonic("_Appearance");
    GtkWidget* choices = gtk_menu_new();
    GSList* group = nullptr;
    const SchemeChoice now = actions.appearanceNow ? actions.appearanceNow() : SchemeChoice::automatic;
    struct Choice {
      SchemeChoice choice;
      const char* label;
    };
    for (const Choice& c : {Choice{SchemeChoice::automatic, "_Automatic"},
                            Choice{SchemeChoice::light, "_Light"}, Choice{SchemeChoice::dark, "_Dark"}}) {
      GtkWidget* item = gtk_radio_menu_item_new_with_mnemonic(group, c.label);
      group = gtk_radio_menu_item_get_group(GTK_RADIO_MENU_ITEM(item));
      gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), c.choice == now ? TRUE : FALSE);
      auto* fn = new std::function<void()>([this, choice = c.choice] {
        if (actions.appearance) actions.appearance(choice);
      });
      g_signal_connect_data(
          item, "toggled", G_CALLBACK(+[](GtkCheckMenuItem* i, gpointer f) {
            if (gtk_check_menu_item_get_active(i) != FALSE) later(*static_cast<std::function<void()>*>(f));
          }),
          fn, [](gpointer f, GClosure*) { delete static_cast<std::function<void()>*>(f); }, GConnectFlags{});
      gtk_menu_shell_append(GTK_MENU_SHELL(choices), item);
    }
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(appearance), choices);
    gtk_menu_shell_append(GTK_MENU_SHELL(m), appearance);
    gtk_menu_shell_append(GTK_MENU_SHELL(m), gtk_separator_menu_item_new());
    addItem(m, "_Quit", actions.quit);
    gtk_menu_attach_to_widget(GTK_MENU(m), window, nullptr);
    gtk_widget_show_all(m);
    return m;
  }

  void popup(const GdkEvent* event) {
    if (menu != nullptr) gtk_widget_destroy(menu);
    menu = buildMenu();
    if (event != nullptr) {
      gtk_menu_popup_at_pointer(GTK_MENU(menu), event);
    } else {
      // From the keyboard or a screen reader: at the window's corner, the first item selected so
      // that the arrow keys and Return work at once.
      gtk_menu_popup_at_widget(GTK_MENU(menu), window, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST,
                               nullptr);
      gtk_menu_shell_select_first(GTK_MENU_SHELL(menu), FALSE);
    }
  }

  static gboolean onPopupMenu(GtkWidget*, gpointer self) {
    static_cast<State*>(self)->popup(nullptr);
    return TRUE;
  }

  static gboolean onButton(GtkWidget*, GdkEventButton* e, gpointer self) {
    auto* s = static_cast<State*>(self);
    if (e->type != GDK_BUTTON_PRESS) return FALSE;
    if (e->button == GDK_BUTTON_SECONDARY) {
      s->popup(reinterpret_cast<GdkEvent*>(e));
      return TRUE;
    }
    if (e->button == GDK_BUTTON_PRIMARY && s->place.surface == Surface::layer) {
      // A layer surface has no place of its own: it moves by its margins from the corner.
      s->grab = Point{.x = static_cast<int>(std::lround(e->x)), .y = static_cast<int>(std::lround(e->y))};
      s->pressed = s->place.inset;
      return TRUE;
    }
    if (e->button == GDK_BUTTON_PRIMARY) {
      s->dragged = true;
      gtk_window_begin_move_drag(GTK_WINDOW(s->window), static_cast<gint>(e->button),
                                 static_cast<gint>(e->x_root), static_cast<gint>(e->y_root), e->time);
      return TRUE;
    }
    return FALSE;
  }

  /// The monitor a layer surface stands on, in points on the screen.
  Box monitorBox() const {
    GdkDisplay* display = gtk_widget_get_display(window);
    GdkWindow* surface = gtk_widget_get_window(window);
    GdkMonitor* m = surface != nullptr ? gdk_display_get_monitor_at_window(display, surface) : nullptr;
    if (m == nullptr && place.monitor) m = gdk_display_get_monitor(display, *place.monitor);
    if (m == nullptr) m = gdk_display_get_monitor(display, 0);
    GdkRectangle r{0, 0, 0, 0};
    if (m != nullptr) gdk_monitor_get_geometry(m, &r);
    return Box{.x = r.x, .y = r.y, .width = r.width, .height = r.height};
  }

  static gboolean onMotion(GtkWidget*, GdkEventMotion* e, gpointer self) {
    auto* s = static_cast<State*>(self);
    if (!s->grab) return FALSE;
    const Box monitor = s->monitorBox();
    const Size size = sizeOf(s->family);
    // The pointer's place on the surface as it stood when pressed: the compositor keeps that
    // surface-local frame for the whole press (sway does), whatever the margins did since.
    const Point from = pointAt(s->place.corner, monitor, size, s->pressed);
    const Point to{.x = from.x + static_cast<int>(std::lround(e->x)) - s->grab->x,
                   .y = from.y + static_cast<int>(std::lround(e->y)) - s->grab->y};
    const Inset inset = insetAt(s->place.corner, monitor, size, to);
    if (inset != s->place.inset) {
      s->place.inset = inset;
      anchor(GTK_WINDOW(s->window), s->place);
    }
    return TRUE;
  }

  static gboolean onRelease(GtkWidget*, GdkEventButton* e, gpointer self) {
    auto* s = static_cast<State*>(self);
    if (!s->grab || e->button != GDK_BUTTON_PRIMARY) return FALSE;
    s->grab.reset();
    if (s->place.inset != s->pressed && s->actions.moved) {
      s->actions.moved(pointAt(s->place.corner, s->monitorBox(), sizeOf(s->family), s->place.inset));
    }
    return TRUE;
  }

  static gboolean onConfigure(GtkWidget*, GdkEventConfigure*, gpointer self) {
    auto* s = static_cast<State*>(self);
    // Only X11 tells a window where it stands on the screen: elsewhere the move is not kept.
    if (!s->dragged || s->place.surface != Surface::x11) return FALSE;
    if (s->settle != 0) g_source_remove(s->settle);
    s->settle = g_timeout_add(
        400,
        [](gpointer p) -> gboolean {
          auto* st = static_cast<State*>(p);
          st->settle = 0;
          st->dragged = false;
          if (st->window == nullptr) return G_SOURCE_REMOVE;
          gint x = 0, y = 0;
          gtk_window_get_position(GTK_WINDOW(st->window), &x, &y);
          st->place.at = Point{.x = x, .y = y};
          st->captureBackdrop();
          gtk_widget_queue_draw(st->window);
          if (st->actions.moved) st->actions.moved(*st->place.at);
          return G_SOURCE_REMOVE;
        },
        s);
    return FALSE;
  }

  /// Keeps what the desktop shows where the window stands, to draw the corners over: the
  /// wallpaper's pixmap where the desktop names one (right whatever stands there now), else what
  /// the screen shows there, read before the window is mapped. Copied within the X server, so
  /// that no picture passes through this process.
  void captureBackdrop() {
    if (alpha || place.surface != Surface::x11) return;
    GdkWindow* root = gdk_screen_get_root_window(gtk_widget_get_screen(window));
    cairo_surface_t* paper = wallpaper(gtk_widget_get_display(window));
    if (paper == nullptr && gtk_widget_get_mapped(window) != FALSE) return;
    cairo_surface_t* copy =
        gdk_window_create_similar_surface(root, CAIRO_CONTENT_COLOR, place.box.width, place.box.height);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(copy);
      if (paper != nullptr) cairo_surface_destroy(paper);
      return;
    }
    cairo_t* cr = cairo_create(copy);
    const Point at = place.at.value_or(Point{.x = place.box.x, .y = place.box.y});
    const int scale = std::max(gtk_widget_get_scale_factor(window), 1);
    if (paper != nullptr) {
      // The pixmap is in device pixels; the surface, like the window, in points.
      cairo_scale(cr, 1.0 / scale, 1.0 / scale);
      cairo_set_source_surface(cr, paper, -at.x * scale, -at.y * scale);
      cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
    } else {
      gdk_cairo_set_source_window(cr, root, -at.x, -at.y);
    }
    cairo_paint(cr);
    cairo_destroy(cr);
    if (paper != nullptr) cairo_surface_destroy(paper);
    if (backdrop != nullptr) cairo_surface_destroy(backdrop);
    backdrop = copy;
  }

  /// Whether the screen can show the window's transparent corners now.
  bool canBlend() const {
    GdkScreen* screen = gtk_widget_get_screen(window);
    return gdk_screen_get_rgba_visual(screen) != nullptr && gdk_screen_is_composited(screen) != FALSE;
  }

  void build() {
    window = GTK_WIDGET(g_object_new(ostrel_widget_window_get_type(), "type", GTK_WINDOW_TOPLEVEL, nullptr));
    GtkWindow* w = GTK_WINDOW(window);
    const Size size = sizeOf(family);
    gtk_window_set_title(w, title.c_str());
    gtk_widget_set_app_paintable(window, TRUE);
    gtk_window_set_decorated(w, FALSE);
    gtk_window_set_resizable(w, FALSE);
    gtk_widget_set_size_request(window, size.width, size.height);
    gtk_window_set_default_size(w, size.width, size.height);
    gtk_window_set_accept_focus(w, FALSE);
    gtk_window_set_focus_on_map(w, FALSE);
    alpha = canBlend();
    if (alpha) gtk_widget_set_visual(window, gdk_screen_get_rgba_visual(gtk_widget_get_screen(window)));

    switch (place.surface) {
      case Surface::layer:
        gtk_layer_init_for_window(w);
        gtk_layer_set_namespace(w, "ostrel-widgets");
        gtk_layer_set_layer(w, GTK_LAYER_SHELL_LAYER_BOTTOM);
        gtk_layer_set_exclusive_zone(w, 0);
        gtk_layer_set_keyboard_mode(w, GTK_LAYER_SHELL_KEYBOARD_MODE_NONE);
        break;
      case Surface::x11:
        // A splash window kept below: Openbox keeps it when the desktop is shown (as it keeps
        // desktop and dock windows) and, unlike those, neither raises it over other windows when
        // it is clicked (a dock) nor lets a file manager's desktop window cover it (a desktop);
        // xfwm4 keeps it where it was put and leaves it visible when it or the desktop is clicked.
        gtk_window_set_type_hint(w, GDK_WINDOW_TYPE_HINT_SPLASHSCREEN);
        gtk_window_set_keep_below(w, TRUE);
        gtk_window_stick(w);
        gtk_window_set_skip_taskbar_hint(w, TRUE);
        gtk_window_set_skip_pager_hint(w, TRUE);
        break;
      case Surface::plain:
        break;
    }
    position();
    g_signal_connect(window, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(window, "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(window, "destroy", G_CALLBACK(onDestroy), this);
    gtk_widget_add_events(window, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_BUTTON1_MOTION_MASK |
                                      GDK_STRUCTURE_MASK);
    g_signal_connect(window, "button-press-event", G_CALLBACK(onButton), this);
    g_signal_connect(window, "button-release-event", G_CALLBACK(onRelease), this);
    g_signal_connect(window, "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(window, "popup-menu", G_CALLBACK(onPopupMenu), this);
    g_signal_connect(window, "configure-event", G_CALLBACK(onConfigure), this);
  }

  void position() {
    GtkWindow* w = GTK_WINDOW(window);
    if (place.surface == Surface::layer) {
      anchor(w, place);
      GdkDisplay* display = gtk_widget_get_display(window);
      GdkMonitor* monitor = place.monitor ? gdk_display_get_monitor(display, *place.monitor) : nullptr;
      gtk_layer_set_monitor(w, monitor);
    } else if (place.at) {
      gtk_window_move(w, place.at->x, place.at->y);
    } else {
      gtk_window_move(w, place.box.x, place.box.y);
    }
  }
};

WidgetWindow::WidgetWindow(const ShownWidget& widget, WindowPlace place, const render::PangoMeasurer& fonts,
                           WindowActions actions)
    : state_(std::make_unique<State>(widget, place, fonts, std::move(actions))) {
  state_->build();
}

WidgetWindow::~WidgetWindow() = default;

void WidgetWindow::show(const Face& face, ColorScheme scheme) {
  State& s = *state_;
  s.face = face;
  s.scheme = scheme;
  s.view = face.view(scheme);
  s.reading = ::ostrel::reading(*s.view);
  if (s.window == nullptr) return;
  atk_object_set_name(gtk_widget_get_accessible(s.window), s.reading.c_str());
  if (!s.shown) {
    s.captureBackdrop();
    gtk_widget_show(s.window);
    s.shown = true;
  }
  gtk_widget_queue_draw(s.window);
}

void WidgetWindow::redraw(ColorScheme scheme) {
  State& s = *state_;
  if (scheme == s.scheme) return;
  s.scheme = scheme;
  if (!s.face) return;
  s.view = s.face->view(scheme);
  if (s.window != nullptr) gtk_widget_queue_draw(s.window);
}

void WidgetWindow::place(const WindowPlace& place) {
  State& s = *state_;
  s.place = place;
  if (s.window != nullptr) s.position();
}

void WidgetWindow::restate() {
  State& s = *state_;
  if (s.window == nullptr || s.place.surface != Surface::x11) return;
  if (gtk_widget_get_visible(s.window) == FALSE) return;
  // Mapped again, the window is the new manager's from the start, with every hint read afresh
  // (GTK sets them again as it maps), whatever the old manager left behind.
  gtk_widget_hide(s.window);
  s.position();
  gtk_widget_show(s.window);
}

void WidgetWindow::followCompositor() {
  State& s = *state_;
  if (s.window == nullptr || s.place.surface != Surface::x11 || s.canBlend() == s.alpha) return;
  // The visual is chosen when the X window is made: make it again.
  const bool shown = gtk_widget_get_visible(s.window) != FALSE;
  gtk_widget_hide(s.window);
  gtk_widget_unrealize(s.window);
  s.alpha = s.canBlend();
  GdkScreen* screen = gtk_widget_get_screen(s.window);
  gtk_widget_set_visual(s.window,
                        s.alpha ? gdk_screen_get_rgba_visual(screen) : gdk_screen_get_system_visual(screen));
  s.position();
  if (shown) {
    s.captureBackdrop();
    gtk_widget_show(s.window);
  }
}

void WidgetWindow::followWallpaper() {
  State& s = *state_;
  if (s.window == nullptr || s.alpha) return;
  s.captureBackdrop();
  gtk_widget_queue_draw(s.window);
}

const std::string& WidgetWindow::reading() const {
  return state_->reading;
}

GtkWidget* WidgetWindow::widget() const {
  return state_->window;
}

}  // namespace ostrel::desktop
