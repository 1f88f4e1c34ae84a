#pragma once
/// \file decoder.hpp
/// The strict decoder: bytes of a feed document in, a `Feed` or the first `DecodeError` out. All or
/// nothing; keys are read in declaration order, so the first failure in that order is the one
/// reported.
///
///     auto r = decodeFeed(R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z"})");
///     if (r) use(*r); else report(r.error().path, message(r.error()));
///
/// Text that the parser reads in place (it reads a few bytes past the end) comes as simdjson's padded
/// string; callers of those overloads include <simdjson.h>.

#include <cstddef>
#include <string_view>

#include "base/result.hpp"
#include "feed/decode_error.hpp"
#include "feed/feed.hpp"

namespace simdjson {
struct padded_string;
class padded_string_view;
}  // namespace simdjson

namespace ostrel {

using DecodeResult = Result<Feed, DecodeError>;

/// Decodes a whole document (copied once for the parser). Never throws; malformed JSON anywhere,
/// also under keys that are otherwise ignored, fails the document.
[[nodiscard]] DecodeResult decodeFeed(std::string_view bytes);

/// As above, for text already padded for the parser; nothing is copied.
[[nodiscard]] DecodeResult decodeFeed(const simdjson::padded_string_view& text);

/// As above for the first `size` bytes of `text`, which is taken over and released as soon as it is
/// parsed, before the typed values are built: a large document's text, parsed form and typed form
/// are never all held at once.
[[nodiscard]] DecodeResult decodeFeed(simdjson::padded_string&& text, std::size_t size);

namespace detail {

/// Decodes by the road taken when the parser refuses a number that it cannot hold
/// (big_number_fallback.hpp), whatever the text. For the tests and the differential fuzz target,
/// which hold it to the parser's own verdict.
[[nodiscard]] DecodeResult decodeThroughBigNumberFallback(std::string_view bytes);

}  // namespace detail

}  // namespace ostrel
