// Every subcommand's --help ends with examples and, for those that read the feed, this user's
// full path of it.
#include <gtest/gtest.h>

#include <string>

#include "command.hpp"
#include "feed/feed_file.hpp"

namespace {

using ostrel::cli_test::Outcome;

class Help : public ostrel::cli_test::CommandTest {};

TEST_F(Help, EverySubcommandGivesExamplesAndWhereTheFeedIsRead) {
  const std::string feed = ostrel::FeedFile::url().string();
  for (const std::string sub : {"check", "timeline", "entry", "snapshot", "placeholder", "tree", "render",
                                "gallery", "watch", "host"}) {
    const Outcome r = run(sub + " --help");
    EXPECT_EQ(r.status, 0) << sub;
    EXPECT_NE(r.out.find("Examples:\n  ostrel-widgets " + sub), std::string::npos) << sub << ":\n" << r.out;
    EXPECT_EQ(
        r.out.find("else from the app's location for this user:\n  " + feed + "\n") != std::string::npos,
        sub != "placeholder")
        << sub << ":\n"
        << r.out;
  }
}

}  // namespace
