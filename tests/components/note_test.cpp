#include "components/note.hpp"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

TEST(Note, ExplainsOffAndEveryOtherStateApart) {
  const Feed feed{.v = 1,
                  .enabled = true,
                  .at = Date{0},
                  .week = std::nullopt,
                  .classes = std::nullopt,
                  .due = std::nullopt,
                  .cards = std::nullopt};
  struct Row {
    Loaded loaded;
    const char* title;
    const char* message;
  };
  const Row rows[] = {
      {Loaded::off(), "Widgets are off", "Turn them on in Ostrel, Settings, General."},
      {Loaded::missing(), "Open Ostrel", "Your classes and deadlines appear here after it syncs."},
      {Loaded::feed(feed), "Open Ostrel", "Your classes and deadlines appear here after it syncs."},
  };
  for (const Row& r : rows) {
    const View body = Note{.heading = "Due soon", .loaded = r.loaded}.body(Environment{});
    ASSERT_EQ(body.children.size(), 4u);
    EXPECT_EQ(body.children[0].type, "Heading");
    EXPECT_EQ(body.children[0].args.get<std::string>("text"), "Due soon");
    EXPECT_EQ(body.children[1].type, "Spacer");
    for (const auto& [line, key] : {std::pair{body.children[2], r.title}, {body.children[3], r.message}}) {
      ASSERT_TRUE(line.text);
      EXPECT_EQ(line.text->key, key);
      EXPECT_FALSE(line.text->verbatim);
    }
  }
}

}  // namespace
}  // namespace ostrel
