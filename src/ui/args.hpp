#pragma once
/// \file args.hpp
/// The arguments of a view node, by name and in the order given: what a primitive was made with
/// (`spacing`, `minLength`, ...) and what a composite describes itself by (`text`, `unit`, ...).
/// The dumps print them as they stand; the layout engine reads a primitive's by name.
///
///     Args a{{{"alignment", HorizontalAlignment::leading}, {"spacing", 6.0}}};
///     a.get<double>("spacing")   // 6

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "ui/alignment.hpp"
#include "ui/color.hpp"
#include "ui/edges.hpp"
#include "ui/font.hpp"
#include "ui/style.hpp"
#include "ui/unit_point.hpp"

namespace ostrel {

/// The value of one view argument (of a primitive, a composite or a modifier).
using ArgumentValue =
    std::variant<bool, std::int64_t, double, std::string, Color, Font, Style, HorizontalAlignment,
                 VerticalAlignment, Alignment, UnitPoint, Edges, std::vector<Color>>;

struct Args {
  std::vector<std::pair<std::string, ArgumentValue>> items;

  /// The value named `name`, or nullptr.
  [[nodiscard]] const ArgumentValue* find(std::string_view name) const;
  /// The value named `name` if it holds a `T`.
  template <class T>
  [[nodiscard]] std::optional<T> get(std::string_view name) const {
    if (const ArgumentValue* v = find(name)) {
      if (const T* t = std::get_if<T>(v)) return *t;
    }
    return std::nullopt;
  }
  friend bool operator==(const Args&, const Args&) = default;
};

}  // namespace ostrel
