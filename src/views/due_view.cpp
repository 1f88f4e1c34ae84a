#include "views/due_view.hpp"

#include <cmath>
#include <limits>

#include "components/code.hpp"
#include "components/ground.hpp"
#include "components/heading.hpp"
#include "components/keys.hpp"
#include "components/note.hpp"
#include "components/palette.hpp"
#include "components/phrase.hpp"
#include "components/when.hpp"

namespace ostrel {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

}  // namespace

std::optional<std::string> DueView::cardText(std::int64_t cards) {
  if (cards <= 0) return std::nullopt;
  return std::to_string(cards) + (cards == 1 ? " card due" : " cards due");
}

std::optional<std::int64_t> DueView::wholePercent(double weight) {
  const double r = std::round(weight);
  // 2^63 is exact as a double; every double below it converts without overflow.
  constexpr double limit = 9'223'372'036'854'775'808.0;
  if (!std::isfinite(r) || r < -limit || r >= limit) return std::nullopt;
  return static_cast<std::int64_t>(r);
}

View DueView::body(const Environment& env) const {
  if (entry.loaded.which() != Loaded::Case::feed) {
    return ostrelBackground(Group(moved(Note{.heading = "Due soon", .loaded = entry.loaded}.view(env))), env);
  }
  std::vector<View> parts{Heading{.text = "Due soon", .trailing = cardText(entry.cards())}.view(env)};

  const Entry::Items<DueItem> due = entry.due();
  if (due.empty()) {
    parts.push_back(Spacer(0));
    parts.push_back(Text::localized(keys::nothingDue).font(Font::system(13, Font::Weight::semibold)));
    parts.push_back(Spacer(0));
  } else {
    const std::size_t n = family == WidgetFamily::systemLarge ? largeRows : otherRows;
    std::vector<View> rows;
    for (std::size_t i = 0; i < due.size() && i < n; ++i) rows.push_back(row(due[i], env));
    parts.push_back(ForEach(std::move(rows)));
  }

  if (family == WidgetFamily::systemLarge) {
    if (const ClassItem* next = entry.next()) {
      Entry::Items<ClassItem> classes{*next};
      for (const ClassItem& c : entry.later()) classes.emplace_back(c);
      classes.erase(classes.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(classes.size(), 3)),
                    classes.end());
      std::vector<View> rows;
      rows.reserve(classes.size());
      for (const ClassItem& c : classes) rows.push_back(classRow(c, env));
      parts.push_back(Divider().padding(Edges::vertical, 2));
      parts.push_back(Heading{.text = "Classes", .trailing = entry.week()}.view(env));
      parts.push_back(ForEach(std::move(rows)));
    }
  }
  parts.push_back(Spacer(0));

  View face = VStack(HorizontalAlignment::leading, 8, std::move(parts))
                  .frame(kInfinity, kInfinity, Alignment::topLeading);
  return ostrelBackground(Group(moved(std::move(face))), env);
}

View DueView::row(const DueItem& d, const Environment& env) const {
  std::vector<View> second{Code{.unit = d.unit, .color = d.color, .size = 10}.view(env)};
  if (d.weight) {
    if (const auto percent = wholePercent(*d.weight)) {
      second.push_back(Text::localized(keys::weight, {*percent})
                           .font(Font::system(10))
                           .foregroundStyle(Style::secondary()));
    }
  }
  View dueLine = d.due < entry.date
                     ? Text::localized(keys::overdue).foregroundStyle(Palette::crimson())
                     : When{.date = d.due, .now = entry.date}.view(env).foregroundStyle(
                           d.due - entry.date >= soon ? Color::secondary() : Palette::crimson());
  return HStack(
      VerticalAlignment::center, 8,
      moved(RoundedRectangle(1.5).fill(Palette::unit(d.color, env.colorScheme)).frame(3, 28),
            VStack(HorizontalAlignment::leading, 1,
                   moved(Text::verbatim(d.name).font(Font::system(12, Font::Weight::semibold)).lineLimit(1),
                         HStack(VerticalAlignment::center, 4, std::move(second)))),
            Spacer(6),
            Group(moved(std::move(dueLine)))
                .font(Font::system(11, Font::Weight::medium))
                .monospacedDigit()
                .lineLimit(1)));
}

View DueView::classRow(const ClassItem& c, const Environment& env) const {
  const std::string when = entry.date < c.start ? Phrase::until(c.start, entry.date, env) : "On now";
  return HStack(
      VerticalAlignment::center, 6,
      moved(Code{.unit = c.unit, .color = c.color, .size = 10}.view(env),
            Text::verbatim(c.title).font(Font::system(12, Font::Weight::medium)).lineLimit(1), Spacer(6),
            Text::verbatim(when)
                .font(Font::system(11, Font::Weight::medium))
                .foregroundStyle(Style::secondary())
                .monospacedDigit()));
}

View DueView::view(const Environment& env) const {
  return Composite("DueView",
                   {{{"date", entry.date.sinceEpoch},
                     {"loaded", std::string(name(entry.loaded.which()))},
                     {"family", std::string(name(family))}}},
                   body(env));
}

}  // namespace ostrel
