#pragma once
/// \file face_line.hpp
/// One line of text per face, for status bars and scripts reading standard output:
///
/// | format   | line                                                                                     |
/// |----------|------------------------------------------------------------------------------------------|
/// | `text`   | the face read aloud: "Next up: FINC3600, Lecture, in 40 min, ABS Lecture Theatre 1010"   |
/// | `short`  | the widget's short line (short_state.hpp), fit for a bar: "FINC3600 in 40 min"           |
/// | `json`   | {"at": entry date (UTC, ms), "kind", "family", "label" (the reading), "loaded", "state"} |
/// | `waybar` | Waybar's custom module: {"text" (short), "tooltip" (the reading), "class" and "alt"      |
/// |          | (the state)}; the texts as Pango markup, `&`, `<`, `>` and quotes escaped                |
///
/// Lines never hold a line break: the reading is one line, and JSON escapes control characters.
///
///     std::cout << faceLine(face, LineFormat::json) << '\n' << std::flush;

#include <optional>
#include <string>
#include <string_view>

#include "engine/face.hpp"

namespace ostrel {

enum class LineFormat { text, shortText, json, waybar };

/// The format named "text", "short", "json" or "waybar", if any.
[[nodiscard]] std::optional<LineFormat> lineFormatNamed(std::string_view name);

/// The line for `face`, without its line break.
[[nodiscard]] std::string faceLine(const Face& face, LineFormat format);

}  // namespace ostrel
