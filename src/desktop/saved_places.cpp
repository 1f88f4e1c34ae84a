#include "desktop/saved_places.hpp"

#include <glib.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <system_error>

namespace ostrel::desktop {

namespace {

constexpr int kLimit = 100000;

struct KeyFileFree {
  void operator()(GKeyFile* k) const { g_key_file_free(k); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileFree>;

KeyFile parse(std::string_view text) {
  KeyFile file(g_key_file_new());
  if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_KEEP_COMMENTS, nullptr)) {
    return KeyFile(g_key_file_new());
  }
  return file;
}

std::optional<int> coordinate(GKeyFile* file, const char* group, const char* key) {
  GError* error = nullptr;
  const gint v = g_key_file_get_integer(file, group, key, &error);
  if (error != nullptr) {
    g_error_free(error);
    return std::nullopt;
  }
  if (v < -kLimit || v > kLimit) return std::nullopt;
  return v;
}

std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

Places placesFromText(std::string_view text) {
  const KeyFile file = parse(text);
  Places places;
  gsize count = 0;
  gchar** groups = g_key_file_get_groups(file.get(), &count);
  for (gsize i = 0; i < count; ++i) {
    const auto x = coordinate(file.get(), groups[i], "x");
    const auto y = coordinate(file.get(), groups[i], "y");
    if (x && y) places[groups[i]] = Point{.x = *x, .y = *y};
  }
  g_strfreev(groups);
  return places;
}

Places loadPlaces(const std::filesystem::path& file) {
  return placesFromText(readText(file));
}

Result<Done, FileError> savePlace(const std::filesystem::path& file, const std::string& key, Point at) {
  const KeyFile keys = parse(readText(file));
  g_key_file_set_integer(keys.get(), key.c_str(), "x", at.x);
  g_key_file_set_integer(keys.get(), key.c_str(), "y", at.y);
  gsize length = 0;
  gchar* text = g_key_file_to_data(keys.get(), &length, nullptr);
  const std::string data(text, length);
  g_free(text);
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (ec) return FileError{.kind = FileError::Kind::unwritable, .path = file, .reason = ec.message()};
  return AtomicFile::write(file, data);
}

}  // namespace ostrel::desktop
