#include "host/face_line.hpp"

#include "host/face_state.hpp"
#include "platform/iso_utc.hpp"
#include "platform/json_writer.hpp"
#include "platform/ui/reading.hpp"

namespace ostrel {

std::optional<LineFormat> lineFormatNamed(std::string_view name) {
  if (name == "text") return LineFormat::text;
  if (name == "json") return LineFormat::json;
  if (name == "waybar") return LineFormat::waybar;
  return std::nullopt;
}

std::string faceLine(const Face& face, LineFormat format) {
  std::string label = reading(face.view(ColorScheme::light));
  if (format == LineFormat::text) return label;
  const FaceState state = FaceState::of(face);
  JsonWriter w{JsonWriter::spaced};
  w.beginObject();
  if (format == LineFormat::json) {
    w.member("at", isoUtc(face.entry.date))
        .member("kind", face.kind)
        .member("family", name(face.family))
        .member("label", label)
        .member("loaded", name(face.entry.loaded.which()))
        .member("state", state.state);
  } else {
    w.member("text", state.text)
        .member("tooltip", label)
        .member("class", state.state)
        .member("alt", state.state);
  }
  w.endObject();
  return std::move(w).text();
}

}  // namespace ostrel
