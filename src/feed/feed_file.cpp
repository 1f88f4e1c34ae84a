#include "feed/feed_file.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <simdjson.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

#include "feed/decoder.hpp"

namespace ostrel {
namespace {

/// The user database's home field for the real user, or nothing when there is no record or field.
/// Uses the reentrant lookup, since loads may run on several threads at once.
std::optional<std::string> userDatabaseHome() {
  const long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 16384);
  for (;;) {
    passwd record{};
    passwd* found = nullptr;
    const int rc = getpwuid_r(getuid(), &record, buffer.data(), buffer.size(), &found);
    if (rc == ERANGE && buffer.size() < (std::size_t{1} << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (rc != 0 || found == nullptr || found->pw_dir == nullptr) return std::nullopt;
    return std::string(found->pw_dir);
  }
}

/// Closes a descriptor when it goes out of scope.
struct Descriptor {
  int fd;
  explicit Descriptor(int f) : fd(f) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

std::string reason(int error) {
  return std::generic_category().message(error);
}

/// Reads the whole regular file at `file` into `out` (its first `size` bytes), or says why not.
bool readWhole(const std::filesystem::path& file, simdjson::padded_string& out, std::size_t& size,
               std::string& why) {
  const Descriptor d{::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  if (d.fd < 0) {
    why = reason(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(d.fd, &st) != 0) {
    why = reason(errno);
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    why = reason(EISDIR);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    why = "not a regular file";
    return false;
  }
  // The size is a hint: the file may grow or shrink while it is read. One spare byte tells the end
  // from a full buffer without a second read in the common case.
  const auto allocate = [&why](std::size_t capacity) {
    simdjson::padded_string s{capacity};
    if (s.data() == nullptr) why = "out of memory";
    return s;
  };
  out = allocate(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 1);
  if (out.data() == nullptr) return false;
  size = 0;
  for (;;) {
    if (size == out.size()) {
      simdjson::padded_string bigger = allocate(out.size() * 2);
      if (bigger.data() == nullptr) return false;
      std::memcpy(bigger.data(), out.data(), size);
      out = std::move(bigger);
    }
    const ssize_t n = ::read(d.fd, out.data() + size, out.size() - size);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      why = reason(errno);
      return false;
    }
    size += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::filesystem::path FeedFile::locate(const std::optional<std::string>& userHome,
                                       const char* environmentHome) {
  std::filesystem::path home = userHome
                                   ? std::filesystem::path(*userHome)
                                   : std::filesystem::path(environmentHome != nullptr ? environmentHome : "");
  return home / "Library" / "Application Support" / OSTREL_APP_ID / "widgets" / "widget.json";
}

std::filesystem::path FeedFile::url() {
  try {
    return locate(userDatabaseHome(), std::getenv("HOME"));  // NOLINT(concurrency-mt-unsafe): read only
  } catch (const std::bad_alloc&) {
    return {};
  }
}

FeedReport FeedFile::inspect(const std::filesystem::path& file) {
  try {
    simdjson::padded_string text;
    std::size_t size = 0;
    std::string why;
    if (!readWhole(file, text, size, why)) return FeedReport{Loaded::missing(), ReadError{std::move(why)}};
    DecodeResult decoded = decodeFeed(std::move(text), size);
    if (!decoded) return FeedReport{Loaded::missing(), decoded.error()};
    if (decoded->v != 1) return FeedReport{Loaded::missing(), OtherVersion{decoded->v}};
    if (!decoded->enabled) return FeedReport{Loaded::off(), std::monostate{}};
    return FeedReport{Loaded::feed(std::move(decoded).value()), std::monostate{}};
  } catch (const std::bad_alloc&) {
    return FeedReport{Loaded::missing(), ReadError{"out of memory"}};
  }
}

Loaded FeedFile::load(const std::filesystem::path& file) {
  return inspect(file).loaded;
}

Loaded FeedFile::load() {
  return load(url());
}

}  // namespace ostrel
