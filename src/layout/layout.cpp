// The layout engine.
//
// Rules, in the order they are applied:
//
//  1. Flattening. Composites and `AnyView` are replaced by their body; `Group` and `ForEach` by
//     their children, in order, so that a group's children become children of the enclosing stack.
//     The modifiers of a replaced node are appended (as outer modifiers) to each node that replaces
//     it. A group with no children leaves nothing; several nodes where one view is expected (the
//     root, a background's content) are laid out as a centred ZStack.
//  2. Environment. `font`, `tracking`, `monospacedDigit`, `lineLimit`, `minimumScaleFactor` and
//     `foregroundStyle` apply to the node they modify and everything below it; the modifier nearest
//     the node wins. `foregroundStyle(.secondary)` resolves against the style in force above it: the
//     host's secondary colour when none (or the primary colour) is set, otherwise that colour at half
//     opacity. `fill` colours the shape it modifies; a shape without one is filled with the
//     foreground colour. These modifiers take no part in sizing.
//  3. Proposals are per axis: absent (the ideal size), 0, a length or infinity. Every view reports a
//     size for a proposal; placement proposes the same values again and gives each view its origin.
//  4. Stacks (HStack along x, VStack along y). The stack's spacing separates each adjacent pair.
//     With no proposal along the major axis every child is proposed none there. Otherwise:
//     a. available = proposal − Σ spacing;
//     b. spacers come after every other child; within each of the two groups children go least
//        flexible first, flexibility being the major length for an infinite proposal minus the length
//        for a zero proposal (both with the stack's minor proposal); two infinitely flexible children
//        go larger minimum first; the order is otherwise stable;
//     c. while the other children are sized, the spacers' minimum lengths are held back; each child
//        in order is proposed max(remaining ÷ children left in its group, 0) and its choice is
//        final, even when it overflows;
//     d. the stack's major length is Σ children + Σ spacing, its minor length the largest child's;
//        children are placed in their original order and aligned on the minor axis by the stack's
//        alignment.
//  5. ZStack: every child is proposed the stack's proposal; the stack takes, per axis, the largest
//     child; children are aligned on its alignment and drawn in order.
//  6. Spacer: along its stack's axis max(proposal, minLength) (minLength when no proposal), 0 across
//     it; outside a stack that rule on both axes.
//  7. Divider: across its stack's minor axis. In an HStack it is one pixel wide and as tall as
//     proposed; in a VStack or outside a stack one pixel tall and as wide as proposed. With no
//     proposal the long side is one pixel too.
//  8. Shapes, `Color` and `RadialGradient` take the whole proposal; with none they are 10 × 10.
//     A circle is drawn inscribed and centred in its frame.
//  9. Text: with no width proposal (or an infinite one) its natural size, each paragraph on one line.
//     When a finite width is smaller: a text limited to one line shrinks its font down to its
//     minimum scale factor until it fits; then, if it still does not fit, it is cut at the width with
//     a trailing "…" (a line limit above one cuts the last allowed line); a text without a line limit
//     wraps at the width. A cut text never reports more than the proposed width.
// 10. frame(width:height:): reports exactly its size and proposes it to the child, which it places
//     by the frame's alignment. A negative or NaN length counts as 0.
// 11. frame(maxWidth:maxHeight:alignment:): per axis with a maximum, the child is proposed
//     min(proposal, maximum) (none stays none) and the frame reports min(max(proposal, child),
//     maximum), so an infinite maximum fills the proposal; with no proposal, min(child, maximum).
//     An axis without a maximum passes the proposal on and reports the child's length.
// 12. padding: the proposal is inset (none stays none, never below 0); the size is the child's plus
//     the insets; the child is offset by the leading and top insets. `padding()` is 16 on all edges.
// 13. background: the modified view's size is unchanged; the background is proposed that size,
//     aligned in it and drawn behind it (outer backgrounds behind inner ones).
// 14. containerBackground: no effect on the layout of the view; the host draws its content over the
//     whole widget (`layoutWidget`).
//
// Known deviations from the framework:
//  - Frames are not rounded to the pixel grid; text is placed at fractional positions.
//  - Spacing between two texts is always the stack's explicit spacing (there is no default spacing
//    derived from font metrics; every stack here is given one).
//  - Alignment is by frame edges and centres, not by alignment guides (no text baselines).
//  - Layout runs left to right also for right-to-left text; the text itself is shaped in its own
//    direction by the measurer.
//  - Text ignores the height proposal: it never drops lines or shrinks to fit a height, and a
//    multi-line text does not shrink by its minimum scale factor.
//  - A divider is one pixel at every text size.

#include "layout/layout.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unordered_map>
#include <utility>

#include "base/overloaded.hpp"

namespace ostrel::layout {

namespace {

enum class Axis { none, horizontal, vertical };

struct Env {
  TextStyle text;
  std::optional<Color> foreground;
  std::optional<Color> fill;
};

struct Node;

struct LayoutModifier {
  enum class Kind { fixedFrame, flexFrame, padding, background };
  Kind kind = Kind::padding;
  double width = 0, height = 0;               // fixed frame
  std::optional<double> maxWidth, maxHeight;  // flexible frame
  Alignment alignment = Alignment::center;
  double top = 0, leading = 0, bottom = 0, trailing = 0;
  std::vector<Node> content;
};

struct Node {
  Placed::Kind kind = Placed::Kind::empty;
  std::string type;
  Axis axis = Axis::none;        // a stack's own axis
  Axis parentAxis = Axis::none;  // the axis of the stack this node is a child of
  double spacing = 0;
  Alignment alignment = Alignment::center;
  double minLength = 0;
  Env env;
  std::string text;
  double cornerRadius = 0;
  std::vector<Color> colors;
  UnitPoint center;
  double startRadius = 0, endRadius = 0;
  std::vector<LayoutModifier> modifiers;  // inner first
  std::vector<Node> children;
};

/// A length argument: absent gives the default, negative and NaN give 0.
double lengthOr(std::optional<double> v, double fallback) {
  const double x = v.value_or(fallback);
  return x >= 0 ? x : 0;
}

Color secondaryOver(const std::optional<Color>& base) {
  if (!base || base->kind == Color::Kind::primary) return Color::secondary();
  return base->withOpacity(0.5);
}

/// The environment modifiers (rule 2); the others shape the layout.
struct EnvironmentModifier {
  Env& env;
  void operator()(const modifier::Font& m) const { env.text.font = m.font; }
  void operator()(const modifier::Tracking& m) const { env.text.tracking = m.points; }
  void operator()(const modifier::MonospacedDigit&) const { env.text.monospacedDigit = true; }
  void operator()(const modifier::LineLimit& m) const { env.text.lineLimit = m.lines; }
  void operator()(const modifier::MinimumScaleFactor& m) const { env.text.minimumScaleFactor = m.factor; }
  void operator()(const modifier::ForegroundStyle& m) const {
    env.foreground =
        m.style.kind == Style::Kind::hierarchicalSecondary ? secondaryOver(env.foreground) : m.style.color;
  }
  void operator()(const modifier::Fill& m) const { env.fill = m.color; }
};

/// A negative or NaN length counts as 0.
double nonNegative(double v) {
  return v >= 0 ? v : 0;
}
std::optional<double> nonNegative(std::optional<double> v) {
  if (v) return nonNegative(*v);
  return v;
}

class Normaliser {
 public:
  explicit Normaliser(const Options& options) : options_(options) {}

  /// The nodes that `view` stands for (rule 1).
  void run(const View& view, std::vector<const Modifier*> outer, const Env& inherited, Axis parentAxis,
           std::vector<Node>& out) const {
    std::vector<const Modifier*> all;
    all.reserve(view.modifiers.size() + outer.size());
    for (const Modifier& m : view.modifiers) all.push_back(&m);
    all.insert(all.end(), outer.begin(), outer.end());
    const auto replaced = [&] {
      for (const View& child : view.children) run(child, all, inherited, parentAxis, out);
    };
    const auto shape = [&](Placed::Kind kind) -> Node& {
      out.push_back(primitive(view, all, inherited, parentAxis));
      out.back().kind = kind;
      return out.back();
    };
    const auto stack = [&](Axis axis, double spacing) -> Node& {
      Node& n = shape(Placed::Kind::stack);
      n.axis = axis;
      n.spacing = nonNegative(spacing);
      for (const View& child : view.children) run(child, {}, n.env, axis, n.children);
      return n;
    };
    std::visit(Overloaded{
                   [&](const viewtype::Composite&) { replaced(); },
                   [&](const viewtype::AnyView&) { replaced(); },
                   [&](const viewtype::Group&) { replaced(); },
                   [&](const viewtype::ForEach&) { replaced(); },
                   [&](const viewtype::HStack& t) {
                     stack(Axis::horizontal, t.spacing).alignment.vertical = t.alignment;
                   },
                   [&](const viewtype::VStack& t) {
                     stack(Axis::vertical, t.spacing).alignment.horizontal = t.alignment;
                   },
                   [&](const viewtype::ZStack& t) {
                     Node& n = shape(Placed::Kind::zstack);
                     n.alignment = t.alignment;
                     for (const View& child : view.children) run(child, {}, n.env, Axis::none, n.children);
                   },
                   [&](const viewtype::Text& t) { shape(Placed::Kind::text).text = t.content.shown; },
                   [&](const viewtype::Spacer& t) {
                     shape(Placed::Kind::spacer).minLength = nonNegative(t.minLength);
                   },
                   [&](const viewtype::Divider&) { shape(Placed::Kind::divider); },
                   [&](const viewtype::Circle&) { shape(Placed::Kind::circle); },
                   [&](const viewtype::RoundedRectangle& t) {
                     shape(Placed::Kind::roundedRectangle).cornerRadius = nonNegative(t.cornerRadius);
                   },
                   [&](const viewtype::Color& t) { shape(Placed::Kind::color).env.fill = t.color; },
                   [&](const viewtype::RadialGradient& t) {
                     Node& n = shape(Placed::Kind::gradient);
                     n.colors = t.colors;
                     n.center = t.center;
                     n.startRadius = t.startRadius;
                     n.endRadius = t.endRadius;
                   },
               },
               view.type);
  }

  /// One node for `view`: several become a centred ZStack, none an empty node.
  [[nodiscard]] Node single(const View& view, const Env& inherited) const {
    std::vector<Node> nodes;
    run(view, {}, inherited, Axis::none, nodes);
    return wrap(std::move(nodes), inherited);
  }

  [[nodiscard]] static Node wrap(std::vector<Node> nodes, const Env& env) {
    if (nodes.size() == 1) return std::move(nodes.front());
    Node z;
    z.kind = nodes.empty() ? Placed::Kind::empty : Placed::Kind::zstack;
    z.type = nodes.empty() ? "Empty" : "ZStack";
    z.env = env;
    z.children = std::move(nodes);
    return z;
  }

 private:
  Node primitive(const View& view, const std::vector<const Modifier*>& modifiers, const Env& inherited,
                 Axis parentAxis) const {
    Node n;
    n.type = name(view.type);
    n.parentAxis = parentAxis;
    Env env = inherited;
    // Outermost first, so that the modifier nearest the node is applied last (rule 2).
    std::vector<LayoutModifier> reversed;
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
      std::visit(Overloaded{
                     EnvironmentModifier{env},
                     [&reversed](const modifier::Frame& m) { reversed.push_back(fixedFrame(m)); },
                     [&reversed](const modifier::FlexibleFrame& m) { reversed.push_back(flexibleFrame(m)); },
                     [&](const modifier::Padding& m) { reversed.push_back(padding(m)); },
                     [&](const modifier::Background& m) {
                       LayoutModifier b;
                       b.kind = LayoutModifier::Kind::background;
                       b.alignment = m.alignment;
                       for (const View& content : m.content) b.content.push_back(single(content, env));
                       reversed.push_back(std::move(b));
                     },
                     // Drawn by the host over the whole widget (rule 14).
                     [](const modifier::ContainerBackground&) {},
                 },
                 **it);
    }
    n.modifiers.assign(std::make_move_iterator(reversed.rbegin()), std::make_move_iterator(reversed.rend()));
    n.env = env;
    return n;
  }

  static LayoutModifier fixedFrame(const modifier::Frame& m) {
    LayoutModifier f;
    f.kind = LayoutModifier::Kind::fixedFrame;
    f.alignment = m.alignment;
    f.width = nonNegative(m.width);
    f.height = nonNegative(m.height);
    return f;
  }

  static LayoutModifier flexibleFrame(const modifier::FlexibleFrame& m) {
    LayoutModifier f;
    f.kind = LayoutModifier::Kind::flexFrame;
    f.alignment = m.alignment;
    f.maxWidth = nonNegative(m.maxWidth);
    f.maxHeight = nonNegative(m.maxHeight);
    return f;
  }

  [[nodiscard]] LayoutModifier padding(const modifier::Padding& m) const {
    LayoutModifier p;
    p.kind = LayoutModifier::Kind::padding;
    const double length = lengthOr(m.length, options_.defaultPadding);
    const Edges edges = m.edges;
    const bool h = edges == Edges::all || edges == Edges::horizontal;
    const bool v = edges == Edges::all || edges == Edges::vertical;
    p.top = (v || edges == Edges::top) ? length : 0;
    p.bottom = (v || edges == Edges::bottom) ? length : 0;
    p.leading = (h || edges == Edges::leading) ? length : 0;
    p.trailing = (h || edges == Edges::trailing) ? length : 0;
    return p;
  }

  const Options& options_;
};

// --- Sizing and placement -------------------------------------------------------------------------

double& major(Size& s, Axis a) {
  return a == Axis::horizontal ? s.width : s.height;
}
double major(const Size& s, Axis a) {
  return a == Axis::horizontal ? s.width : s.height;
}
double minor(const Size& s, Axis a) {
  return a == Axis::horizontal ? s.height : s.width;
}
std::optional<double> major(const Proposal& p, Axis a) {
  return a == Axis::horizontal ? p.width : p.height;
}
std::optional<double> minor(const Proposal& p, Axis a) {
  return a == Axis::horizontal ? p.height : p.width;
}
Proposal along(Axis a, std::optional<double> majorLength, std::optional<double> minorLength) {
  return a == Axis::horizontal ? Proposal{majorLength, minorLength} : Proposal{minorLength, majorLength};
}

/// Offset of a length inside a container by an alignment factor (0, ½, 1); nothing when infinite.
double offset(double container, double child, double factor) {
  const double d = (container - child) * factor;
  return std::isfinite(d) ? d : 0;
}
double factor(HorizontalAlignment h) {
  return h == HorizontalAlignment::leading ? 0 : h == HorizontalAlignment::center ? 0.5 : 1;
}
double factor(VerticalAlignment v) {
  return v == VerticalAlignment::top ? 0 : v == VerticalAlignment::center ? 0.5 : 1;
}

/// A proposal capped at a maximum (none stays none).
std::optional<double> capped(std::optional<double> p, std::optional<double> maximum) {
  if (!p || !maximum) return p;
  return std::min(*p, *maximum);
}

/// The length a flexible frame reports on one axis (rule 11).
double flexLength(std::optional<double> p, double child, std::optional<double> maximum) {
  if (!maximum) return child;
  if (!p) return std::min(child, *maximum);
  return std::min(std::max(*p, child), *maximum);
}

std::optional<double> inset(std::optional<double> p, double amount) {
  if (!p) return p;
  return std::max(*p - amount, 0.0);
}

struct Key {
  const Node* node;
  std::size_t layer;
  double width, height;  // −1 for no proposal
  bool operator==(const Key&) const = default;
};
struct KeyHash {
  std::size_t operator()(const Key& k) const {
    std::size_t h = std::hash<const void*>{}(k.node);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(k.layer);
    mix(std::hash<double>{}(k.width));
    mix(std::hash<double>{}(k.height));
    return h;
  }
};

struct Division {
  std::vector<Proposal> proposals;
  std::vector<Size> sizes;
  Size total;
};

class Engine {
 public:
  Engine(const TextMeasurer& measurer, const Options& options) : measurer_(measurer), options_(options) {}

  Size size(const Node& n, Proposal p) { return size(n, n.modifiers.size(), p); }

  Placed place(const Node& n, double x, double y, Proposal p) {
    Placed out;
    placeLayer(n, n.modifiers.size(), x, y, p, out);
    out.bounds = Rect{x, y, 0, 0};
    const Size s = size(n, p);
    out.bounds.width = s.width;
    out.bounds.height = s.height;
    std::reverse(out.behind.begin(), out.behind.end());
    return out;
  }

 private:
  Size size(const Node& n, std::size_t layer, Proposal p) {
    const Key key{&n, layer, p.width.value_or(-1), p.height.value_or(-1)};
    if (auto it = cache_.find(key); it != cache_.end()) return it->second;
    const Size s = layer == 0 ? primitiveSize(n, p) : modifierSize(n, layer, p);
    cache_.emplace(key, s);
    return s;
  }

  Size modifierSize(const Node& n, std::size_t layer, Proposal p) {
    const LayoutModifier& m = n.modifiers[layer - 1];
    switch (m.kind) {
      case LayoutModifier::Kind::fixedFrame:
        return Size{m.width, m.height};
      case LayoutModifier::Kind::flexFrame: {
        const Size c = size(n, layer - 1, flexChildProposal(m, p));
        return Size{flexLength(p.width, c.width, m.maxWidth), flexLength(p.height, c.height, m.maxHeight)};
      }
      case LayoutModifier::Kind::padding: {
        const Size c = size(n, layer - 1, paddedProposal(m, p));
        return Size{c.width + m.leading + m.trailing, c.height + m.top + m.bottom};
      }
      case LayoutModifier::Kind::background:
        return size(n, layer - 1, p);
    }
    return {};
  }

  static Proposal fixedChildProposal(const LayoutModifier& m) { return Proposal{m.width, m.height}; }
  static Proposal flexChildProposal(const LayoutModifier& m, Proposal p) {
    return Proposal{capped(p.width, m.maxWidth), capped(p.height, m.maxHeight)};
  }
  static Proposal paddedProposal(const LayoutModifier& m, Proposal p) {
    return Proposal{inset(p.width, m.leading + m.trailing), inset(p.height, m.top + m.bottom)};
  }

  Size primitiveSize(const Node& n, Proposal p) {
    switch (n.kind) {
      case Placed::Kind::stack:
        return divide(n, p).total;
      case Placed::Kind::zstack:
        return zstackSize(n, p);
      case Placed::Kind::text:
        return fitText(measurer_, n.text, n.env.text, p.width).size;
      case Placed::Kind::spacer: {
        auto length = [&n](std::optional<double> q) {
          return std::max(q.value_or(n.minLength), n.minLength);
        };
        if (n.parentAxis == Axis::horizontal) return Size{length(p.width), 0};
        if (n.parentAxis == Axis::vertical) return Size{0, length(p.height)};
        return Size{length(p.width), length(p.height)};
      }
      case Placed::Kind::divider: {
        const double t = options_.pixelLength;
        if (n.parentAxis == Axis::horizontal) return Size{t, p.height.value_or(t)};
        return Size{p.width.value_or(t), t};
      }
      case Placed::Kind::circle:
      case Placed::Kind::roundedRectangle:
      case Placed::Kind::color:
      case Placed::Kind::gradient:
        return Size{p.width.value_or(10), p.height.value_or(10)};
      case Placed::Kind::empty:
        return {};
    }
    return {};
  }

  Size zstackSize(const Node& n, Proposal p) {
    Size s;
    for (const Node& c : n.children) {
      const Size cs = size(c, p);
      s.width = std::max(s.width, cs.width);
      s.height = std::max(s.height, cs.height);
    }
    return s;
  }

  /// Rule 4.
  Division divide(const Node& n, Proposal p) {
    const Axis a = n.axis;
    const std::size_t count = n.children.size();
    Division d;
    d.proposals.resize(count);
    d.sizes.resize(count);
    const double spacing = count > 1 ? n.spacing * static_cast<double>(count - 1) : 0;
    const std::optional<double> minorProposal = minor(p, a);
    const std::optional<double> majorProposal = major(p, a);
    if (!majorProposal) {
      for (std::size_t i = 0; i < count; ++i) {
        d.proposals[i] = along(a, std::nullopt, minorProposal);
        d.sizes[i] = size(n.children[i], d.proposals[i]);
      }
    } else {
      struct Item {
        std::size_t index;
        int group;  // 0, or 1 for a spacer
        double flexibility, minimum;
      };
      std::vector<Item> items;
      items.reserve(count);
      for (std::size_t i = 0; i < count; ++i) {
        const Node& c = n.children[i];
        const double lo = major(size(c, along(a, 0.0, minorProposal)), a);
        const double hi = major(size(c, along(a, infinity, minorProposal)), a);
        const double flex = std::isfinite(lo) ? hi - lo : 0;
        items.push_back(Item{i, c.kind == Placed::Kind::spacer ? 1 : 0, flex, lo});
      }
      std::stable_sort(items.begin(), items.end(), [](const Item& x, const Item& y) {
        if (x.group != y.group) return x.group < y.group;
        if (std::isinf(x.flexibility) && std::isinf(y.flexibility)) return x.minimum > y.minimum;
        return x.flexibility < y.flexibility;
      });
      double remaining = *majorProposal - spacing;
      for (std::size_t start = 0; start < items.size();) {
        std::size_t end = start;
        while (end < items.size() && items[end].group == items[start].group) ++end;
        double heldBack = 0;
        for (std::size_t j = end; j < items.size(); ++j) heldBack += items[j].minimum;
        double groupRemaining = remaining - heldBack;
        for (std::size_t j = start; j < end; ++j) {
          const double left = static_cast<double>(end - j);
          const double share = std::isinf(groupRemaining) ? groupRemaining : groupRemaining / left;
          const std::size_t i = items[j].index;
          d.proposals[i] = along(a, std::max(share, 0.0), minorProposal);
          d.sizes[i] = size(n.children[i], d.proposals[i]);
          const double chosen = major(d.sizes[i], a);
          if (!std::isinf(groupRemaining)) groupRemaining -= chosen;
          if (!std::isinf(remaining)) remaining -= chosen;
        }
        start = end;
      }
    }
    Size total;
    major(total, a) = spacing;
    double minorLength = 0;
    for (const Size& s : d.sizes) {
      major(total, a) += major(s, a);
      minorLength = std::max(minorLength, minor(s, a));
    }
    if (a == Axis::horizontal) {
      total.height = minorLength;
    } else {
      total.width = minorLength;
    }
    d.total = total;
    return d;
  }

  void placeLayer(const Node& n, std::size_t layer, double x, double y, Proposal p, Placed& out) {
    if (layer == 0) {
      placePrimitive(n, x, y, p, out);
      return;
    }
    const LayoutModifier& m = n.modifiers[layer - 1];
    switch (m.kind) {
      case LayoutModifier::Kind::fixedFrame:
      case LayoutModifier::Kind::flexFrame: {
        const Size r = size(n, layer, p);
        const Proposal cp =
            m.kind == LayoutModifier::Kind::fixedFrame ? fixedChildProposal(m) : flexChildProposal(m, p);
        const Size c = size(n, layer - 1, cp);
        placeLayer(n, layer - 1, x + offset(r.width, c.width, factor(m.alignment.horizontal)),
                   y + offset(r.height, c.height, factor(m.alignment.vertical)), cp, out);
        return;
      }
      case LayoutModifier::Kind::padding:
        placeLayer(n, layer - 1, x + m.leading, y + m.top, paddedProposal(m, p), out);
        return;
      case LayoutModifier::Kind::background: {
        placeLayer(n, layer - 1, x, y, p, out);
        const Size r = size(n, layer - 1, p);
        const Proposal rp{r.width, r.height};
        for (const Node& content : m.content) {
          const Size c = size(content, rp);
          out.behind.push_back(place(content, x + offset(r.width, c.width, factor(m.alignment.horizontal)),
                                     y + offset(r.height, c.height, factor(m.alignment.vertical)), rp));
        }
        return;
      }
    }
  }

  void placePrimitive(const Node& n, double x, double y, Proposal p, Placed& out) {
    out.kind = n.kind;
    out.type = n.type;
    const Size s = size(n, 0, p);
    out.frame = Rect{x, y, s.width, s.height};
    out.color = n.env.fill.value_or(n.env.foreground.value_or(Color::primary()));
    switch (n.kind) {
      case Placed::Kind::text:
        out.color = n.env.foreground.value_or(Color::primary());
        out.text = n.text;
        out.textStyle = n.env.text;
        out.fit = fitText(measurer_, n.text, n.env.text, p.width);
        break;
      case Placed::Kind::divider:
        out.dividerColor = true;
        break;
      case Placed::Kind::roundedRectangle:
        out.cornerRadius = n.cornerRadius;
        break;
      case Placed::Kind::gradient:
        out.colors = n.colors;
        out.center = n.center;
        out.startRadius = n.startRadius;
        out.endRadius = n.endRadius;
        break;
      case Placed::Kind::stack: {
        const Axis a = n.axis;
        const Division d = divide(n, p);
        double cursor = a == Axis::horizontal ? x : y;
        for (std::size_t i = 0; i < n.children.size(); ++i) {
          const Size& cs = d.sizes[i];
          double cx = 0, cy = 0;
          if (a == Axis::horizontal) {
            cx = cursor;
            cy = y + offset(s.height, cs.height, factor(n.alignment.vertical));
          } else {
            cx = x + offset(s.width, cs.width, factor(n.alignment.horizontal));
            cy = cursor;
          }
          out.children.push_back(place(n.children[i], cx, cy, d.proposals[i]));
          cursor += major(cs, a) + n.spacing;
        }
        break;
      }
      case Placed::Kind::zstack:
        for (const Node& c : n.children) {
          const Size cs = size(c, p);
          out.children.push_back(place(c, x + offset(s.width, cs.width, factor(n.alignment.horizontal)),
                                       y + offset(s.height, cs.height, factor(n.alignment.vertical)), p));
        }
        break;
      default:
        break;
    }
  }

  const TextMeasurer& measurer_;
  const Options& options_;
  std::unordered_map<Key, Size, KeyHash> cache_;
};

const modifier::ContainerBackground* findContainerBackground(const View& view) {
  for (const Modifier& m : view.modifiers) {
    if (const auto* c = std::get_if<modifier::ContainerBackground>(&m)) return c;
  }
  for (const View& child : view.children) {
    if (const auto* c = findContainerBackground(child)) return c;
  }
  return nullptr;
}

}  // namespace

Size sizeThatFits(const View& view, Proposal proposal, const TextMeasurer& measurer, Options options) {
  const Node root = Normaliser(options).single(view, Env{});
  return Engine(measurer, options).size(root, proposal);
}

Placed layout(const View& view, Rect bounds, const TextMeasurer& measurer, Options options) {
  const Node root = Normaliser(options).single(view, Env{});
  return Engine(measurer, options).place(root, bounds.x, bounds.y, Proposal{bounds.width, bounds.height});
}

bool hasContainerBackground(const View& view) {
  return findContainerBackground(view) != nullptr;
}

Placed layoutWidget(const View& view, Rect canvas, double margin, const TextMeasurer& measurer,
                    Options options) {
  Placed out;
  out.kind = Placed::Kind::zstack;
  out.type = "Widget";
  out.frame = out.bounds = canvas;
  const modifier::ContainerBackground* container = findContainerBackground(view);
  Rect content = canvas;
  if (container) {
    const Normaliser normaliser(options);
    std::vector<Node> nodes;
    for (const View& v : container->content) nodes.push_back(normaliser.single(v, Env{}));
    const Node ground = Normaliser::wrap(std::move(nodes), Env{});
    out.children.push_back(
        Engine(measurer, options).place(ground, canvas.x, canvas.y, Proposal{canvas.width, canvas.height}));
    const double m = std::clamp(margin, 0.0, std::min(canvas.width, canvas.height) / 2);
    content = Rect{canvas.x + m, canvas.y + m, canvas.width - 2 * m, canvas.height - 2 * m};
  }
  // The host centres content that does not fill its area.
  const Node root = Normaliser(options).single(view, Env{});
  Engine engine(measurer, options);
  const Proposal p{content.width, content.height};
  const Size s = engine.size(root, p);
  out.children.push_back(engine.place(root, content.x + offset(content.width, s.width, 0.5),
                                      content.y + offset(content.height, s.height, 0.5), p));
  return out;
}

}  // namespace ostrel::layout
