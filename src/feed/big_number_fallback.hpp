#pragma once
/// \file big_number_fallback.hpp
/// Internal to the decoder. The fallback for documents that the parser refuses only because a number
/// in them is beyond what it holds (an integer beyond 64 bits, a number beyond a double), not because
/// they are malformed. `bigNumberFallback` checks the whole text against the JSON grammar and the
/// UTF-8 rules, without recursion, and returns a copy that the parser holds and that decodes exactly
/// as the document would if the parser could hold every number:
///  - a value under a key that no record names is replaced by `null` (it is ignored anyway);
///  - a container where the feed reads a scalar is replaced by an empty one of the same type (it is
///    the wrong type whatever it holds);
///  - a number that the parser cannot hold is rewritten: a `weight` written as an integer beyond
///    64 bits gains a fraction (it is a number, about its value); in `v` and `cards`, and for a
///    `weight` beyond a double, it becomes 0 and the failure that reading it gives is returned beside
///    the copy; anywhere else it is the wrong type, and becomes 0.
/// Keys are compared after unescaping, as the parser compares them.

#include <string>
#include <string_view>
#include <vector>

#include "base/result.hpp"
#include "feed/decode_error.hpp"

namespace ostrel::detail {

/// The details of the number failures, the same whether the parser or the fallback found them.
inline constexpr std::string_view kBeyondInt64 = "beyond the signed 64-bit range";
inline constexpr std::string_view kBeyondDouble = "beyond the range of a double";
inline constexpr std::string_view kNotIntegerLiteral = "written with a fraction or an exponent";

struct HeldCopy {
  /// The copy, with room for the parser's padding behind it (`text.capacity()`).
  std::string text;
  /// The failures of fields whose number the copy no longer holds, by path (`cards`, `due[3].weight`).
  std::vector<DecodeError> unheld;
};

/// The copy, or the `malformedJson` failure that `bytes` holds.
[[nodiscard]] Result<HeldCopy, DecodeError> bigNumberFallback(std::string_view bytes);

}  // namespace ostrel::detail
