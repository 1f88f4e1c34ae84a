#pragma once
/// \file text_dump.hpp
/// The text dump of a view tree, for golden files and reading: one node per line, its modifiers
/// below it (each starting with "."), then its children, two spaces deeper per level; a modifier's
/// content views sit below it. The same tree always prints the same bytes: numbers in their shortest
/// form that reads back to the same double ("infinity", "-infinity", "nan" for the others), strings
/// quoted and escaped as in JSON.
///
///     Heading(text: "Next up")
///       HStack(alignment: center, spacing: 5)
///         Circle
///           .fill(color: rgb(0.8470588235294118, 0.23137254901960785, 0.3058823529411765))
///           .frame(width: 5, height: 5, alignment: center)
///         Text "NEXT UP" verbatim
///           .font(font: system(size: 10, weight: semibold, design: default))

#include <string>

#include "ui/view.hpp"

namespace ostrel {

/// The indented text form of `view`, ending in a newline.
[[nodiscard]] std::string dumpText(const View& view);

}  // namespace ostrel
