#pragma once
/// \file rows.hpp
/// Table rows kept as data under tests/data/: one row a line, fields separated by tabs; blank lines
/// and lines starting with "# " are left out. In a field `\n`, `\r`, `\t`, `\0` and `\\` stand for a
/// line feed, a carriage return, a tab, a zero byte and a backslash; every other byte is itself.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ostrel::test_support {

/// The rows of tests/data/`name`, each a list of its fields; no rows when the file cannot be read.
inline std::vector<std::vector<std::string>> rows(const std::string& name) {
  std::ifstream in(std::filesystem::path(OSTREL_SOURCE_DIR) / "tests/data" / name);
  std::vector<std::vector<std::string>> out;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.starts_with("# ")) continue;
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '\t') {
        fields.emplace_back();
      } else if (c == '\\' && i + 1 < line.size()) {
        const char e = line[++i];
        fields.back() += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == '0' ? '\0' : e;
      } else {
        fields.back() += c;
      }
    }
    out.push_back(std::move(fields));
  }
  return out;
}

}  // namespace ostrel::test_support
