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
inline constexpr double kHour = 3'600;

/// The environment the faces are drawn in: English, UTC, the given family and scheme.
inline Environment faceEnvironment(WidgetFamily family, ColorScheme scheme = ColorScheme::light) {
  return Environment{.widgetFamily = family,
                     .colorScheme = scheme,
                     .systemVersion = {},
                     .locale = "en_US",
                     .timeZone = "UTC"};
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

inline const UnitColor kAmed{.light = "#4D7812", .dark = "#A0DF49"};

inline ClassItem lesson(std::string unit, std::string title, std::optional<std::string> where, Date start,
                        double hours, std::optional<UnitColor> color = UnitColor{"#A91991", "#EA86D9"}) {
  return {.unit = std::move(unit),
          .title = std::move(title),
          .where = std::move(where),
          .start = start,
          .end = start + hours * kHour,
          .color = std::move(color)};
}

inline DueItem deadline(std::string unit, std::string name, Date due, std::optional<double> weight) {
  return {.unit = std::move(unit), .name = std::move(name), .due = due, .weight = weight, .color = kAmed};
}

/// A feed at `kNow` in week 10 with three cards due.
inline Loaded feedOf(std::optional<std::vector<ClassItem>> classes, std::optional<std::vector<DueItem>> due) {
  return Loaded::feed(Feed{.v = 1,
                           .enabled = true,
                           .at = kNow,
                           .week = "Week 10 of 13",
                           .classes = std::move(classes),
                           .due = std::move(due),
                           .cards = 3});
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
