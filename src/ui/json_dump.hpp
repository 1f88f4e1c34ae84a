#pragma once
/// \file json_dump.hpp
/// The JSON dump of a view tree, for tools, written through the one `JsonWriter`.
///
/// Every node is {"type", "args", "modifiers", "children"}; a composite also has "composite": true; a
/// `Text` also has "text" (as shown) and "verbatim", and a localised one its "key" and "arguments".
/// A modifier is {"name", "args"} plus "content" (an array of nodes) when it holds views. A colour
/// is {"r", "g", "b", "opacity"} (sRGB, 0 to 1) or one of the names "secondary", "clear",
/// "primary"; a font {"size", "weight", "design"}; a foreground style a colour or
/// "hierarchicalSecondary"; a unit point {"x", "y"}; alignments and edge sets their names. Numbers
/// JSON cannot hold are the strings "infinity", "-infinity" and "nan".
///
///     {"type": "Spacer", "args": {"minLength": 4}, "modifiers": [], "children": []}

#include <string>

#include "ui/view.hpp"

namespace ostrel {

/// The JSON form of `view`; `indent` spaces per level (0: on one line), ending in a newline.
[[nodiscard]] std::string dumpJson(const View& view, int indent = 2);

}  // namespace ostrel
