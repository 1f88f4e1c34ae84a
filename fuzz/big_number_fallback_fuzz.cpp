// Differential: the fallback road for numbers the parser cannot hold (a grammar check and a copy
// the parser holds) must decide every input as the parser's own road does: accept or reject alike, the same
// feed when accepted, the same kind and path (and detail, outside malformed JSON) when rejected.
// Where the parser refuses the input for such a number, the decoder takes the fallback itself, so
// the two agree by construction; everywhere else this holds the grammar check to the parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "feed/decoder.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes{reinterpret_cast<const char*>(data), size};
  const ostrel::DecodeResult parsed = ostrel::decodeFeed(bytes);
  const ostrel::DecodeResult fallback = ostrel::detail::decodeThroughBigNumberFallback(bytes);
  if (parsed.ok() != fallback.ok()) std::abort();
  if (parsed.ok()) {
    if (!(*parsed == *fallback)) std::abort();
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
