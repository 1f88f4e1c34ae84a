#pragma once
/// \file alignment.hpp
/// Where a view sits in the space it is given: along one axis (a stack's alignment) or both
/// (`.topLeading`, `.center`, ...).

#include <string_view>

namespace ostrel {

enum class HorizontalAlignment { leading, center, trailing };
enum class VerticalAlignment { top, center, bottom };

struct Alignment {
  HorizontalAlignment horizontal = HorizontalAlignment::center;
  VerticalAlignment vertical = VerticalAlignment::center;
  static const Alignment center, topLeading, top, leading, topTrailing, trailing, bottomLeading, bottom,
      bottomTrailing;
  friend constexpr bool operator==(const Alignment&, const Alignment&) = default;
};
inline constexpr Alignment Alignment::center{HorizontalAlignment::center, VerticalAlignment::center};
inline constexpr Alignment Alignment::topLeading{HorizontalAlignment::leading, VerticalAlignment::top};
inline constexpr Alignment Alignment::top{HorizontalAlignment::center, VerticalAlignment::top};
inline constexpr Alignment Alignment::leading{HorizontalAlignment::leading, VerticalAlignment::center};
inline constexpr Alignment Alignment::topTrailing{HorizontalAlignment::trailing, VerticalAlignment::top};
inline constexpr Alignment Alignment::trailing{HorizontalAlignment::trailing, VerticalAlignment::center};
inline constexpr Alignment Alignment::bottomLeading{HorizontalAlignment::leading, VerticalAlignment::bottom};
inline constexpr Alignment Alignment::bottom{HorizontalAlignment::center, VerticalAlignment::bottom};
inline constexpr Alignment Alignment::bottomTrailing{HorizontalAlignment::trailing,
                                                     VerticalAlignment::bottom};

/// "leading", "center", "trailing".
[[nodiscard]] constexpr std::string_view name(HorizontalAlignment a) {
  switch (a) {
    case HorizontalAlignment::leading:
      return "leading";
    case HorizontalAlignment::center:
      return "center";
    case HorizontalAlignment::trailing:
      return "trailing";
  }
  return "center";
}

/// "top", "center", "bottom".
[[nodiscard]] constexpr std::string_view name(VerticalAlignment a) {
  switch (a) {
    case VerticalAlignment::top:
      return "top";
    case VerticalAlignment::center:
      return "center";
    case VerticalAlignment::bottom:
      return "bottom";
  }
  return "center";
}

/// The framework's names: "center", "top", "leading", "topLeading", "bottomTrailing", ...
[[nodiscard]] constexpr std::string_view name(Alignment a) {
  constexpr std::string_view names[3][3] = {
      {"topLeading", "top", "topTrailing"},
      {"leading", "center", "trailing"},
      {"bottomLeading", "bottom", "bottomTrailing"},
  };
  return names[static_cast<int>(a.vertical)][static_cast<int>(a.horizontal)];
}

}  // namespace ostrel
