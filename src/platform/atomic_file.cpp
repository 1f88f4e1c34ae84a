#include "platform/atomic_file.hpp"

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

}  // namespace

Result<Done, FileError> AtomicFile::write(const std::filesystem::path& path, std::string_view bytes,
                                          Sync sync) {
  // Follow a link to the file it names, so the link itself survives the rename.
  std::error_code ec;
  std::filesystem::path target = path;
  if (std::filesystem::is_symlink(path, ec)) {
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target = resolved;
  }
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode))
      return failure(FileError::Kind::notRegular, path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  } else if (errno != ENOENT) {
    return failure(FileError::Kind::unwritable, path, errno);
  }

  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  // A fresh name beside the target, created exclusively with mode 0644 (less the umask).
  Temporary tmp;
  std::random_device random;
  for (int attempt = 0; attempt < 100 && tmp.fd < 0; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", random());
    std::string leaf = ".";
    leaf.append(target.filename().string()).append(suffix);
    std::string name = (folder / leaf).string();
    tmp.fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
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
