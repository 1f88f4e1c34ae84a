#include "desktop/placement.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace ostrel::desktop {

namespace {
constexpr std::array<std::pair<Corner, const char*>, 4> kNames{{
    {Corner::topLeft, "top-left"},
    {Corner::topRight, "top-right"},
    {Corner::bottomLeft, "bottom-left"},
    {Corner::bottomRight, "bottom-right"},
}};
}  // namespace

const char* name(Corner corner) {
  for (const auto& [c, text] : kNames) {
    if (c == corner) return text;
  }
  return "top-right";
}

std::optional<Corner> cornerNamed(std::string_view text) {
  for (const auto& [c, name] : kNames) {
    if (text == name) return c;
  }
  return std::nullopt;
}

std::optional<int> monitorIndex(std::string_view choice, const std::vector<std::string>& connectors) {
  for (std::size_t i = 0; i < connectors.size(); ++i) {
    if (connectors[i] == choice) return static_cast<int>(i);
  }
  if (choice.empty() || choice.size() > 3) return std::nullopt;
  int n = 0;
  for (char c : choice) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n >= static_cast<int>(connectors.size())) return std::nullopt;
  return n;
}

std::vector<Inset> insets(const Placement& placement, const std::vector<Size>& sizes) {
  std::vector<Inset> out;
  out.reserve(sizes.size());
  int along = placement.margin;
  for (const Size& s : sizes) {
    out.push_back(Inset{.vertical = along, .horizontal = placement.margin});
    along += s.height + placement.gap;
  }
  return out;
}

std::vector<Box> arrange(const Placement& placement, Box area, const std::vector<Size>& sizes) {
  const std::vector<Inset> in = insets(placement, sizes);
  std::vector<Box> out;
  out.reserve(sizes.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const Size s = sizes[i];
    const int x = isLeft(placement.corner) ? area.x + in[i].horizontal
                                           : area.x + area.width - in[i].horizontal - s.width;
    const int y =
        isTop(placement.corner) ? area.y + in[i].vertical : area.y + area.height - in[i].vertical - s.height;
    out.push_back(Box{.x = x, .y = y, .width = s.width, .height = s.height});
  }
  return out;
}

Inset insetAt(Corner corner, Box monitor, Size size, Point at) {
  const int roomX = std::max(monitor.width - size.width, 0),
            roomY = std::max(monitor.height - size.height, 0);
  const int x = std::clamp(at.x - monitor.x, 0, roomX), y = std::clamp(at.y - monitor.y, 0, roomY);
  return Inset{.vertical = isTop(corner) ? y : roomY - y, .horizontal = isLeft(corner) ? x : roomX - x};
}

Point pointAt(Corner corner, Box monitor, Size size, Inset inset) {
  const int x = isLeft(corner) ? inset.horizontal : monitor.width - size.width - inset.horizontal;
  const int y = isTop(corner) ? inset.vertical : monitor.height - size.height - inset.vertical;
  return Point{.x = monitor.x + x, .y = monitor.y + y};
}

}  // namespace ostrel::desktop
