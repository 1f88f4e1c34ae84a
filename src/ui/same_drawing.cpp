#include "ui/same_drawing.hpp"

#include <algorithm>

namespace ostrel {
namespace {

bool sameViews(const std::vector<View>& a, const std::vector<View>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameDrawing);
}

/// The same modifier, its content views compared as drawings.
template <class Holding>
bool sameHolding(const Modifier& m, const Modifier& n) {
  const Holding& a = std::get<Holding>(m);
  const Holding& b = std::get<Holding>(n);
  return a.alignment == b.alignment && sameViews(a.content, b.content);
}

bool sameModifier(const Modifier& m, const Modifier& n) {
  if (m.index() != n.index()) return false;
  if (std::holds_alternative<modifier::Background>(m)) return sameHolding<modifier::Background>(m, n);
  if (std::holds_alternative<modifier::ContainerBackground>(m)) {
    return sameHolding<modifier::ContainerBackground>(m, n);
  }
  return m == n;
}

/// The same type: composites by name alone, primitives whole.
bool sameType(const ViewType& a, const ViewType& b) {
  const auto* x = std::get_if<viewtype::Composite>(&a);
  const auto* y = std::get_if<viewtype::Composite>(&b);
  if (x && y) return x->name == y->name;
  return a == b;
}

}  // namespace

bool sameDrawing(const View& a, const View& b) {
  if (!sameType(a.type, b.type)) return false;
  if (!std::equal(a.modifiers.begin(), a.modifiers.end(), b.modifiers.begin(), b.modifiers.end(),
                  sameModifier)) {
    return false;
  }
  return sameViews(a.children, b.children);
}

}  // namespace ostrel
