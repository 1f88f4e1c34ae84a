#pragma once
/// \file decoder.hpp
/// The strict decoder: bytes of a feed document in, a `Feed` or a `DecodeError` out. All or nothing;
/// keys are read in declaration order, so the first failure is the one reported.
///
///     auto r = decodeFeed(R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z"})");
///     if (r) use(*r); else report(r.error().path, r.error().message);

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "feed/feed.hpp"
#include "platform/result.hpp"

namespace ostrel {

/// Why a document failed: where (`classes[2].start`, empty for the document itself) and what.
struct DecodeError {
  std::string path;
  std::string message;
  friend bool operator==(const DecodeError&, const DecodeError&) = default;
};

/// A decoded feed or the first failure.
using DecodeResult = Result<Feed, DecodeError>;

/// Decodes a whole document. Never throws; malformed JSON anywhere (also under keys that are
/// otherwise ignored) fails the document.
[[nodiscard]] DecodeResult decodeFeed(std::string_view bytes);

/// Readable bytes that `decodeFeedPadded` needs after the document.
inline constexpr std::size_t kDecodePadding = 64;

/// As `decodeFeed`, for a document followed in memory by at least `kDecodePadding` readable bytes
/// (their values do not matter); saves copying the document.
[[nodiscard]] DecodeResult decodeFeedPadded(std::string_view bytes);

/// As `decodeFeedPadded`, taking the text (`size` bytes, then kDecodePadding more) and releasing it
/// as soon as it is parsed, before the typed values are built; lowers the peak for large files.
[[nodiscard]] DecodeResult decodeFeedPadded(std::unique_ptr<char[]> text, std::size_t size);

}  // namespace ostrel
