#pragma once
/// \file atomic_file.hpp
/// Writing a whole file so that a reader sees the old content or the new, never a part: the bytes
/// go to a temporary file in the target's folder, are flushed to disk, and the temporary file is
/// renamed over the target only when complete. On any failure the temporary file is removed and the
/// target is untouched.
///
///     if (auto w = AtomicFile::write("face.png", png); !w) return fail(w.error().message);

#include <filesystem>
#include <string>
#include <string_view>

#include "base/result.hpp"

namespace ostrel {

/// Why a file could not be written.
struct FileError {
  enum class Kind {
    notRegular,  ///< the target exists and is not a regular file (a folder, FIFO, device, socket)
    unwritable,  ///< the folder is missing or not writable, the disk is full, or a write failed
  };
  Kind kind = Kind::unwritable;
  std::filesystem::path path;  ///< the target
  std::string reason;          ///< the system's words, e.g. "No space left on device"
  friend bool operator==(const FileError&, const FileError&) = default;
};

struct AtomicFile {
  /// Whether the bytes must reach the disk before the file is replaced.
  enum class Sync {
    durable,  ///< flushed to disk first: after a crash the file holds the old bytes or the new
    visible,  ///< not waited for: readers still see whole files, but a crash may lose the new bytes
              ///< (for files rewritten every minute, such as a face shown by another program)
  };

  /// What a symbolic link at the target's name stands for.
  enum class Links {
    /// A file the user named (`-o FILE`): a link is followed only when the link and the folder
    /// holding it both belong to the user (the effective user), link after link; any other link is
    /// replaced like a file. In a shared folder (/tmp), a link another user planted is never followed.
    followOwn,
    /// A file the program names itself (a face in the PNG folder): a link there is replaced like a
    /// file; what it points to is never touched.
    replace,
  };

  /// Replaces (or creates) `path` with `bytes`; `links` says whether a link at `path` is followed.
  /// The new file has mode 0644 less the process's umask. The temporary file is created beside
  /// the file replaced, exclusively (never through a link), and renamed over its name.
  [[nodiscard]] static Result<Done, FileError> write(const std::filesystem::path& path,
                                                     std::string_view bytes, Sync sync = Sync::durable,
                                                     Links links = Links::followOwn);
};

}  // namespace ostrel
