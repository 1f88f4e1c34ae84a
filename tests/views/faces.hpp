#pragma once
// Feeds and instants the face tests share, the situations kept as data, and small readers of view
// trees.

#include <functional>
#include <string>
#include <vector>

#include "feed/date_rule.hpp"
#include "feed/feed_file.hpp"
#include "timeline/entry.hpp"
#include "timeline/sample.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::testing_faces {

inline constexpr Date kNow{1'772'445'600};  // Monday 2026-03-02T10:00:00Z

/// The environment the faces are drawn in: English, UTC, the given family and scheme.
inline Environment faceEnvironment(WidgetFamily family, ColorScheme scheme = ColorScheme::light) {
  return Environment{.widgetFamily = family,
                     .colorScheme = scheme,
                     .systemVersion = {},
                     .locale = "en_US",
                     .timeZone = TimeZone::utc()};
}

/// The entry of a situation kept as data: `feed` names a file under tests/data/faces/ ("sample" the
/// sample feed at `kNow`; a file that is not there loads as missing), `date` is in ISO 8601.
inline Entry situation(const std::string& feed, const std::string& date) {
  const Date at = parseDate(date).value_or(Date{});
  if (feed == "sample") return Entry{.date = at, .loaded = Loaded::feed(Sample::feed(Clock::fixed(kNow)))};
  return Entry{.date = at,
               .loaded = FeedFile::load(std::string(OSTREL_SOURCE_DIR) + "/tests/data/faces/" + feed)};
}

/// The face of the widget `kind` for `entry`.
inline View faceOf(const std::string& kind, const Entry& entry, const Environment& env) {
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    if (w.kind == kind) return w.content(entry, env);
  }
  return Group({});
}

/// Visits every node of a tree, modifiers' content included, depth first.
inline void visit(const View& v, const std::function<void(const View&)>& f) {
  f(v);
  for (const Modifier& m : v.modifiers) {
    for (const View& c : content(m)) visit(c, f);
  }
  for (const View& c : v.children) visit(c, f);
}

/// Whether a text of the tree shows `text`.
inline bool shows(const View& v, const std::string& text) {
  bool found = false;
  visit(v, [&](const View& n) { found = found || (n.text() != nullptr && n.text()->shown == text); });
  return found;
}

/// Every node of the given type.
inline std::vector<View> nodes(const View& v, const std::string& type) {
  std::vector<View> out;
  visit(v, [&](const View& n) {
    if (name(n.type) == type) out.push_back(n);
  });
  return out;
}

}  // namespace ostrel::testing_faces
