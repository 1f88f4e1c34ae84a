#pragma once
/// \file desktop_output.hpp
/// The engine's faces in desktop windows: one `WidgetWindow` per widget, stacked in a corner of a
/// monitor, drawn in the appearance the desktop asks for and redrawn when it changes (no new
/// timeline: the views read the scheme from their environment). On Wayland the windows are
/// layer-shell surfaces where the compositor offers layer-shell, else ordinary undecorated windows
/// (the `notice` says so); on X11 they carry the hints of desktop widgets.
///
///     auto output = DesktopOutput::open(settings, fonts, [&] { engine.stop(); });
///     if (!output) return fail(output.error());     // "cannot open a display: ..."
///     if ((*output)->notice()) err << *(*output)->notice() << "\n";
///     engine.subscribe(**output);

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.hpp"
#include "desktop/placement.hpp"
#include "desktop/scheme_preference.hpp"
#include "desktop/widget_window.hpp"
#include "engine/engine.hpp"
#include "engine/face_output.hpp"
#include "render/text.hpp"

namespace ostrel::desktop {

struct DesktopSettings {
  std::vector<ShownWidget> widgets;  ///< each in a window of its own, in stacking order from the corner
  Placement placement;
  SchemeChoice scheme = SchemeChoice::automatic;
};

/// Why no window can be shown.
struct DisplayError {
  std::string message;  ///< one line
  friend bool operator==(const DisplayError&, const DisplayError&) = default;
};

/// The connector name of the monitor `choice` names (see `monitorIndex`) on the default display,
/// opened for the asking; none when no display answers or it has no such monitor.
[[nodiscard]] std::optional<std::string> monitorName(std::string_view choice);

class DesktopOutput final : public FaceOutput {
 public:
  /// Opens the default display (initialising GTK) and creates the windows, shown at their first
  /// face, each where the user last dragged it (`$XDG_CONFIG_HOME/ostrel-widgets/places.conf`) or
  /// in the corner; `closed` runs when the user quits (from a window's menu or the window
  /// manager's close) or removes the last widget.
  [[nodiscard]] static Result<std::unique_ptr<DesktopOutput>, DisplayError> open(
      DesktopSettings settings, const render::PangoMeasurer& fonts, std::function<void()> closed);
  ~DesktopOutput() override;

  void show(const Face& face) override;

  /// What to tell the user once about how the windows stand, if anything (no layer-shell, no such
  /// monitor).
  [[nodiscard]] const std::optional<std::string>& notice() const;
  [[nodiscard]] Surface surface() const;
  [[nodiscard]] ColorScheme scheme() const;

 private:
  struct State;
  explicit DesktopOutput(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace ostrel::desktop
