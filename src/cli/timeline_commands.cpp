// `timeline`, `entry`, `snapshot` and `placeholder`: the provider's operations as the host sees them,
// printed as JSON (--json) or as a table for people.

#include <cmath>
#include <ostream>
#include <sstream>

#include "cli/commands.hpp"
#include "cli/options.hpp"
#include "cli/printable.hpp"
#include "platform/json_writer.hpp"
#include "platform/ui/dump.hpp"
#include "timeline/provider.hpp"

namespace ostrel::cli {
namespace {

std::string jsonDate(Date d) {
  return JsonWriter::quoted(isoUtc(d));
}

template <class T, class F>
std::string jsonOptional(const std::optional<T>& v, F&& f) {
  return v ? f(*v) : std::string("null");
}

std::string jsonClass(const ClassItem& c) {
  std::ostringstream o;
  o << "{\"unit\": " << JsonWriter::quoted(c.unit) << ", \"title\": " << JsonWriter::quoted(c.title)
    << ", \"where\": " << jsonOptional(c.where, JsonWriter::quoted) << ", \"start\": " << jsonDate(c.start)
    << ", \"end\": " << jsonDate(c.end) << "}";
  return o.str();
}

/// A weight as a JSON number; null where it has none (or none JSON can write).
std::string jsonWeight(const std::optional<double>& w) {
  return w && std::isfinite(*w) ? JsonWriter::numberText(*w) : std::string("null");
}

std::string jsonItem(const DueItem& d) {
  std::ostringstream o;
  o << "{\"unit\": " << JsonWriter::quoted(d.unit) << ", \"name\": " << JsonWriter::quoted(d.name)
    << ", \"due\": " << jsonDate(d.due) << ", \"weight\": " << jsonWeight(d.weight) << "}";
  return o.str();
}

template <class T, class F>
std::string jsonList(const std::vector<T>& items, F&& f) {
  std::string s = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) s += ", ";
    s += f(items[i]);
  }
  return s + "]";
}

/// An entry with its selections.
std::string jsonEntry(const Entry& e) {
  std::ostringstream o;
  o << "{\"date\": " << jsonDate(e.date) << ", \"loaded\": \"" << name(e.loaded.which()) << "\""
    << ", \"next\": " << jsonOptional(e.next(), jsonClass)
    << ", \"later\": " << jsonList(e.later(), jsonClass) << ", \"due\": " << jsonList(e.due(), jsonItem)
    << ", \"cards\": " << e.cards() << ", \"week\": " << jsonOptional(e.week(), JsonWriter::quoted) << "}";
  return o.str();
}

void printClass(std::ostream& out, const char* label, const ClassItem& c) {
  out << label << printable(c.unit) << "  " << printable(c.title) << "  " << isoUtc(c.start) << " – "
      << isoUtc(c.end);
  if (c.where) out << "  (" << printable(*c.where) << ")";
  out << "\n";
}

/// An entry with its selections, for people.
void printEntry(std::ostream& out, const Entry& e) {
  out << "date:   " << isoUtc(e.date) << "\n"
      << "loaded: " << name(e.loaded.which()) << "\n";
  if (e.loaded.which() != Loaded::Case::feed) return;
  if (auto n = e.next()) {
    printClass(out, "next:   ", *n);
  } else {
    out << "next:   none\n";
  }
  for (const ClassItem& c : e.later()) printClass(out, "later:  ", c);
  for (const DueItem& d : e.due()) {
    out << "due:    " << printable(d.unit) << "  " << printable(d.name) << "  " << isoUtc(d.due);
    if (d.weight) out << "  weight " << JsonWriter::numberText(*d.weight);
    out << "\n";
  }
  out << "cards:  " << e.cards() << "\n"
      << "week:   " << (e.week() ? printable(*e.week()) : "none") << "\n";
}

void printOne(Io& io, const HostSettings& s, const Entry& e) {
  if (s.json) {
    io.out << jsonEntry(e) << "\n";
  } else {
    printEntry(io.out, e);
  }
}

}  // namespace

void addTimelineCommands(CLI::App& app, Io& io) {
  {
    auto options = std::make_shared<HostOptions>();
    CLI::App* cmd = app.add_subcommand(
        "timeline", "Print the timeline the provider makes now: its entries and reload time");
    addHostOptions(*cmd, *options, {HostOption::feed, HostOption::now, HostOption::tz, HostOption::json});
    cmd->callback([&io, options] {
      const HostSettings s = resolve(*options);
      Provider{}.getTimeline({.isPreview = false, .host = s.host}, [&](const Timeline<Entry>& t) {
        if (s.json) {
          io.out << "{\"entries\": [";
          for (std::size_t i = 0; i < t.entries.size(); ++i) {
            io.out << (i ? ", " : "") << "{\"date\": " << jsonDate(t.entries[i].date) << ", \"loaded\": \""
                   << name(t.entries[i].loaded.which()) << "\"}";
          }
          io.out << "], \"reload\": " << jsonDate(t.policy.at) << "}\n";
          return;
        }
        io.out << t.entries.size() << " entries, reload at " << isoUtc(t.policy.at) << "\n";
        for (const Entry& e : t.entries) io.out << isoUtc(e.date) << "  " << name(e.loaded.which()) << "\n";
      });
    });
  }
  {
    auto options = std::make_shared<HostOptions>();
    auto at = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand(
        "entry", "Print the entry for one instant over the loaded feed, with its selections");
    cmd->add_option("--at", *at, "The entry's date")->required()->check(instantValidator());
    addHostOptions(*cmd, *options, {HostOption::feed, HostOption::tz, HostOption::json});
    cmd->callback([&io, options, at] {
      const HostSettings s = resolve(*options);
      printOne(io, s, Entry{.date = instant(*at), .loaded = s.host.load()});
    });
  }
  {
    auto options = std::make_shared<HostOptions>();
    auto preview = std::make_shared<bool>(false);
    CLI::App* cmd = app.add_subcommand(
        "snapshot", "Print the snapshot entry (the sample stands in for a missing feed in a preview)");
    cmd->add_flag("--preview", *preview, "Ask as the widget gallery's preview does");
    addHostOptions(*cmd, *options, {HostOption::feed, HostOption::now, HostOption::tz, HostOption::json});
    cmd->callback([&io, options, preview] {
      const HostSettings s = resolve(*options);
      Provider{}.getSnapshot({.isPreview = *preview, .host = s.host},
                             [&](const Entry& e) { printOne(io, s, e); });
    });
  }
  {
    auto options = std::make_shared<HostOptions>();
    CLI::App* cmd =
        app.add_subcommand("placeholder", "Print the placeholder entry: the sample feed, dated now");
    addHostOptions(*cmd, *options, {HostOption::now, HostOption::tz, HostOption::json});
    cmd->callback([&io, options] {
      const HostSettings s = resolve(*options);
      printOne(io, s, Provider{}.placeholder({.isPreview = false, .host = s.host}));
    });
  }
}

}  // namespace ostrel::cli
