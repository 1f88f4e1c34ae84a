#pragma once
/// \file face_output.hpp
/// What the engine hands to whatever shows faces: PNG files, status-bar lines, desktop windows.
///
/// A `Face` is one widget's current entry with everything needed to draw it, except the appearance:
/// each output builds the view itself, in its own environment, so a window can redraw in the dark
/// scheme without asking the engine for anything.
///
///     class Printer : public FaceOutput {
///       void show(const Face& face) override { std::cout << dumpText(face.view(ColorScheme::light)); }
///     };
///     Printer printer;
///     engine.subscribe(printer);   // called once per change of that widget's face, never for an unchanged
///     one
///
/// The engine calls `show` on the thread that runs its main loop, for each widget in the order the
/// widgets were given, first when it starts and then whenever that widget's face changes.

#include <functional>
#include <memory>
#include <string>

#include "timeline/entry.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel {

struct Face {
  std::string kind;  ///< the widget's kind, "NextUp" or "DueSoon"
  WidgetFamily family = WidgetFamily::systemSmall;
  Entry entry;                          ///< the entry current now (the latest whose date is not after now)
  TimeZone timeZone = TimeZone::utc();  ///< the zone and locale the engine follows now
  std::string locale = "en_US";
  /// The formatter for `locale` and `timeZone`, shared by every face the engine shows in them.
  std::shared_ptr<const DateFormatter> dates = nullptr;
  /// The widget's content function (its declaration's `content`).
  std::function<View(const Entry&, const Environment&)> content;

  /// The environment this face is drawn in for `scheme`.
  [[nodiscard]] Environment environment(ColorScheme scheme) const {
    return Environment{.widgetFamily = family,
                       .colorScheme = scheme,
                       .systemVersion = SystemVersion{},
                       .locale = locale,
                       .timeZone = timeZone,
                       .dates = dates};
  }
  /// The face's view tree in `scheme`.
  [[nodiscard]] View view(ColorScheme scheme) const { return content(entry, environment(scheme)); }
};

/// Something that shows faces. Implementations must not throw; one that cannot go on (a closed
/// standard output) asks the engine to stop rather than failing here.
class FaceOutput {
 public:
  FaceOutput() = default;
  FaceOutput(const FaceOutput&) = delete;
  FaceOutput& operator=(const FaceOutput&) = delete;
  FaceOutput(FaceOutput&&) = delete;
  FaceOutput& operator=(FaceOutput&&) = delete;
  virtual ~FaceOutput() = default;

  /// Shows `face` in place of the one this output showed before for the same kind and family.
  virtual void show(const Face& face) = 0;
};

}  // namespace ostrel
