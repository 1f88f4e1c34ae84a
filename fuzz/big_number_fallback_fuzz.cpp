// Differential: the fallback for numbers the parser cannot hold (a grammar check and a copy the
// parser holds) must decide every input as the parser's own road does: the same feed, or the same
// kind and path of failure (and detail, outside malformed JSON). Where the parser refuses an input for
// such a number the decoder takes the fallback itself; elsewhere this holds the fallback to the parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "feed/decoder.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes{reinterpret_cast<const char*>(data), size};
  const ostrel::DecodeResult parsed = ostrel::decodeFeed(bytes);
  const ostrel::DecodeResult fallback = ostrel::detail::decodeThroughBigNumberFallback(bytes);
  if (parsed.ok() || fallback.ok()) {
    if (!(parsed == fallback)) std::abort();  // both a feed, the same one
    return 0;
  }
  const ostrel::DecodeError& a = parsed.error();
  const ostrel::DecodeError& b = fallback.error();
  // Running out of memory or the parser's size limit is no verdict on the text.
  if (a.kind == ostrel::DecodeErrorKind::tooLarge || b.kind == ostrel::DecodeErrorKind::tooLarge) return 0;
  if (a.kind != b.kind || a.path != b.path) std::abort();
  if (a.kind != ostrel::DecodeErrorKind::malformedJson && a.detail != b.detail) std::abort();
  return 0;
}
