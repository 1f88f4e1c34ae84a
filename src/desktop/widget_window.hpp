#pragma once
/// \file widget_window.hpp
/// One widget on the desktop: a window exactly its family's size in points that keeps the face it
/// was last given and draws it with the Cairo renderer at the window's scale factor, in the scheme
/// it is told. Its accessible name is the face's reading, so a screen reader reads the widget.
///
/// How it stands on the screen depends on the display:
/// - `layer`: a layer-shell surface (Wayland) on the bottom layer, anchored to a corner with
///   margins, no exclusive zone, no keyboard;
/// - `x11`: an undecorated splash-type window at a position, kept below, on every workspace,
///   skipped by the taskbar and the pager, never focused, still shown when the desktop is shown; transparent
///   outside its rounded shape where the screen has an alpha visual and a compositor, else drawn over what
///   the desktop showed there;
/// - `plain`: an undecorated ordinary window (a Wayland compositor without layer-shell).
///
/// A right click, the Menu key or Shift+F10, or the accessible's "menu" action (how a screen
/// reader's user reaches it, the window never being focused) opens its menu: remove this widget,
/// the appearance, quit; the menu takes the keyboard while open. Dragging it with the first button
/// moves it (a layer surface by its margins, kept on its monitor), and on x11 and layer reports
/// where it ended.
///
///     WidgetWindow w(shown, WindowPlace{...}, fonts, WindowActions{.quit = [] { stop(); }, ...});
///     w.show(face, ColorScheme::light);   // first face: the window appears
///     w.redraw(ColorScheme::dark);        // the same face in the dark scheme

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop/placement.hpp"
#include "desktop/saved_places.hpp"
#include "desktop/scheme_preference.hpp"
#include "engine/engine.hpp"
#include "engine/face_output.hpp"
#include "render/text.hpp"

using GtkWidget = struct _GtkWidget;  // NOLINT(bugprone-reserved-identifier): the library's own tag

namespace ostrel::desktop {

enum class Surface { layer, x11, plain };

/// A window's place on the screen, and how it stands there.
struct WindowPlace {
  Surface surface = Surface::x11;
  Corner corner = Corner::topRight;
  Inset inset;                 ///< layer: margins to the corner's edges
  Box box;                     ///< x11 and plain: position and size in points on the screen
  std::optional<int> monitor;  ///< layer: the output's index
  /// x11 and plain: where the user put it, in points on the screen; none: at `box` (layer: `inset`
  /// says it).
  std::optional<Point> at;
};

/// The size in points of a window showing a widget of `family`.
[[nodiscard]] Size sizeOf(WidgetFamily family);

/// What the user can do to a window; each may be empty.
struct WindowActions {
  std::function<void()> remove;  ///< "Remove this widget"
  std::function<void()> quit;    ///< "Quit", or the window manager's close
  std::function<void(SchemeChoice)> appearance;
  std::function<SchemeChoice()> appearanceNow;  ///< the choice the menu marks
  std::function<void(Point)> moved;             ///< where a drag left the window, in points
};

class WidgetWindow {
 public:
  /// Creates the window of `widget`, titled with its display name (not shown until its first face).
  WidgetWindow(const ShownWidget& widget, WindowPlace place, const render::PangoMeasurer& fonts,
               WindowActions actions);
  ~WidgetWindow();
  WidgetWindow(const WidgetWindow&) = delete;
  WidgetWindow& operator=(const WidgetWindow&) = delete;

  /// Keeps `face` and draws it in `scheme`; the first face shows the window.
  void show(const Face& face, ColorScheme scheme);
  /// Draws the kept face again in `scheme` (a change of appearance).
  void redraw(ColorScheme scheme);
  /// Moves the window (a change of the monitors or their work areas).
  void place(const WindowPlace& place);

  /// x11: maps the window again, so that a new window manager takes it with its hints.
  void restate();
  /// x11: makes the window again with or without an alpha visual if a compositor started or
  /// stopped since it was made.
  void followCompositor();
  /// x11 without a compositor: draws the corners over the new wallpaper.
  void followWallpaper();

  /// The face's reading, as the accessible name carries it.
  [[nodiscard]] const std::string& reading() const;
  [[nodiscard]] GtkWidget* widget() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace ostrel::desktop
