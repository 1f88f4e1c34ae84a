// Lines to a real pipe whose reader stalls, then reads again: what waited for it.
#include "engine/line_output.hpp"

#include <fcntl.h>
#include <glib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "timeline/feeds.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

TEST(LineOutput, AStalledReaderGetsWhatTheBacklogKeeps) {
  for (const auto backlog : {LineOutput::Backlog::every, LineOutput::Backlog::latest}) {
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    ::fcntl(pipe[0], F_SETFL, O_NONBLOCK);
    std::vector<std::string> shown;
    auto out =
        std::make_unique<LineOutput>(pipe[1], LineFormat::json, backlog, [](int) { FAIL() << "closed"; });
    for (int i = 0; i < 600; ++i) {  // far more than the pipe holds, for two widgets
      for (const WidgetConfiguration& w : {NextUpWidget{}.body(), DueWidget{}.body()}) {
        const Face face{.kind = w.kind,
                        .family = w.families.back(),
                        .entry = Entry{.date = testing_timeline::kTen + i, .loaded = Loaded::missing()},
                        .content = w.content,
                        .shortState = w.shortState};
        out->show(face);
        shown.push_back(faceLine(face, LineFormat::json));
      }
    }
    // The reader takes everything, the main loop running, until the pipe stays empty a while.
    std::string all;
    char buffer[65536];
    for (int quiet = 0; quiet < 20; ++quiet) {
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
      for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0; quiet = 0)
        all.append(buffer, static_cast<std::size_t>(n));
      ::usleep(5'000);
    }
    out.reset();
    ::close(pipe[0]);
    ::close(pipe[1]);
    std::vector<std::string> got;
    std::istringstream in(all);
    for (std::string l; std::getline(in, l);) got.push_back(l);
    if (backlog == LineOutput::Backlog::every) {
      EXPECT_EQ(got, shown);
    } else {  // what fitted in the pipe, then each widget's latest line
      ASSERT_GE(got.size(), 3u);
      ASSERT_LT(got.size(), shown.size() / 2);
      EXPECT_TRUE(std::equal(got.begin(), got.end() - 2, shown.begin()));
      EXPECT_TRUE(std::equal(got.end() - 2, got.end(), shown.end() - 2));
    }
  }
}

}  // namespace
}  // namespace ostrel
