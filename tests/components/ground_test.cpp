#include "components/ground.hpp"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

TEST(Ground, BackgroundPathFollowsTheSystemVersion) {
  const View content = Text::verbatim("face");
  struct Row {
    SystemVersion version;
    bool container;
  };
  const Row rows[] = {{{13, 0, 0}, false}, {{13, 9, 9}, false}, {{14, 0, 0}, true}, {{15, 1, 0}, true}};
  for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    for (const Row& r : rows) {
      Environment env;
      env.colorScheme = scheme;
      env.systemVersion = r.version;
      const View ground = Ground{}.view(env);
      // From 14 on the container background, with no padding of the content's own.
      const View expected = r.container
                                ? AnyView(View(content).containerBackground(ground, Alignment::center))
                                : View(content).padding().background(ground, Alignment::center);
      EXPECT_EQ(ostrelBackground(content, env), expected) << r.version.major << "." << r.version.minor;
    }
  }
}

}  // namespace
}  // namespace ostrel
