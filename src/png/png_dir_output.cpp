#include "png/png_dir_output.hpp"

#include <vector>

#include "base/atomic_file.hpp"
#include "render/image.hpp"

namespace ostrel {

std::filesystem::path PngDirOutput::fileFor(const std::filesystem::path& dir, const std::string& kind,
                                            WidgetFamily family) {
  return dir / (kind + "-" + name(family) + ".png");
}

void PngDirOutput::show(const Face& face) {
  if (broken_) return;
  auto png = render::renderWidget(face.view(scheme_), face.family, scheme_, fonts_,
                                  {.format = render::Format::png, .scale = scale_});
  if (!png) return fail(png.error().message);
  // This face first, then any that a failing folder kept back.
  const std::filesystem::path path = fileFor(dir_, face.kind, face.family);
  waiting_.insert_or_assign(path, std::move(png).value());
  std::vector<std::filesystem::path> order{path};
  for (const auto& [file, bytes] : waiting_) {
    if (file != path) order.push_back(file);
  }
  for (const std::filesystem::path& file : order) {
    const auto written =
        AtomicFile::write(file, waiting_.at(file), AtomicFile::Sync::visible, AtomicFile::Links::replace);
    if (!written) {
      const std::string why = file.string() + ": " + written.error().reason;
      if (!worked_) return fail(why);
      if (!failing_ && report_) report_("cannot write " + why + "; writing again at the next change");
      failing_ = true;
      return;
    }
    waiting_.erase(file);
    worked_ = true;
    if (failing_ && report_) report_("writing to " + dir_.string() + " again");
    failing_ = false;
  }
}

void PngDirOutput::fail(const std::string& why) {
  broken_ = true;
  if (failed_) failed_(why);
}

}  // namespace ostrel
