#pragma once
/// \file feed_file.hpp
/// `FeedFile`: where the feed document lies and how it is loaded into a `Loaded` value.
///
///     Loaded now = FeedFile::load();                 // the fixed location
///     Loaded test = FeedFile::load("/tmp/x.json");   // any path (tests, --feed)

#include <filesystem>

#include "feed/loaded.hpp"

namespace ostrel {

struct FeedFile {
  /// home/Library/Application Support/<app id>/widgets/widget.json. Never fails.
  [[nodiscard]] static std::filesystem::path url();
  /// Loads the document at `url()`. Never fails: every problem is `missing`.
  [[nodiscard]] static Loaded load();
  /// Loads the document at `file`: read whole (regular files only), decode, version test, switch test.
  [[nodiscard]] static Loaded load(const std::filesystem::path& file);
};

}  // namespace ostrel
