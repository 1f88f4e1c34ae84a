#pragma once
/// \file edges.hpp
/// Sets of a view's edges, for `padding(_:_:)`.

#include <string_view>

namespace ostrel {

/// The edges `padding(_:_:)` insets.
enum class Edges { all, vertical, horizontal, top, bottom, leading, trailing };

/// "all", "vertical", "horizontal", "top", "bottom", "leading", "trailing".
[[nodiscard]] constexpr std::string_view name(Edges e) {
  switch (e) {
    case Edges::all:
      return "all";
    case Edges::vertical:
      return "vertical";
    case Edges::horizontal:
      return "horizontal";
    case Edges::top:
      return "top";
    case Edges::bottom:
      return "bottom";
    case Edges::leading:
      return "leading";
    case Edges::trailing:
      return "trailing";
  }
  return "all";
}

}  // namespace ostrel
