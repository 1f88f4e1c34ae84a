#include "desktop/display/host_fixture.hpp"

#include <atspi/atspi.h>

#include <algorithm>
#include <ctime>

#include "feed/feed_file.hpp"
#include "ui/reading.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::display_test {

namespace fs = std::filesystem;

void HostFixture::SetUp() {
  ScratchTest::SetUp();
  // A lecture at 10:00, a tutorial at 13:00; two assessments due this week.
  feed_ = write("widget.json", readFile(OSTREL_SOURCE_DIR "/tests/data/desktop/widget.json"));
}

void X11Fixture::SetUp() {
  HostFixture::SetUp();
  OSTREL_NEED_PROGRAM("Xvfb");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  x_.emplace(1280, 800, dir_);
  ASSERT_TRUE(x_->ok() && bus_.ok()) << readFile(dir_ / "xvfb.log");
  env_ = {{"DISPLAY", x_->display()}, {"DBUS_SESSION_BUS_ADDRESS", bus_.address()}};
}

Process HostFixture::startHost(const std::vector<std::string>& args, std::map<std::string, std::string> env,
                               const std::string& log) {
  std::vector<std::string> argv{
      OSTREL_COMMAND, "host", "--feed",   feed_.string(), std::string("--now=") + kStart,
      "--tz",         kZone,  "--locale", "en_US"};
  argv.insert(argv.end(), args.begin(), args.end());
  for (const char* k : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "GDK_BACKEND", "GDK_SCALE",
                        "XDG_CURRENT_DESKTOP"}) {
    env.emplace(k, "");
  }
  env.emplace("XDG_CONFIG_HOME", (dir_ / "config").string());
  return Process(
      argv,
      {.env = env, .out = dir_ / (log + ".out"), .err = dir_ / (log + ".err"), .passFd = {}, .prefix = {}});
}

Image HostFixture::rendered(const Shown& face, ColorScheme scheme, double at, int scale, Rgb background) {
  const fs::path png = dir_ / ("render-" + std::to_string(files_++) + ".png");
  const auto t = static_cast<std::time_t>(at);
  std::tm tm{};
  ::gmtime_r(&t, &tm);
  char now[40];
  std::strftime(now, sizeof now, "--now=%Y-%m-%dT%H:%M:%SZ", &tm);
  Process render({OSTREL_COMMAND, "render", "--kind", face.kind, "--family", name(face.family), "--scheme",
                  name(scheme), "--feed", feed_.string(), now, "--tz", kZone, "--locale", "en_US", "--scale",
                  std::to_string(scale), "-o", png.string()},
                 {.env = {}, .out = {}, .err = dir_ / "render.err", .passFd = {}, .prefix = {}});
  return render.wait(60) == 0 ? loadPng(png, background) : Image{};
}

std::string HostFixture::expectedReading(const Shown& face, double at) const {
  const Entry entry{.date = Date{at}, .loaded = FeedFile::load(feed_)};
  const Environment env{.widgetFamily = face.family,
                        .colorScheme = ColorScheme::light,
                        .systemVersion = SystemVersion{},
                        .locale = "en_US",
                        .timeZone = TimeZone::named(kZone)};
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    if (w.kind == face.kind) return reading(w.content(entry, env));
  }
  return {};
}

bool HostFixture::shows(const std::function<Image()>& grab, const Image& expected, const std::string& name) {
  Image shown;
  Difference d;
  if (!expected.empty() && eventually([&] { return (d = compare(shown = grab(), expected)).similar(); })) {
    return true;
  }
  ADD_FAILURE() << name << ": mean " << d.mean << ", outliers " << d.outliers << "; shown "
                << keep(shown, name) << ", rendered " << keep(expected, name + "-render") << "\n"
                << hostErrors();
  return false;
}

std::optional<XWindow> HostFixture::awaitWindow(const Xvfb& x, const std::string& name) {
  std::optional<XWindow> w;
  eventually([&] { return (w = findWindow(x.display(), name)).has_value(); });
  return w;
}

std::string HostFixture::keep(const Image& image, const std::string& name) const {
  const fs::path folder =
      fs::path(OSTREL_DISPLAY_FAILURES) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::error_code ec;
  fs::create_directories(folder, ec);
  image.save(folder / (name + ".png"));
  return (folder / (name + ".png")).string();
}

namespace {

bool visit(AtspiAccessible* node, int depth,
           const std::function<bool(AtspiAccessible*, const std::string&)>& f) {
  gchar* name = atspi_accessible_get_name(node, nullptr);
  bool done = f(node, name != nullptr ? name : "");
  g_free(name);
  for (gint i = 0; !done && depth > 0 && i < std::min(atspi_accessible_get_child_count(node, nullptr), 200);
       ++i) {
    if (AtspiAccessible* child = atspi_accessible_get_child_at_index(node, i, nullptr)) {
      done = visit(child, depth - 1, f);
      g_object_unref(child);
    }
  }
  return done;
}

}  // namespace

bool visitAccessibles(int depth, const std::function<bool(AtspiAccessible*, const std::string&)>& f) {
  AtspiAccessible* desktop = atspi_get_desktop(0);
  const bool done = visit(desktop, depth, f);
  g_object_unref(desktop);
  return done;
}

std::vector<std::string> accessibleNames(int depth) {
  std::vector<std::string> names;
  visitAccessibles(depth, [&](AtspiAccessible*, const std::string& name) {
    if (!name.empty()) names.push_back(name);
    return false;
  });
  return names;
}

}  // namespace ostrel::display_test
