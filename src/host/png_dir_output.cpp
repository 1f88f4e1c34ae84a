#include "host/png_dir_output.hpp"

#include "platform/atomic_file.hpp"
#include "platform/render/image.hpp"

namespace ostrel {

std::filesystem::path PngDirOutput::fileFor(const std::filesystem::path& dir, const std::string& kind,
                                            WidgetFamily family) {
  return dir / (kind + "-" + name(family) + ".png");
}

void PngDirOutput::show(const Face& face) {
  if (broken_) return;
  const auto png = render::renderWidget(face.view(scheme_), face.family, scheme_, fonts_,
                                        {.format = render::Format::png, .scale = scale_});
  if (!png) return fail(png.error().message);
  const std::filesystem::path path = fileFor(dir_, face.kind, face.family);
  const auto written = AtomicFile::write(path, *png, AtomicFile::Sync::visible, AtomicFile::Links::replace);
  if (!written) return fail(path.string() + ": " + written.error().reason);
}

void PngDirOutput::fail(const std::string& why) {
  broken_ = true;
  if (failed_) failed_(why);
}

}  // namespace ostrel
