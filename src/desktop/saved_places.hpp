#pragma once
/// \file saved_places.hpp
/// Where the user dragged each widget, kept between runs in a small key file,
/// `$XDG_CONFIG_HOME/ostrel-widgets/places.conf`: one group per widget, named `KIND:FAMILY`, with
/// the window's `x` and `y` in points on the screen.
///
///     [NextUp:systemSmall]
///     x=1040
///     y=300
///
///     Places places = placesFromText(text);            // what a file holds; what is unreadable is left out
///     auto done = savePlace(file, "NextUp:systemSmall", {1040, 300});

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "base/atomic_file.hpp"
#include "base/result.hpp"

namespace ostrel::desktop {

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

/// Each widget's place, by `KIND:FAMILY`.
using Places = std::map<std::string, Point>;

/// The places a key file's text holds: a group with both keys as integers within ±100000 counts,
/// anything else is left out (an unreadable file gives none).
[[nodiscard]] Places placesFromText(std::string_view text);

/// The places in `file` (none when it is missing or unreadable).
[[nodiscard]] Places loadPlaces(const std::filesystem::path& file);

/// Records `at` for `key` in `file`, keeping the other places and creating the folder; the file is
/// replaced whole.
[[nodiscard]] Result<Done, FileError> savePlace(const std::filesystem::path& file, const std::string& key,
                                                Point at);

}  // namespace ostrel::desktop
