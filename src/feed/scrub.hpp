#pragma once
/// \file scrub.hpp
/// Internal to the decoder. A second, slower road for documents that the fast parser refuses only for
/// its own limits (nesting deeper than it tracks, numbers it cannot hold), not because they are
/// malformed. `scrubFeed` checks the whole text against the JSON grammar without recursion and
/// returns a copy in which every value under a key that the feed does not name is replaced by `null`;
/// such a value is ignored anyway, so the copy decodes to the same feed.

#include <optional>
#include <string>
#include <string_view>

namespace ostrel::detail {

/// The scrubbed copy, or nothing when `bytes` is not well-formed JSON (grammar or UTF-8).
[[nodiscard]] std::optional<std::string> scrubFeed(std::string_view bytes);

}  // namespace ostrel::detail
