// Two real users and a sticky folder open to all, like /tmp: one plants links under the names the
// other's outputs use; the other's files stay intact. Acting as both users needs root, as in CI.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "command.hpp"
#include "support/golden.hpp"

namespace ostrel::cli_test {
namespace {

namespace fs = std::filesystem;

/// The words that run a command as the account `name`, made (without a home) when missing.
std::vector<std::string> as(const char* name) {
  if (::getpwnam(name) == nullptr) {
    (void)test_support::capture(
        {"useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", name}, {});
  }
  const passwd* pw = ::getpwnam(name);
  if (pw == nullptr) return {};
  return {"setpriv", "--reuid=" + std::to_string(pw->pw_uid), "--regid=" + std::to_string(pw->pw_gid),
          "--clear-groups"};
}

TEST_F(CommandTest, AnotherUsersLinkInASharedFolderNeverLeadsAWriteToTheVictimsFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as two users needs root";
  const std::vector<std::string> victim = as("ostrel-test");
  const std::vector<std::string> attacker = as("nobody");
  ASSERT_FALSE(victim.empty() || attacker.empty());
  const passwd* owner = ::getpwnam("ostrel-test");
  const fs::path home = dir_ / "home";
  const fs::path shared = dir_ / "shared";
  const fs::path notes = home / "notes.txt";
  ::chmod(dir_.c_str(), 0755);
  fs::create_directory(home);
  fs::create_directory(shared);
  ASSERT_EQ(::chown(home.c_str(), owner->pw_uid, owner->pw_gid), 0);
  ::chmod(home.c_str(), 0700);
  ::chmod(shared.c_str(), 01777);
  write("widget.json", R"({"v":1,"enabled":false,"at":"2026-03-02T09:00:00Z"})");
  const std::map<std::string, std::string> env{{"HOME", home.string()}, {"XDG_CACHE_HOME", home.string()}};
  struct Row {
    const char* what;
    fs::path link;
    bool watch;     // the victim's command: watch into the folder, else render -o the link
    int status;     // 1: the link is the other user's, and refused
    bool followed;  // the notes hold the picture: the victim's own link, in the victim's folder
  };
  const Row rows[] = {
      {"the other user's link in the shared PNG folder", shared / "NextUp-systemSmall.png", true, 1, false},
      {"the other user's link named by -o in the shared folder", shared / "face.png", false, 1, false},
      {"the victim's own link in the shared folder", shared / "mine.png", false, 0, false},
      {"the victim's own link in the victim's folder", home / "link.png", false, 0, true},
  };
  for (const Row& row : rows) {
    write("notes.txt", "my notes");
    fs::rename(dir_ / "notes.txt", notes);
    ASSERT_EQ(::chown(notes.c_str(), owner->pw_uid, owner->pw_gid), 0);
    std::error_code ec;
    fs::remove(row.link, ec);
    std::vector<std::string> ln = row.status != 0 ? attacker : victim;
    ln.insert(ln.end(), {"ln", "-s", notes.string(), row.link.string()});
    ASSERT_EQ(test_support::capture(ln, {}).status, 0) << row.what;
    const Outcome r = row.watch
                          ? run({"ostrel-widgets", "watch", "--png-dir", shared.string(), "--widget",
                                 "NextUp:systemSmall", "--feed", "widget.json", "--scale", "1", "--now",
                                 "2026-03-02T10:00:00Z", "--speed", "max", "--until", "2026-03-02T10:00:30Z"},
                                env, victim)
                          : run({"ostrel-widgets", "render", "--kind", "NextUp", "--family", "systemSmall",
                                 "--feed", "widget.json", "--scale", "1", "-o", row.link.string()},
                                env, victim);
    EXPECT_EQ(r.status, row.status) << row.what << ": " << r.err;
    const std::string held = test_support::readBytes(notes).value_or("");
    EXPECT_EQ(held.starts_with("\x89PNG"), row.followed) << row.what;
    EXPECT_TRUE(row.followed || held == "my notes") << row.what << ": the notes were overwritten";
    EXPECT_EQ(fs::is_symlink(row.link), row.status != 0 || row.followed) << row.what;
  }
}

}  // namespace
}  // namespace ostrel::cli_test
