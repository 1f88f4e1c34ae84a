// The engine over simulated and real clocks: how often it wakes, requests and shows a face, and how
// it follows a set of the clock and the system's locale; its wall-clock timer against the kernel's.
#include "engine/engine.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/loop.hpp"
#include "support/clock_set.hpp"
#include "support/scratch.hpp"
#include "time/clock.hpp"
#include "ui/reading.hpp"

namespace ostrel {
namespace {

using namespace test_support;
constexpr double kHour = 3600;

/// A class under way at the start, ending at 21:45 in Sydney.
constexpr const char* kFeed =
    R"({"v":1,"enabled":true,"at":"2026-03-02T09:00:00Z","classes":[{"unit":"FINC3600",
    "title":"Lecture","where":"ABS 1010","start":"2026-03-02T09:30:00Z","end":"2026-03-02T10:45:00Z"}]})";

using EngineTest = ScratchTest;

TEST_F(EngineTest, ADayWakesAtEveryEntryAndReloadAndShowsAnUnchangedFaceOnce) {
  EngineSettings s = settingsFor(dir_ / "absent.json");
  s.until = kStart + 24 * kHour;
  Engine engine(nextUpSmall(), s, EngineClock::fastest(kStart));
  Recorder out;
  engine.subscribe(out);
  engine.run();
  // No feed: the note never changes, so the face is shown once; the engine still wakes at each of
  // the 1440 minute marks and at the 47 reload instants before the end.
  ASSERT_EQ(out.faces.size(), 1U);
  const EngineStats& st = engine.stats();
  EXPECT_EQ(st.wakes, 1440U + 47U);
  EXPECT_EQ(st.requests, 48U);
  EXPECT_EQ(st.policyReloads, 47U);
  EXPECT_EQ(st.entriesShown, 1U + 1440U + 47U);
  EXPECT_EQ(st.feedReloads + st.jumpReloads + st.systemReloads, 0U);
  EXPECT_FALSE(engine.running());
}

TEST(WallTimer, FiresAtItsInstant) {
  std::optional<bool> fired;
  WallTimer timer{[&](bool clockSet) { fired = clockSet; }};
  // A set of the clock is the whole system's: another test setting it meanwhile fires this timer
  // as a set, which is told apart from the instant; the timer is then armed again.
  double took = 0;
  for (int attempt = 0; attempt < 5 && fired != false; ++attempt) {
    fired.reset();
    ASSERT_TRUE(timer.arm(Clock::system().now() + 0.3));
    const double start = monotonicSeconds();
    runUntil([&] { return fired.has_value(); }, 5);
    took = monotonicSeconds() - start;
  }
  EXPECT_EQ(fired, false);
  EXPECT_GE(took, 0.25);
  EXPECT_LT(took, 1.5);
}

// The set reaches the engine through the same timer, at once.
TEST_F(EngineTest, ASetOfTheWallClockIsFollowedAtOnce) {
  Engine engine(nextUpSmall(), settingsFor(write("feed.json", kFeed)), EngineClock::system());
  engine.start();
  pause(0.3);
  if (!setClockWithoutMovingIt()) GTEST_SKIP() << "no CAP_SYS_TIME to signal a set of the clock";
  // The next entry is up to a minute away: only the set itself can wake the engine this soon.
  // (Another test may set the clock too: each set is one more round.)
  EXPECT_TRUE(runUntil([&] { return engine.stats().jumpReloads >= 1; }, 2.0));
  EXPECT_EQ(engine.stats().requests, 1 + engine.stats().jumpReloads);
}

TEST_F(EngineTest, FollowsTheSystemLocaleOnlyWhereTheEnvironmentSetsNone) {
  struct Row {
    const char* lang;            // of the session; null: unset
    const char *before, *after;  // the system's file, rewritten while the engine runs
    const char *locale, *clock;  // the end of the class under way, in that locale
  };
  const Row rows[] = {
      {nullptr, "LANG=en_US.UTF-8\n", "# the system's locale\nLANG=\"de_DE.UTF-8\"\n", "de_DE", "21:45"},
      {"de_DE.UTF-8", "LANG=C.UTF-8\n", "LANG=C.UTF-8\n", "de_DE", "21:45"},
      {"en_US.UTF-8", "LANG=de_DE.UTF-8\n", "LANG=fr_FR.UTF-8\n", "en_US", "9:45"},
  };
  const char* const saved = std::getenv("LANG");
  const std::string lang = saved != nullptr ? saved : "";
  ::unsetenv("LC_ALL");
  ::unsetenv("LC_TIME");
  for (const Row& r : rows) {
    r.lang != nullptr ? ::setenv("LANG", r.lang, 1) : ::unsetenv("LANG");
    write("locale", r.before);
    EngineSettings s = settingsFor(write("feed.json", kFeed));
    s.locale.reset();
    s.system = {.localtime = dir_ / "localtime",
                .timezone = dir_ / "tz",
                .defaultLocale = dir_ / "locale",
                .systemBus = false};
    Engine engine(nextUpSmall(), s, EngineClock::simulated(kStart, 1));
    Recorder out;
    engine.subscribe(out);
    engine.start();
    pause(0.3);
    write("locale", r.after);
    runUntil([&] { return engine.locale() == r.locale && engine.stats().systemReloads > 0; }, 1.0);
    EXPECT_EQ(out.faces.back().locale, r.locale) << r.after;
    EXPECT_NE(reading(out.faces.back().view(ColorScheme::light)).find(r.clock), std::string::npos) << r.after;
  }
  saved != nullptr ? ::setenv("LANG", lang.c_str(), 1) : ::unsetenv("LANG");
}

}  // namespace
}  // namespace ostrel
