#pragma once
/// \file printable.hpp
/// Text shown on a terminal: what a feed or a command line holds (titles, paths, decoder messages)
/// is written with its control characters escaped, so that a message stays on its one line and no
/// byte can move the cursor or recolour the screen.
///
///     err << "ostrel-widgets: error: cannot write " << printable(path) << ": " << reason << "\n";
///     // a path "a\nb.png" is shown as a\x0ab.png

#include <string>
#include <string_view>

namespace ostrel::cli {

/// `text` with every C0 control character and DEL written as `\xNN` (two lower-case hex digits);
/// all other bytes, UTF-8 included, unchanged.
[[nodiscard]] std::string printable(std::string_view text);

}  // namespace ostrel::cli
