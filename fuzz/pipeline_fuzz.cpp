// Bytes in, faces out: the bytes are the feed file (an anonymous memory file) of a timeline request
// over a fixed clock, and every face of one of its entries (the one the input's length picks; each
// widget in each family, light and dark) is drawn as a small PNG. Nothing may crash, leak or
// hang; every timeline starts now, ascends and asks again in 30 minutes. Inputs above 16 KB are
// skipped, so that a run explores rather than draws.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/image.hpp"
#include "render/text.hpp"
#include "timeline/provider.hpp"
#include "widgets/widgets.hpp"

namespace {

using namespace ostrel;

constexpr std::size_t kMaxInput = 16 * 1024;
constexpr Date kNow{1'772'445'630.25};  // 2026-03-02T10:00:30.250Z, a quarter second past a second
constexpr double kScale = 0.5;          // device pixels per point: small surfaces, every path still taken

void check(bool condition) {
  if (!condition) std::abort();
}

const render::PangoMeasurer& fonts() {
  static const render::PangoMeasurer measurer = [] {
    auto m = render::PangoMeasurer::create();
    check(m.ok());
    return *m;
  }();
  return measurer;
}

const std::vector<WidgetConfiguration>& widgets() {
  static const std::vector<WidgetConfiguration> all = OstrelWidgets{}.body();
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const int fd = ::memfd_create("feed", MFD_CLOEXEC);
  check(fd >= 0 && ::write(fd, data, size) == static_cast<ssize_t>(size));
  const TimelineProviderContext context{
      .isPreview = false,
      .services = Services{.clock = Clock::fixed(kNow),
                           .feed = "/proc/self/fd/" + std::to_string(fd),
                           .timeZone = TimeZone::named("Australia/Sydney")}};
  Timeline<Entry> timeline;
  int calls = 0;
  Provider{}.getTimeline(context, [&](Timeline<Entry> t) {
    timeline = std::move(t);
    ++calls;
  });
  ::close(fd);
  check(calls == 1);
  check(!timeline.entries.empty() && timeline.entries.front().date == kNow);
  check(timeline.policy.at == kNow + Provider::reload);
  for (std::size_t i = 1; i < timeline.entries.size(); ++i) {
    check(timeline.entries[i - 1].date < timeline.entries[i].date);
  }

  const Entry& entry = timeline.entries[size % timeline.entries.size()];
  for (const WidgetConfiguration& widget : widgets()) {
    for (WidgetFamily family : widget.families) {
      for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        const Environment env{.widgetFamily = family,
                              .colorScheme = scheme,
                              .systemVersion = {size % 2 == 0 ? 14 : 13, 0, 0},
                              .locale = "en_US",
                              .timeZone = TimeZone::named("Australia/Sydney")};
        check(render::renderWidget(widget.content(entry, env), family, scheme, fonts(), {.scale = kScale})
                  .ok());
      }
    }
  }
  return 0;
}
