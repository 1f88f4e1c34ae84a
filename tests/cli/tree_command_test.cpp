// The tree subcommand, run in process through the host over this system's bundle: the tree it prints
// is the declared widget's content for the selected entry and environment. (Refusals are rows of
// bad_use_test.cpp.)
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/options.hpp"
#include "command.hpp"
#include "draw/commands.hpp"
#include "feed/feed_file.hpp"
#include "timeline/sample.hpp"
#include "ui/json_dump.hpp"
#include "ui/text_dump.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

using cli_test::Outcome;

Outcome tree(std::vector<std::string> args) {
  args.insert(args.begin(), {"ostrel-widgets", "tree"});
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out;
  std::ostringstream err;
  Outcome r;
  r.status = draw::run(static_cast<int>(argv.size()), argv.data(), out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

const std::string kExample = (fs::path(OSTREL_SOURCE_DIR) / "examples/widget.json").string();
const std::string kAbsent = (fs::temp_directory_path() / "ostrel-tree-test-absent" / "widget.json").string();
const std::vector<std::string> kPinned{"--tz", "UTC", "--locale", "en_US"};

std::vector<std::string> with(std::vector<std::string> args) {
  args.insert(args.end(), kPinned.begin(), kPinned.end());
  return args;
}

Environment env(WidgetFamily family, ColorScheme scheme = ColorScheme::light, int macos = 14) {
  return Environment{.widgetFamily = family,
                     .colorScheme = scheme,
                     .systemVersion = {macos, 0, 0},
                     .locale = "en_US",
                     .timeZone = "UTC"};
}

// The sample is made at --now and the entry dated --at: a tutorial 26 hours after the sample's
// making is next once the lecture has ended, which only holds when the two instants are kept apart.
TEST(TreeCommand, SampleIsMadeAtNowAndTheEntryDatedAt) {
  const Date now = cli::instant("2026-03-02T10:00:00Z");
  const Date at = cli::instant("2026-03-02T12:00:00Z");
  const Outcome r = tree(
      with({"--kind", "DueSoon", "--family", "systemLarge", "--sample", "--feed", kAbsent, "--now",
            "2026-03-02T10:00:00Z", "--at", "2026-03-02T12:00:00Z", "--scheme", "dark", "--macos", "13"}));
  ASSERT_EQ(r.status, 0) << r.err;
  const Entry entry{.date = at, .loaded = Loaded::feed(Sample::feed(Clock::fixed(now)))};
  EXPECT_EQ(r.out,
            dumpText(DueWidget::content(entry).view(env(WidgetFamily::systemLarge, ColorScheme::dark, 13))));
  EXPECT_NE(r.out.find("AMED3003"), std::string::npos);
}

TEST(TreeCommand, TextAndJsonOfTheLoadedFeedAtNow) {
  const Entry entry{.date = cli::instant("2026-03-02T00:30:00Z"), .loaded = FeedFile::load(kExample)};
  ASSERT_EQ(entry.loaded.which(), Loaded::Case::feed);
  const View expected = NextUpWidget::content(entry).view(env(WidgetFamily::systemMedium));
  const std::vector<std::string> args{"--kind", "NextUp", "--family", "systemMedium",
                                      "--feed", kExample, "--now",    "2026-03-02T00:30:00Z"};

  const Outcome text = tree(with(args));
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out, dumpText(expected));

  std::vector<std::string> json = args;
  json.emplace_back("--json");
  const Outcome j = tree(with(json));
  ASSERT_EQ(j.status, 0) << j.err;
  EXPECT_EQ(j.out, dumpJson(expected));
}

TEST(TreeCommand, AMissingFeedShowsTheNoteInEveryOfferedFamily) {
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    for (WidgetFamily f : w.families) {
      const Outcome r = tree(with({"--kind", w.kind, "--family", name(f), "--feed", kAbsent}));
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_NE(r.out.find("Open Ostrel"), std::string::npos) << w.kind << " " << name(f);
    }
  }
}

}  // namespace
}  // namespace ostrel
