#include "host/desktop/widget_window.hpp"

#include <gtk-layer-shell/gtk-layer-shell.h>
#include <gtk/gtk.h>

#include <cmath>
#include <utility>

#include "platform/render/canvas.hpp"
#include "platform/render/draw.hpp"
#include "platform/ui/reading.hpp"

namespace ostrel::desktop {

namespace {

Size sizeOf(WidgetFamily family) {
  const render::Canvas c = render::canvasFor(family);
  return Size{.width = static_cast<int>(std::lround(c.width)),
              .height = static_cast<int>(std::lround(c.height))};
}

void anchor(GtkWindow* window, const WindowSetup& setup) {
  const bool top = isTop(setup.corner), left = isLeft(setup.corner);
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_TOP, top ? TRUE : FALSE);
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_BOTTOM, top ? FALSE : TRUE);
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_LEFT, left ? TRUE : FALSE);
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_RIGHT, left ? FALSE : TRUE);
  gtk_layer_set_margin(window, top ? GTK_LAYER_SHELL_EDGE_TOP : GTK_LAYER_SHELL_EDGE_BOTTOM,
                       setup.inset.vertical);
  gtk_layer_set_margin(window, left ? GTK_LAYER_SHELL_EDGE_LEFT : GTK_LAYER_SHELL_EDGE_RIGHT,
                       setup.inset.horizontal);
}

}  // namespace

struct WidgetWindow::State {
  State(WindowSetup setup_, render::PangoMeasurer fonts_, std::function<void()> closed_)
      : setup(std::move(setup_)), fonts(std::move(fonts_)), closed(std::move(closed_)) {}
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  WindowSetup setup;
  render::PangoMeasurer fonts;
  std::function<void()> closed;
  GtkWidget* window = nullptr;
  bool alpha = false;                   ///< drawn on an alpha visual, composited
  cairo_surface_t* backdrop = nullptr;  ///< without alpha on X11: what the desktop showed beneath
  std::optional<Face> face;
  std::optional<View> view;  ///< the face's view in `scheme`
  ColorScheme scheme = ColorScheme::light;
  std::string reading;
  bool shown = false;

  ~State() {
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
      render::drawWidget(cr, *s->view, s->setup.family, s->scheme, s->fonts, 1.0 / scale);
    }
    return TRUE;
  }

  static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer self) {
    auto* s = static_cast<State*>(self);
    if (s->closed) s->closed();
    return TRUE;  // the owner ends the host, which destroys the window
  }

  static void onDestroy(GtkWidget*, gpointer self) {
    // Destroyed from outside (another client destroyed the X window): nothing left to draw on.
    auto* s = static_cast<State*>(self);
    s->window = nullptr;
    if (s->closed) s->closed();
  }

  /// Keeps what the desktop shows where the window will stand, to draw the corners over: copied
  /// within the X server into a pixmap, so that no picture passes through this process.
  void captureBackdrop() {
    if (alpha || setup.surface != Surface::x11) return;
    GdkWindow* root = gdk_screen_get_root_window(gtk_widget_get_screen(window));
    cairo_surface_t* copy =
        gdk_window_create_similar_surface(root, CAIRO_CONTENT_COLOR, setup.box.width, setup.box.height);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(copy);
      return;
    }
    cairo_t* cr = cairo_create(copy);
    gdk_cairo_set_source_window(cr, root, -setup.box.x, -setup.box.y);
    cairo_paint(cr);
    cairo_destroy(cr);
    if (backdrop != nullptr) cairo_surface_destroy(backdrop);
    backdrop = copy;
  }

  void build() {
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* w = GTK_WINDOW(window);
    const Size size = sizeOf(setup.family);
    gtk_window_set_title(w, setup.title.c_str());
    gtk_widget_set_app_paintable(window, TRUE);
    gtk_window_set_decorated(w, FALSE);
    gtk_window_set_resizable(w, FALSE);
    gtk_widget_set_size_request(window, size.width, size.height);
    gtk_window_set_default_size(w, size.width, size.height);
    gtk_window_set_accept_focus(w, FALSE);
    gtk_window_set_focus_on_map(w, FALSE);
    GdkScreen* screen = gtk_widget_get_screen(window);
    GdkVisual* visual = gdk_screen_get_rgba_visual(screen);
    alpha = visual != nullptr && gdk_screen_is_composited(screen);
    if (alpha) gtk_widget_set_visual(window, visual);

    switch (setup.surface) {
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
  }

  void position() {
    GtkWindow* w = GTK_WINDOW(window);
    if (setup.surface == Surface::layer) {
      anchor(w, setup);
      GdkDisplay* display = gtk_widget_get_display(window);
      GdkMonitor* monitor = setup.monitor ? gdk_display_get_monitor(display, *setup.monitor) : nullptr;
      gtk_layer_set_monitor(w, monitor);
    } else {
      gtk_window_move(w, setup.box.x, setup.box.y);
    }
  }
};

WidgetWindow::WidgetWindow(WindowSetup setup, const render::PangoMeasurer& fonts,
                           std::function<void()> closed)
    : state_(std::make_unique<State>(std::move(setup), fonts, std::move(closed))) {
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

void WidgetWindow::place(const WindowSetup& setup) {
  State& s = *state_;
  s.setup = setup;
  if (s.window != nullptr) s.position();
}

const std::string& WidgetWindow::reading() const {
  return state_->reading;
}

GtkWidget* WidgetWindow::widget() const {
  return state_->window;
}

}  // namespace ostrel::desktop
