// `timeline`, `entry`, `snapshot` and `placeholder`: the provider's operations as the host sees them,
// printed as JSON (--json) or as a table for people (cli/entry_printing.hpp).

#include <memory>
#include <ostream>

#include "cli/commands.hpp"
#include "cli/entry_printing.hpp"
#include "cli/options.hpp"
#include "cli/subcommands.hpp"
#include "time/calendar.hpp"
#include "timeline/entry_reason.hpp"
#include "timeline/provider.hpp"

namespace ostrel::cli {
namespace {

void printOne(Io& io, const CommonSettings& s, const Entry& e) {
  if (s.json) {
    printEntryJson(io.out, e);
  } else {
    printEntry(io.out, e, s.services.timeZone);
  }
}

/// Why each date of `t` is there. The provider's inputs are read back from the timeline itself (its
/// first entry is dated now and every entry holds the one loaded feed), so the reasons describe
/// exactly the timeline printed, even if the file changes meanwhile.
std::vector<ReasonedDate> reasonsOf(const Timeline<Entry>& t, const TimeZone& timeZone) {
  if (t.entries.empty()) return {};
  const Date now = t.entries.front().date;
  return timelineReasons(now, Calendar::minuteStart(now, timeZone).value_or(now), t.entries.front().loaded);
}

}  // namespace

void addTimelineCommands(CLI::App& app, Io& io) {
  {
    auto options = std::make_shared<CommonOptions>();
    CLI::App* cmd = addSubcommand(app, "timeline");
    addCommonOptions(*cmd, *options,
                     {CommonOption::feed, CommonOption::now, CommonOption::tz, CommonOption::json});
    cmd->footer(
        helpFooter({"ostrel-widgets timeline",
                    "ostrel-widgets timeline --json --now 2026-03-02T10:00:30+11:00 --tz Australia/Sydney",
                    "ostrel-widgets timeline --feed examples/widget.json"}));
    cmd->callback([&io, options] {
      const CommonSettings s = resolve(*options);
      Provider{}.getTimeline({.isPreview = false, .services = s.services}, [&](const Timeline<Entry>& t) {
        if (s.json) {
          printTimelineJson(io.out, t, reasonsOf(t, s.services.timeZone));
        } else {
          printTimeline(io.out, t, reasonsOf(t, s.services.timeZone), s.services.timeZone);
        }
      });
    });
  }
  {
    auto options = std::make_shared<CommonOptions>();
    auto at = std::make_shared<std::string>();
    CLI::App* cmd = addSubcommand(app, "entry");
    cmd->add_option("--at", *at, "The entry's date")->required()->check(instantValidator());
    addCommonOptions(*cmd, *options, {CommonOption::feed, CommonOption::tz, CommonOption::json});
    cmd->footer(
        helpFooter({"ostrel-widgets entry --at 2026-03-02T10:00:00+11:00",
                    "ostrel-widgets entry --at 2026-03-02T10:00:00Z --feed examples/widget.json --json"}));
    cmd->callback([&io, options, at] {
      const CommonSettings s = resolve(*options);
      printOne(io, s, Entry{.date = instant(*at), .loaded = s.services.load()});
    });
  }
  {
    auto options = std::make_shared<CommonOptions>();
    auto preview = std::make_shared<bool>(false);
    CLI::App* cmd = addSubcommand(app, "snapshot");
    cmd->add_flag("--preview", *preview, "Ask as the widget gallery's preview does");
    addCommonOptions(*cmd, *options,
                     {CommonOption::feed, CommonOption::now, CommonOption::tz, CommonOption::json});
    cmd->footer(helpFooter({"ostrel-widgets snapshot", "ostrel-widgets snapshot --preview --json"}));
    cmd->callback([&io, options, preview] {
      const CommonSettings s = resolve(*options);
      Provider{}.getSnapshot({.isPreview = *preview, .services = s.services},
                             [&](const Entry& e) { printOne(io, s, e); });
    });
  }
  {
    auto options = std::make_shared<CommonOptions>();
    CLI::App* cmd = addSubcommand(app, "placeholder");
    addCommonOptions(*cmd, *options, {CommonOption::now, CommonOption::tz, CommonOption::json});
    cmd->footer(helpFooter({"ostrel-widgets placeholder", "ostrel-widgets placeholder --json"}, false));
    cmd->callback([&io, options] {
      const CommonSettings s = resolve(*options);
      printOne(io, s, Provider{}.placeholder({.isPreview = false, .services = s.services}));
    });
  }
}

}  // namespace ostrel::cli
