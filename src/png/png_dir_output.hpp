#pragma once
/// \file png_dir_output.hpp
/// Faces as PNG files in a folder, one per widget, `DIR/<kind>-<family>.png` (for example
/// "NextUp-systemSmall.png"), each replaced atomically whenever its face changes: a program showing
/// the image (Conky, a bar's image module) reads the old picture or the new, never a part.
///
/// The files are the program's own names: a link planted under one is replaced, never followed.
///
/// A folder that stops working (removed, made read-only, a full disk) does not end the output: the
/// failure is reported once, the faces not written wait, and each later change tries again (all the
/// waiting faces) until the folder works, which is reported once too. Only a folder that never
/// took a face, and a face that cannot be drawn, end it.
///
///     auto fonts = render::PangoMeasurer::create();
///     PngDirOutput pngs{"/run/user/1000/ostrel", 2, ColorScheme::dark, *fonts,
///                       [&](const std::string& news) { warn(news); },
///                       [&](const std::string& why) { fail(why); engine.stop(); }};
///     engine.subscribe(pngs);

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "engine/face_output.hpp"
#include "render/text.hpp"

namespace ostrel {

class PngDirOutput final : public FaceOutput {
 public:
  /// Draws at `scale` device pixels per point in `scheme`. Calls `report` with one line when the
  /// folder stops working and when it works again; calls `failed` with a one-line reason when a
  /// face cannot be drawn or the folder never took one, and writes nothing more after that.
  PngDirOutput(std::filesystem::path dir, double scale, ColorScheme scheme, render::PangoMeasurer fonts,
               std::function<void(const std::string&)> report, std::function<void(const std::string&)> failed)
      : dir_(std::move(dir)),
        scale_(scale),
        scheme_(scheme),
        fonts_(std::move(fonts)),
        report_(std::move(report)),
        failed_(std::move(failed)) {}

  void show(const Face& face) override;

  /// The file of a widget's face: `dir/<kind>-<family>.png`.
  [[nodiscard]] static std::filesystem::path fileFor(const std::filesystem::path& dir,
                                                     const std::string& kind, WidgetFamily family);

 private:
  void fail(const std::string& why);

  std::filesystem::path dir_;
  double scale_;
  ColorScheme scheme_;
  render::PangoMeasurer fonts_;
  std::function<void(const std::string&)> report_;
  std::function<void(const std::string&)> failed_;
  bool broken_ = false;                                   ///< ended: nothing more is written
  bool worked_ = false;                                   ///< the folder took a face once
  bool failing_ = false;                                  ///< the last write failed (reported)
  std::map<std::filesystem::path, std::string> waiting_;  ///< files not written yet, with their bytes
};

}  // namespace ostrel
