// Golden tree dumps of every face: each kind in each family it offers, in each situation that face
// can tell apart from the others (tests/data/face-situations.tsv), in both schemes. The files live in
// tests/golden/trees/; UPDATE_GOLDEN=1 rewrites them (then read the diff).

#include "support/golden.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "faces.hpp"
#include "support/rows.hpp"
#include "ui/text_dump.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

struct Face {
  std::string kind, situation, feed, date;
  WidgetFamily family;
  ColorScheme scheme;
  int macos;
  [[nodiscard]] std::string fileName() const {
    return kind + "-" + name(family) + "-" + situation + "-" + name(scheme) + ".txt";
  }
  [[nodiscard]] std::string dump() const {
    Environment env = faceEnvironment(family, scheme);
    env.systemVersion.major = macos;
    return dumpText(faceOf(kind, testing_faces::situation(feed, date), env));
  }
};

std::vector<Face> matrix() {
  std::vector<Face> out;
  for (const auto& row : test_support::rows("face-situations.tsv")) {
    for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
      for (WidgetFamily f : w.families) {
        const std::string face = w.kind + "-" + name(f);
        if (row[3] != "every" && (" " + row[3] + " ").find(" " + face + " ") == std::string::npos) continue;
        for (ColorScheme c : {ColorScheme::light, ColorScheme::dark})
          out.push_back({w.kind, row[0], row[1], row[2], f, c, row.size() > 4 ? std::stoi(row[4]) : 14});
      }
    }
  }
  return out;
}

void PrintTo(const Face& f, std::ostream* os) {
  *os << f.fileName();
}

class GoldenTrees : public testing::TestWithParam<Face> {};

TEST_P(GoldenTrees, MatchTheReviewedDump) {
  const std::string actual = GetParam().dump();
  const std::filesystem::path path = test_support::goldenPath("trees/" + GetParam().fileName());
  if (test_support::updatingGoldens()) {
    ASSERT_TRUE(test_support::writeBytes(path, actual)) << path;
    GTEST_SKIP() << "rewrote " << path;
  }
  const auto expected = test_support::readBytes(path);
  ASSERT_TRUE(expected) << "no golden file " << path << " (run with UPDATE_GOLDEN=1)";
  EXPECT_EQ(actual, *expected) << path;
}

INSTANTIATE_TEST_SUITE_P(Faces, GoldenTrees, testing::ValuesIn(matrix()), [](const auto& param) {
  std::string n = param.param.fileName();
  n = n.substr(0, n.size() - 4);
  for (char& ch : n) {
    if (ch == '-') ch = '_';
  }
  return n;
});

TEST(GoldenTrees, EachSituationOfAFaceShowsSomethingTheOthersDoNotAndEveryFileBelongsToOne) {
  std::map<std::string, std::string> seen;  // dump -> the golden that shows it
  std::set<std::string> expected;
  for (const Face& f : matrix()) {
    const auto [at, fresh] = seen.emplace(f.dump(), f.fileName());
    EXPECT_TRUE(fresh) << f.fileName() << " is the same as " << at->second;
    expected.insert(f.fileName());
  }
  EXPECT_EQ(expected.size(), 82u);
  for (const auto& entry : std::filesystem::directory_iterator(test_support::goldenPath("trees"))) {
    EXPECT_TRUE(expected.contains(entry.path().filename().string()))
        << entry.path().filename() << " is drawn by no face; remove it";
  }
}

}  // namespace
}  // namespace ostrel
