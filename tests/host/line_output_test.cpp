// Lines to a real pipe whose reader stalls and then reads again: what waited for it.
#include "host/line_output.hpp"

#include <fcntl.h>
#include <glib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "timeline/feeds.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

/// Everything the pipe yields while the main loop runs, until it stays empty for a while.
std::vector<std::string> drain(int fd) {
  std::string all;
  char buffer[65536];
  for (int quiet = 0; quiet < 20;) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      all.append(buffer, static_cast<std::size_t>(n));
      quiet = 0;
    } else {
      ++quiet;
      ::usleep(5'000);
    }
  }
  std::vector<std::string> lines;
  std::istringstream in(all);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

TEST(LineOutput, AStalledReaderGetsWhatTheBacklogKeeps) {
  struct Row {
    LineOutput::Backlog backlog;
    bool everyLine;  // else: what fitted in the pipe, then each widget's latest line
  };
  const Row rows[] = {{LineOutput::Backlog::every, true}, {LineOutput::Backlog::latest, false}};
  const WidgetConfiguration next = NextUpWidget{}.body();
  const WidgetConfiguration due = DueWidget{}.body();
  for (const Row& row : rows) {
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    ::fcntl(pipe[0], F_SETFL, O_NONBLOCK);
    std::vector<std::string> shown;
    {
      LineOutput out(pipe[1], LineFormat::json, row.backlog, [](int) { FAIL() << "closed"; });
      for (int i = 0; i < 600; ++i) {  // far more than the pipe holds
        for (const WidgetConfiguration* w : {&next, &due}) {
          const Face face{.kind = w->kind,
                          .family = w->families.back(),
                          .entry = Entry{.date = testing_timeline::kTen + i, .loaded = Loaded::missing()},
                          .timeZone = "UTC",
                          .locale = "en_US",
                          .content = w->content};
          out.show(face);
          shown.push_back(faceLine(face, LineFormat::json));
        }
      }
      const std::vector<std::string> got = drain(pipe[0]);
      if (row.everyLine) {
        EXPECT_EQ(got, shown);
      } else {
        ASSERT_GE(got.size(), 3u);
        ASSERT_LT(got.size(), shown.size() / 2);
        const std::vector<std::string> fitted(got.begin(), got.end() - 2);
        EXPECT_EQ(fitted, std::vector<std::string>(shown.begin(), shown.begin() + fitted.size()));
        EXPECT_EQ(std::vector<std::string>(got.end() - 2, got.end()),
                  std::vector<std::string>(shown.end() - 2, shown.end()));
      }
    }
    ::close(pipe[0]);
    ::close(pipe[1]);
  }
}

}  // namespace
}  // namespace ostrel
