#include "components/ground.hpp"

#include <gtest/gtest.h>

#include "components/palette.hpp"

namespace ostrel {
namespace {

TEST(Ground, IsThePlateAndTheCornerWashOfTheScheme) {
  struct Row {
    ColorScheme scheme;
    Color plate;
    double wash;
  };
  const Row rows[] = {{ColorScheme::light, Color::rgb(0.98, 0.976, 0.969), 0.12},
                      {ColorScheme::dark, Color::rgb(0.07, 0.07, 0.086), 0.32}};
  for (const Row& r : rows) {
    Environment env;
    env.colorScheme = r.scheme;
    const View ground = Ground{}.body(env);
    ASSERT_EQ(ground.children.size(), 2u);
    EXPECT_EQ(ground.children[0].args.get<Color>("color"), r.plate);
    const View& gradient = ground.children[1];
    EXPECT_EQ(gradient.args.get<std::vector<Color>>("colors"),
              (std::vector<Color>{Palette::crimson().withOpacity(r.wash), Color::clear()}));
    EXPECT_EQ(gradient.args.get<UnitPoint>("center"), UnitPoint::topTrailing);
    EXPECT_EQ(gradient.args.get<double>("startRadius"), 0);
    EXPECT_EQ(gradient.args.get<double>("endRadius"), 220);
  }
}

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
