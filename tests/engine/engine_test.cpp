// The engine over a simulated clock: which faces it hands its outputs, how often it wakes and
// requests, and how it follows the feed file and the system's locale while it runs.
#include "engine/engine.hpp"

#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/clock_set.hpp"
#include "support/scratch.hpp"
#include "ui/reading.hpp"
#include "ui/same_drawing.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

constexpr Date kStart{1'772'445'630};  // 2026-03-02T10:00:30Z
constexpr double kHour = 3600;

/// Remembers every face it is shown.
class Recorder : public FaceOutput {
 public:
  void show(const Face& face) override { faces.push_back(face); }
  std::vector<Face> faces;
};

std::vector<ShownWidget> everyFace() {
  std::vector<ShownWidget> out;
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    for (WidgetFamily f : w.families) out.push_back(ShownWidget{.widget = w, .family = f});
  }
  return out;
}

/// A class under way at the start, one later in the day, a deadline that drops off during it.
std::string busyFeed() {
  return R"({"v":1,"enabled":true,"at":"2026-03-02T09:00:00Z","classes":[
    {"unit":"FINC3600","title":"Lecture","where":"ABS 1010","start":"2026-03-02T09:30:00Z","end":"2026-03-02T10:45:00Z"},
    {"unit":"COMP2123","title":"Tutorial","start":"2026-03-02T14:10:20Z","end":"2026-03-02T15:00:00Z"}],
    "due":[{"unit":"STAT2011","name":"Quiz 3","due":"2026-03-01T23:59:00Z","weight":5}]})";
}

class EngineTest : public test_support::ScratchTest {
 protected:
  /// Runs the main loop until the engine stops or `seconds` of real time pass.
  static void runFor(Engine& engine, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (engine.running() && std::chrono::steady_clock::now() < end)
      g_main_context_iteration(nullptr, FALSE);
  }
  /// Runs the main loop until `done` holds or `seconds` of real time pass.
  template <class Done>
  static bool runUntil(Done done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done() && std::chrono::steady_clock::now() < end) g_main_context_iteration(nullptr, FALSE);
    return done();
  }
  EngineSettings settings(const std::string& feedName) const {
    return EngineSettings{.feed = dir_ / feedName,
                          .timeZone = TimeZone::named("Australia/Sydney"),
                          .locale = "en_AU",
                          .until = std::nullopt,
                          .system = {}};
  }
};

TEST_F(EngineTest, ADayWakesAtEveryEntryAndReloadAndShowsAnUnchangedFaceOnce) {
  EngineSettings s = settings("absent.json");
  s.until = kStart + 24 * kHour;
  Engine engine({ShownWidget{.widget = NextUpWidget{}.body(), .family = WidgetFamily::systemSmall}}, s,
                EngineClock::fastest(kStart));
  Recorder out;
  engine.subscribe(out);
  engine.run();
  // No feed: the note never changes, so the face is shown once; the engine still wakes at each of
  // the 1440 minute marks and at the 47 reload instants before the end.
  ASSERT_EQ(out.faces.size(), 1U);
  EXPECT_EQ(reading(out.faces[0].view(ColorScheme::light)),
            "Next up: Open Ostrel, "
            "Your classes and deadlines appear here after it syncs.");
  const EngineStats& st = engine.stats();
  EXPECT_EQ(st.wakes, 1440U + 47U);
  EXPECT_EQ(st.requests, 48U);
  EXPECT_EQ(st.policyReloads, 47U);
  EXPECT_EQ(st.entriesShown, 1U + 1440U + 47U);
  EXPECT_EQ(st.feedReloads + st.jumpReloads + st.systemReloads, 0U);
  EXPECT_FALSE(engine.running());
}

TEST_F(EngineTest, AnOutputIsCalledOnlyWhenItsFaceChanges) {
  write("feed.json", busyFeed());
  EngineSettings s = settings("feed.json");
  s.until = kStart + 6 * kHour;
  Engine engine(everyFace(), s, EngineClock::fastest(kStart));
  Recorder out;
  engine.subscribe(out);
  engine.run();
  // Per widget, no two faces in a row draw the same; the countdown faces change at every minute
  // mark while the class is ahead, the due faces far less often.
  std::map<std::string, std::vector<const Face*>> byWidget;
  for (const Face& f : out.faces) byWidget[f.kind + name(f.family)].push_back(&f);
  ASSERT_EQ(byWidget.size(), 4U);
  for (const auto& [widget, faces] : byWidget) {
    for (std::size_t i = 1; i < faces.size(); ++i) {
      EXPECT_FALSE(sameDrawing(faces[i - 1]->view(ColorScheme::light), faces[i]->view(ColorScheme::light)))
          << widget << " face " << i;
      EXPECT_LT(faces[i - 1]->entry.date, faces[i]->entry.date);
    }
  }
  EXPECT_GT(byWidget["NextUpsystemSmall"].size(), 200U);
  EXPECT_LT(byWidget["DueSoonsystemMedium"].size(), 5U);
  EXPECT_EQ(out.faces.size(), engine.stats().facesShown);
}

TEST_F(EngineTest, ABurstOfWritesToTheFeedIsOneRequest) {
  const auto feed = write("feed.json", R"({"v":1,"enabled":false,"at":"2026-03-02T09:00:00Z"})");
  Engine engine(everyFace(), settings("feed.json"), EngineClock::simulated(kStart, 1));
  Recorder out;
  engine.subscribe(out);
  engine.start();
  ASSERT_EQ(out.faces.size(), 4U);
  runFor(engine, 0.3);  // the monitor is in place
  // The app rewrites the feed in place, in pieces.
  {
    std::ofstream f(feed, std::ios::binary | std::ios::trunc);
    const std::string text = busyFeed();
    for (std::size_t i = 0; i < text.size(); i += 64) f << text.substr(i, 64) << std::flush;
  }
  EXPECT_TRUE(runUntil([&] { return out.faces.size() == 8; }, 2.0));
  runFor(engine, 0.5);
  EXPECT_EQ(engine.stats().feedReloads, 1U);
  EXPECT_EQ(out.faces.size(), 8U);
  EXPECT_EQ(out.faces[4].entry.loaded.which(), Loaded::Case::feed);
  engine.stop();
}

TEST_F(EngineTest, ASetOfTheWallClockIsFollowedAtOnce) {
  write("feed.json", busyFeed());
  Engine engine(everyFace(), settings("feed.json"), EngineClock::system());
  Recorder out;
  engine.subscribe(out);
  engine.start();
  runFor(engine, 0.3);
  if (!test_support::setClockWithoutMovingIt())
    GTEST_SKIP() << "no CAP_SYS_TIME to signal a set of the clock";
  // The next entry is up to a minute away: only the set itself can wake the engine this soon.
  // (Another test may set the clock too: each set is one more round.)
  EXPECT_TRUE(runUntil([&] { return engine.stats().jumpReloads >= 1; }, 2.0));
  EXPECT_EQ(engine.stats().requests, 1 + engine.stats().jumpReloads);
  engine.stop();
}

TEST_F(EngineTest, FollowsTheSystemLocaleOnlyWhereTheEnvironmentSetsNone) {
  struct Row {
    const char* lang;  // of the session; null: unset
    const char* before;
    const char* after;  // the system's file, rewritten while the engine runs
    const char* locale;
    const char* clock;  // the end of the class under way, in that locale
  };
  const Row rows[] = {
      {nullptr, "LANG=en_US.UTF-8\n", "# the system's locale\nLANG=\"de_DE.UTF-8\"\n", "de_DE", "21:45"},
      {"de_DE.UTF-8", "LANG=C.UTF-8\n", "LANG=C.UTF-8\n", "de_DE", "21:45"},
      {"en_US.UTF-8", "LANG=de_DE.UTF-8\n", "LANG=fr_FR.UTF-8\n", "en_US", "9:45"},
  };
  write("feed.json", busyFeed());
  const char* const saved = std::getenv("LANG");
  const std::string lang = saved != nullptr ? saved : "";
  ::unsetenv("LC_ALL");
  ::unsetenv("LC_TIME");
  for (const Row& r : rows) {
    if (r.lang != nullptr)
      ::setenv("LANG", r.lang, 1);
    else
      ::unsetenv("LANG");
    write("locale", r.before);
    EngineSettings s = settings("feed.json");
    s.locale.reset();
    s.system = SystemPaths{.localtime = dir_ / "localtime",
                           .timezone = dir_ / "timezone",
                           .defaultLocale = dir_ / "locale",
                           .systemBus = false};
    Engine engine({ShownWidget{.widget = NextUpWidget{}.body(), .family = WidgetFamily::systemSmall}}, s,
                  EngineClock::simulated(kStart, 1));
    Recorder out;
    engine.subscribe(out);
    engine.start();
    runFor(engine, 0.3);
    write("locale", r.after);
    runUntil([&] { return engine.locale() == r.locale && engine.stats().systemReloads > 0; }, 1.0);
    EXPECT_EQ(engine.locale(), r.locale) << r.after;
    EXPECT_EQ(out.faces.back().locale, r.locale) << r.after;
    EXPECT_NE(reading(out.faces.back().view(ColorScheme::light)).find(r.clock), std::string::npos) << r.after;
    engine.stop();
  }
  if (saved != nullptr)
    ::setenv("LANG", lang.c_str(), 1);
  else
    ::unsetenv("LANG");
}

}  // namespace
}  // namespace ostrel
