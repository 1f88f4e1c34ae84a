#pragma once
// The decoder's cases kept as data under tests/data/feed/: documents and what each decodes to, one
// field a line (a document does not fit a tab-separated row). A field's bytes are written as
// they are, with two escapes: $xHH for any byte, $(N*TEXT) for TEXT repeated N times.

#include <filesystem>
#include <fstream>
#include <vector>

namespace ostrel::test_rows {

inline const std::filesystem::path kFolder = std::filesystem::path(OSTREL_SOURCE_DIR) / "tests/data/feed";

inline std::string unescape(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s.substr(i, 2) == "$x") {
      out.push_back(static_cast<char>(std::stoi(std::string(s.substr(i + 2, 2)), nullptr, 16)));
      i += 3;
    } else if (s.substr(i, 2) == "$(") {
      const std::size_t star = s.find('*', i);
      const std::size_t close = s.find(')', star);
      const std::string text = unescape(s.substr(star + 1, close - star - 1));
      for (long n = std::stol(std::string(s.substr(i + 2, star - i - 2))); n > 0; --n) out += text;
      i = close;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

/// The lines of `file`, without comments and blank lines.
inline std::vector<std::string> lines(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') out.push_back(line);
  }
  return out;
}

}  // namespace ostrel::test_rows
