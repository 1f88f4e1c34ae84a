// Lines to a real pipe whose reader stalls, then reads again: what waited for it.
#include "engine/line_output.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/loop.hpp"
#include "timeline/feeds.hpp"

namespace ostrel {
namespace {

TEST(LineOutput, AStalledReaderGetsWhatTheBacklogKeeps) {
  for (const auto backlog : {LineOutput::Backlog::every, LineOutput::Backlog::latest}) {
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    ::fcntl(pipe[0], F_SETFL, O_NONBLOCK);  // the reader's end only: the output is given a blocking one
    auto out =
        std::make_unique<LineOutput>(pipe[1], LineFormat::json, backlog, [](int) { FAIL() << "closed"; });
    std::string shown, latest[2];
    for (int i = 0; i < 1200; ++i) {  // far more than the pipe holds, for two widgets in turn
      const WidgetConfiguration w = i % 2 == 0 ? NextUpWidget{}.body() : DueWidget{}.body();
      const Face face{.kind = w.kind,
                      .family = w.families.back(),
                      .entry = Entry{.date = testing_timeline::kTen + i, .loaded = Loaded::missing()},
                      .content = w.content,
                      .shortState = w.shortState};
      out->show(face);
      shown += (latest[i % 2] = faceLine(face, LineFormat::json) + "\n");
    }
    // The reader takes everything, the main loop running, until the pipe stays empty a while.
    std::string all;
    char buffer[65536];
    for (int quiet = 0; quiet < 20; ++quiet) {
      test_support::pause(0.005);
      for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0; quiet = 0)
        all.append(buffer, static_cast<std::size_t>(n));
    }
    out.reset();
    ::close(pipe[0]);
    ::close(pipe[1]);
    if (backlog == LineOutput::Backlog::every) {
      EXPECT_EQ(all, shown);
    } else {  // what fitted in the pipe, then each widget's latest line
      const std::string tail = latest[0] + latest[1];
      ASSERT_GT(all.size(), tail.size());
      ASSERT_LT(all.size(), shown.size() / 2);
      EXPECT_EQ(all.substr(0, all.size() - tail.size()), shown.substr(0, all.size() - tail.size()));
      EXPECT_TRUE(all.ends_with(tail));
    }
  }
}

}  // namespace
}  // namespace ostrel
