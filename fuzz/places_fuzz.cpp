// Key files of any bytes as the widgets' saved places: reading never fails, every place it keeps is
// within the bounds, and writing the places back and reading them again gives the same places.

#include <glib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "desktop/saved_places.hpp"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ostrel::desktop::Places places = ostrel::desktop::placesFromText(text);
  GKeyFile* again = g_key_file_new();
  for (const auto& [key, at] : places) {
    check(at.x >= -100000 && at.x <= 100000 && at.y >= -100000 && at.y <= 100000);
    g_key_file_set_integer(again, key.c_str(), "x", at.x);
    g_key_file_set_integer(again, key.c_str(), "y", at.y);
  }
  gsize length = 0;
  gchar* written = g_key_file_to_data(again, &length, nullptr);
  check(ostrel::desktop::placesFromText(std::string_view(written, length)) == places);
  g_free(written);
  g_key_file_free(again);
  return 0;
}
