// Bytes in: the decoder must not crash; decoding the same bytes again, in place or copied, gives an
// equal result; and the fallback for numbers the parser cannot hold (a grammar check and a copy the
// parser holds) decides every input as the parser's own road does: the same feed, or the same kind
// and path of failure (and detail, outside malformed JSON).
#include <simdjson.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "feed/decoder.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ostrel;
  const std::string_view bytes{reinterpret_cast<const char*>(data), size};
  const DecodeResult first = decodeFeed(bytes);
  std::string padded{bytes};
  padded.reserve(size + simdjson::SIMDJSON_PADDING);
  if (!(first == decodeFeed(bytes)) || !(first == decodeFeed(simdjson::padded_string_view(padded))))
    std::abort();
  const DecodeResult fallback = detail::decodeThroughBigNumberFallback(bytes);
  if (first.ok() || fallback.ok()) {
    if (!(first == fallback)) std::abort();
    return 0;
  }
  const DecodeError &a = first.error(), &b = fallback.error();
  // Running out of memory or the parser's size limit is no verdict on the text.
  if (a.kind == DecodeErrorKind::tooLarge || b.kind == DecodeErrorKind::tooLarge) return 0;
  if (a.kind != b.kind || a.path != b.path) std::abort();
  if (a.kind != DecodeErrorKind::malformedJson && a.detail != b.detail) std::abort();
  return 0;
}
