#pragma once
/// \file png_dir_output.hpp
/// Faces as PNG files in a folder, one per widget, `DIR/<kind>-<family>.png` (for example
/// "NextUp-systemSmall.png"), each replaced atomically whenever its face changes: a program showing
/// the image (Conky, a bar's image module) reads the old picture or the new, never a part.
///
///     auto fonts = render::PangoMeasurer::create();
///     PngDirOutput pngs{"/run/user/1000/ostrel", 2, ColorScheme::dark, *fonts,
///                       [&](const std::string& why) { report(why); engine.stop(); }};
///     engine.subscribe(pngs);

#include <filesystem>
#include <functional>
#include <string>

#include "host/face_output.hpp"
#include "platform/render/text.hpp"

namespace ostrel {

class PngDirOutput final : public FaceOutput {
 public:
  /// Draws at `scale` device pixels per point in `scheme`; calls `failed` with a one-line reason
  /// when a face cannot be drawn or written, and writes nothing more after that.
  PngDirOutput(std::filesystem::path dir, double scale, ColorScheme scheme, render::PangoMeasurer fonts,
               std::function<void(const std::string&)> failed)
      : dir_(std::move(dir)),
        scale_(scale),
        scheme_(scheme),
        fonts_(std::move(fonts)),
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
  std::function<void(const std::string&)> failed_;
  bool broken_ = false;
};

}  // namespace ostrel
