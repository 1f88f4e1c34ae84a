// Runs `ostrel-widgets render` and `gallery` and checks what they print, write and return.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command.hpp"

namespace {

namespace fs = std::filesystem;

using ostrel::cli_test::Outcome;

std::string head(const fs::path& p, std::size_t n) {
  std::ifstream f(p, std::ios::binary);
  std::string s(n, '\0');
  f.read(s.data(), static_cast<std::streamsize>(n));
  s.resize(static_cast<std::size_t>(f.gcount()));
  return s;
}

class RenderCommand : public ostrel::cli_test::CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    // A feed that is switched off: every face is drawn whatever the state of the machine's feed.
    std::ofstream(dir_ / "off.json") << R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z"})";
  }
};

const std::string kPng = "\x89PNG\r\n\x1a\n";

TEST_F(RenderCommand, WritesPngAndSvgAndPrintsThePath) {
  for (const char* name : {"face.png", "face.SVG"}) {
    const Outcome r = run(
        std::string("render --kind DueSoon --family systemLarge --scheme dark --feed off.json -o ") + name);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(name) + "\n");
    EXPECT_EQ(r.err, "");
  }
  EXPECT_EQ(head(dir_ / "face.png", 8), kPng);
  EXPECT_EQ(std::system(("xmllint --noout '" + (dir_ / "face.SVG").string() + "'").c_str()), 0);
}

TEST_F(RenderCommand, GalleryDefaultsToGalleryPng) {
  const Outcome r = run("gallery --feed off.json --scale 1");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "gallery.png\n");
  EXPECT_EQ(head(dir_ / "gallery.png", 8), kPng);
}

}  // namespace
