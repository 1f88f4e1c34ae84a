#pragma once
/// \file dump.hpp
/// The two printed forms of a view tree. Both are stable: the same tree always prints the same bytes,
/// numbers are written in their shortest form that reads back to the same double, and infinities
/// are written as "infinity" / "-infinity" (NaN as "nan").
///
/// Text, for golden files and reading: one node per line, its modifiers below it (each starting with
/// "."), then its children, two spaces deeper per level; a modifier's content views sit below it.
///
///     Heading(text: "Next up")
///       HStack(alignment: center, spacing: 5)
///         Circle
///           .fill(color: rgb(0.8470588235294118, 0.23137254901960785, 0.3058823529411765))
///           .frame(width: 5, height: 5, alignment: center)
///         Text "NEXT UP" verbatim
///           .font(system(size: 10, weight: semibold, design: default))
///
/// JSON, for tools: every node is {"type", "args", "modifiers", "children"}; a composite also has
/// "composite": true; a `Text` also has "text" (as shown) and "verbatim", and a localised one its
/// "key" and "arguments". A modifier is {"name", "args"} plus "content" (an array of nodes) when it
/// takes views. A colour is {"r", "g", "b", "opacity"} (sRGB, 0 to 1) or one of the names
/// "secondary", "clear", "primary"; a font {"size", "weight", "design"}; a foreground style a colour
/// or "hierarchicalSecondary"; a unit point {"x", "y"}; alignments and edge sets their names.

#include <string>
#include <string_view>

#include "platform/ui/view.hpp"

namespace ostrel {

/// The indented text form, ending in a newline.
[[nodiscard]] std::string dumpText(const View& view);
/// The JSON form; `indent` spaces per level (0: on one line), ending in a newline.
[[nodiscard]] std::string dumpJson(const View& view, int indent = 2);

}  // namespace ostrel
