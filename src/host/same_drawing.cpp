#include "host/same_drawing.hpp"

#include <algorithm>

namespace ostrel {
namespace {

bool sameViews(const std::vector<View>& a, const std::vector<View>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameDrawing);
}

}  // namespace

bool sameDrawing(const View& a, const View& b) {
  if (a.type != b.type || a.composite != b.composite || a.text != b.text) return false;
  if (!a.composite && !(a.args == b.args)) return false;
  if (a.modifiers.size() != b.modifiers.size()) return false;
  for (std::size_t i = 0; i < a.modifiers.size(); ++i) {
    const Modifier& m = a.modifiers[i];
    const Modifier& n = b.modifiers[i];
    if (m.name != n.name || !(m.args == n.args) || !sameViews(m.content, n.content)) return false;
  }
  return sameViews(a.children, b.children);
}

}  // namespace ostrel
