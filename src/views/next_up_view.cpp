#include "views/next_up_view.hpp"

#include <limits>

#include "components/code.hpp"
#include "components/ground.hpp"
#include "components/heading.hpp"
#include "components/keys.hpp"
#include "components/note.hpp"
#include "components/when.hpp"

namespace ostrel {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

}  // namespace

View NextUpView::body(const Environment& env) const {
  View face = [&] {
    if (entry.loaded.which() != Loaded::Case::feed) {
      return Note{.heading = "Next up", .loaded = entry.loaded}.view(env);
    }
    if (family == WidgetFamily::systemMedium) {
      std::vector<View> columns{main(env)};
      if (!entry.later().empty()) {
        columns.push_back(Divider());
        columns.push_back(laterList(env).frame(kInfinity, std::nullopt, Alignment::topLeading));
      }
      return HStack(VerticalAlignment::top, 14, std::move(columns));
    }
    return main(env);
  }();
  return ostrelBackground(Group(moved(std::move(face))), env);
}

View NextUpView::main(const Environment& env) const {
  std::vector<View> lines;
  if (const ClassItem* c = entry.next()) {
    const bool started = !(entry.date < c->start);
    View time = started ? Text::localized(keys::ends, {env.formatter()->time(c->end)})
                        : When{.date = c->start, .now = entry.date}.view(env);
    lines.push_back(Heading{.text = started ? "On now" : "Next up", .trailing = std::nullopt}.view(env));
    lines.push_back(Spacer(2));
    lines.push_back(Code{.unit = c->unit, .color = c->color, .size = 11}.view(env));
    lines.push_back(Text::verbatim(c->title).font(Font::system(15, Font::Weight::semibold)).lineLimit(1));
    lines.push_back(Group(moved(std::move(time)))
                        .font(Font::system(20, Font::Weight::medium))
                        .monospacedDigit()
                        .lineLimit(1)
                        .minimumScaleFactor(0.7));
    if (c->where) {
      lines.push_back(
          Text::verbatim(*c->where).font(Font::system(10)).foregroundStyle(Style::secondary()).lineLimit(1));
    }
  } else {
    lines.push_back(Heading{.text = "Next up", .trailing = std::nullopt}.view(env));
    lines.push_back(Spacer(0));
    lines.push_back(Text::localized(keys::noClassThisWeek).font(Font::system(13, Font::Weight::semibold)));
    if (const auto week = entry.week()) {
      lines.push_back(Text::verbatim(*week).font(Font::system(11)).foregroundStyle(Style::secondary()));
    }
  }
  return VStack(HorizontalAlignment::leading, 3, std::move(lines))
      .frame(kInfinity, kInfinity, Alignment::topLeading);
}

View NextUpView::laterList(const Environment& env) const {
  std::vector<View> rows;
  for (const ClassItem& c : entry.later()) {
    rows.push_back(VStack(
        HorizontalAlignment::leading, 1,
        moved(
            HStack(VerticalAlignment::center, 5,
                   moved(Code{.unit = c.unit, .color = c.color, .size = 10}.view(env),
                         Text::verbatim(c.title).font(Font::system(11, Font::Weight::medium)).lineLimit(1))),
            Text::date(c.start, Text::DateFields::weekdayTime, env)
                .font(Font::system(10))
                .foregroundStyle(Style::secondary()))));
  }
  return VStack(HorizontalAlignment::leading, 8,
                moved(Heading{.text = "Later", .trailing = entry.week()}.view(env), ForEach(std::move(rows)),
                      Spacer(0)));
}

View NextUpView::view(const Environment& env) const {
  return Composite("NextUpView",
                   {{{"date", entry.date.sinceEpoch},
                     {"loaded", std::string(name(entry.loaded.which()))},
                     {"family", std::string(name(family))}}},
                   body(env));
}

}  // namespace ostrel
