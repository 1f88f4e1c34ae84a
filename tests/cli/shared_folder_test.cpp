// Two real users and a sticky folder open to all, like /tmp: one plants links under the names the
// other's outputs use; the other's files stay intact. Acting as both users needs root, as in CI.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "command.hpp"

namespace {

namespace fs = std::filesystem;
using ostrel::cli_test::Outcome;

struct User {
  uid_t uid = 0;
  gid_t gid = 0;
  [[nodiscard]] std::vector<std::string> as() const {
    return {"setpriv", "--reuid=" + std::to_string(uid), "--regid=" + std::to_string(gid), "--clear-groups"};
  }
};

/// The account `name`, made (without a home) when missing.
User account(const char* name) {
  if (::getpwnam(name) == nullptr) {
    const std::string add =
        std::string("useradd --system --no-create-home --shell /usr/sbin/nologin ") + name;
    if (std::system((add + " >/dev/null 2>&1").c_str()) != 0) return {};
  }
  const passwd* pw = ::getpwnam(name);
  return pw == nullptr ? User{} : User{pw->pw_uid, pw->pw_gid};
}

class SharedFolder : public ostrel::cli_test::CommandTest {};

TEST_F(SharedFolder, AnotherUsersLinkNeverLeadsAWriteToTheVictimsFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as two users needs root";
  const User victim = account("ostrel-test");
  const User attacker = account("nobody");
  ASSERT_NE(victim.uid, 0u);
  ASSERT_NE(attacker.uid, 0u);
  ::chmod(dir_.c_str(), 0755);
  const fs::path home = dir_ / "home";
  const fs::path shared = dir_ / "shared";
  const fs::path notes = home / "notes.txt";
  fs::create_directory(home);
  fs::create_directory(shared);
  ASSERT_EQ(::chown(home.c_str(), victim.uid, victim.gid), 0);
  ::chmod(home.c_str(), 0700);
  ::chmod(shared.c_str(), 01777);
  write("widget.json", R"({"v":1,"enabled":false,"at":"2026-03-02T09:00:00Z"})");
  const std::vector<std::string> env{"HOME=" + home.string(), "XDG_CACHE_HOME=" + home.string()};
  const std::vector<std::string> render{"render", "--kind",      "NextUp",  "--family", "systemSmall",
                                        "--feed", "widget.json", "--scale", "1",        "-o"};

  struct Row {
    const char* what;
    const User* planter;
    fs::path link;
    std::vector<std::string> args;  // the victim's command
    int status;
    bool followed;  // the notes hold the picture: the victim's own link, in the victim's folder
  };
  const Row rows[] = {
      {"the other user's link in the shared PNG folder",
       &attacker,
       shared / "NextUp-systemSmall.png",
       {"watch", "--png-dir", shared.string(), "--widget", "NextUp:systemSmall", "--feed", "widget.json",
        "--scale", "1", "--now", "2026-03-02T10:00:00Z", "--speed", "max", "--until", "2026-03-02T10:00:30Z"},
       1,
       false},
      {"the other user's link named by -o in the shared folder",
       &attacker,
       shared / "face.png",
       {},
       1,
       false},
      {"the victim's own link in the shared folder", &victim, shared / "mine.png", {}, 0, false},
      {"the victim's own link in the victim's folder", &victim, home / "link.png", {}, 0, true},
  };
  for (const Row& row : rows) {
    write("notes.txt", "my notes");
    fs::rename(dir_ / "notes.txt", notes);
    ASSERT_EQ(::chown(notes.c_str(), victim.uid, victim.gid), 0);
    std::error_code ec;
    fs::remove(row.link, ec);
    std::vector<std::string> ln = row.planter->as();
    ln.insert(ln.end(), {"ln", "-s", notes.string(), row.link.string()});
    ASSERT_EQ(spawn(ln).status, 0) << row.what;

    std::vector<std::string> args = row.args.empty() ? render : row.args;
    if (row.args.empty()) args.push_back(row.link.string());
    const Outcome r = runArgs(args, victim.as(), env);
    EXPECT_EQ(r.status, row.status) << row.what << ": " << r.err;
    std::ifstream in(notes, std::ios::binary);
    const std::string held{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(held.rfind("\x89PNG", 0) == 0, row.followed) << row.what;
    if (!row.followed) {
      EXPECT_TRUE(held == "my notes") << row.what << ": the notes were overwritten";
    }
    EXPECT_EQ(fs::is_symlink(row.link), row.status != 0 || row.followed) << row.what;
  }
}

}  // namespace
