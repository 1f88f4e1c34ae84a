#include "engine/face_line.hpp"

#include <glib.h>

#include <memory>

#include "base/json_writer.hpp"
#include "time/iso_utc.hpp"
#include "ui/reading.hpp"

namespace ostrel {

std::optional<LineFormat> lineFormatNamed(std::string_view name) {
  if (name == "text") return LineFormat::text;
  if (name == "short") return LineFormat::shortText;
  if (name == "json") return LineFormat::json;
  if (name == "waybar") return LineFormat::waybar;
  return std::nullopt;
}

namespace {

/// `text` as Pango markup shows it verbatim: Waybar reads a custom module's `text` and `tooltip` as
/// markup, where a bare "&" or "<" is an error that blanks the module.
std::string markup(const std::string& text) {
  const std::unique_ptr<gchar, decltype(&g_free)> escaped(
      g_markup_escape_text(text.c_str(), static_cast<gssize>(text.size())), g_free);
  return escaped.get();
}

}  // namespace

std::string faceLine(const Face& face, LineFormat format) {
  const ShortState state = face.state();
  if (format == LineFormat::shortText) return state.text;
  std::string label = reading(face.view(ColorScheme::light));
  if (format == LineFormat::text) return label;
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
    w.member("text", markup(state.text))
        .member("tooltip", markup(label))
        .member("class", state.state)
        .member("alt", state.state);
  }
  w.endObject();
  return std::move(w).text();
}

}  // namespace ostrel
