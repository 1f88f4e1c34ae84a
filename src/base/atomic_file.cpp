#include "base/atomic_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

namespace ostrel {
namespace {

FileError failure(FileError::Kind kind, const std::filesystem::path& path, int error) {
  return FileError{.kind = kind, .path = path, .reason = std::strerror(error)};
}

/// Closes a descriptor and removes the temporary file unless released.
struct Temporary {
  int fd = -1;
  std::string name;
  bool keep = false;
  Temporary() = default;
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() {
    if (fd >= 0) ::close(fd);
    if (!keep && !name.empty()) ::unlink(name.c_str());
  }
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

/// The folder holding `path`'s name.
std::filesystem::path folderOf(const std::filesystem::path& path) {
  std::filesystem::path folder = path.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

/// Where the user's own links lead from `path`: each link is followed while it and its folder
/// belong to the effective user (at most 40, as the kernel's own limit).
std::filesystem::path throughOwnLinks(std::filesystem::path path) {
  const uid_t user = ::geteuid();
  for (int hop = 0; hop < 40; ++hop) {
    struct stat link {};
    struct stat folder {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode) || link.st_uid != user) break;
    if (::stat(folderOf(path).c_str(), &folder) != 0 || folder.st_uid != user) break;
    std::error_code ec;
    const std::filesystem::path to = std::filesystem::read_symlink(path, ec);
    if (ec) break;
    path = to.is_absolute() ? to : folderOf(path) / to;
  }
  return path;
}

}  // namespace

Result<Done, FileError> AtomicFile::write(const std::filesystem::path& path, std::string_view bytes,
                                          Sync sync, Links links) {
  const std::filesystem::path target = links == Links::followOwn ? throughOwnLinks(path) : path;
  // What is at the name now: a regular file or a link is replaced; anything else is refused.
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
      return failure(FileError::Kind::notRegular, path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  } else if (errno != ENOENT) {
    return failure(FileError::Kind::unwritable, path, errno);
  }

  const std::filesystem::path folder = folderOf(target);
  // A fresh name beside the target, created exclusively with mode 0644 (less the umask).
  Temporary tmp;
  std::random_device random;
  for (int attempt = 0; attempt < 100 && tmp.fd < 0; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", random());
    std::string leaf = ".";
    leaf.append(target.filename().string()).append(suffix);
    std::string name = (folder / leaf).string();
    tmp.fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (tmp.fd >= 0) tmp.name = std::move(name);
    if (tmp.fd < 0 && errno != EEXIST) return failure(FileError::Kind::unwritable, path, errno);
  }
  if (tmp.fd < 0) return failure(FileError::Kind::unwritable, path, EEXIST);
  if (!writeAll(tmp.fd, bytes) || (sync == Sync::durable && ::fsync(tmp.fd) != 0))
    return failure(FileError::Kind::unwritable, path, errno);
  const int fd = tmp.fd;
  tmp.fd = -1;
  if (::close(fd) != 0) return failure(FileError::Kind::unwritable, path, errno);
  if (::rename(tmp.name.c_str(), target.c_str()) != 0)
    return failure(FileError::Kind::unwritable, path, errno);
  tmp.keep = true;
  return Done{};
}

}  // namespace ostrel
