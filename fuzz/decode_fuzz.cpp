// Bytes in: the decoder must not crash, and decoding the same bytes again, in place or copied, gives
// an equal result.
#include <simdjson.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "feed/decoder.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes{reinterpret_cast<const char*>(data), size};
  const ostrel::DecodeResult first = ostrel::decodeFeed(bytes);
  const ostrel::DecodeResult second = ostrel::decodeFeed(bytes);
  std::string padded{bytes};
  padded.reserve(size + simdjson::SIMDJSON_PADDING);
  const ostrel::DecodeResult third = ostrel::decodeFeed(simdjson::padded_string_view(padded));
  if (!(first == second) || !(first == third)) std::abort();
  return 0;
}
