// Bytes in: the decoder must not crash, and decoding the same bytes again (also through the padded
// entry point) gives an equal result.
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
  padded.append(ostrel::kDecodePadding, '\0');
  const ostrel::DecodeResult third = ostrel::decodeFeedPadded(std::string_view{padded.data(), size});
  if (!(first == second) || !(first == third)) std::abort();
  return 0;
}
