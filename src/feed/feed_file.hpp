#pragma once
/// \file feed_file.hpp
/// `FeedFile`: where the feed document lies and how it is loaded into a `Loaded` value.
///
///     Loaded now = FeedFile::load();                 // the fixed location
///     Loaded test = FeedFile::load("/tmp/x.json");   // any path (tests, --feed)
///
/// Only regular files (after following links) are read; a directory, FIFO, socket or device at the
/// location is `missing` at once, without blocking and without reading.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "feed/decode_error.hpp"
#include "feed/loaded.hpp"

namespace ostrel {

/// The file could not be read: why ("No such file or directory", "not a regular file").
struct ReadError {
  std::string reason;
  friend bool operator==(const ReadError&, const ReadError&) = default;
};

/// The document decoded, but its version is not 1: the version found.
struct OtherVersion {
  std::int64_t v;
  friend bool operator==(const OtherVersion&, const OtherVersion&) = default;
};

/// What loading one file came to, with the reason when it is `missing` (`std::monostate` for `feed`
/// and `off`).
struct FeedReport {
  Loaded loaded;
  std::variant<std::monostate, ReadError, DecodeError, OtherVersion> reason;
};

struct FeedFile {
  /// home/Library/Application Support/<app id>/widgets/widget.json. Never fails.
  [[nodiscard]] static std::filesystem::path url();
  /// The location under a home directory found from the user database's home field (`userHome`,
  /// nothing when there is no record or no field) or else the HOME variable (`environmentHome`,
  /// null when unset; then the location is relative). A present but empty `userHome` is used as it is.
  [[nodiscard]] static std::filesystem::path locate(const std::optional<std::string>& userHome,
                                                    const char* environmentHome);
  /// Loads the document at `url()`. Never fails: every problem is `missing`.
  [[nodiscard]] static Loaded load();
  /// Loads the document at `file`: read whole (regular files only), decode, version test, switch test.
  [[nodiscard]] static Loaded load(const std::filesystem::path& file);
  /// As `load(file)`, keeping the reason for `missing`.
  [[nodiscard]] static FeedReport inspect(const std::filesystem::path& file);
};

}  // namespace ostrel
