#pragma once
/// \file same_drawing.hpp
/// Whether two view trees draw the same picture. Composite nodes (`NextUpView`, `When`, `Heading`,
/// ...) carry arguments that describe them, such as the entry's date, which change from entry to
/// entry although nothing drawn does; only their bodies and modifiers count. Primitives count
/// whole: type, arguments, modifiers (with their content views) and texts.
///
///     if (!sameDrawing(shownBefore, face.view(ColorScheme::light))) output.show(face);

#include "ui/view.hpp"

namespace ostrel {

[[nodiscard]] bool sameDrawing(const View& a, const View& b);

}  // namespace ostrel
