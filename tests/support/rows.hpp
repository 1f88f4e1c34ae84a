#pragma once
/// \file rows.hpp
/// Reads a table of rows from tests/data/ (tests/data/time/README.md: tab-separated fields, "-"
/// absent, "\"\"" empty, "\xHH" a byte; blank lines and "#" comments skipped).
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace ostrel::test_support {

using Field = std::optional<std::string>;
using Row = std::vector<Field>;

inline Field field(const std::string& text) {
  if (text == "-") return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < text.size() && text != "\"\""; ++i) {
    const bool escape = text.compare(i, 2, "\\x") == 0 && i + 3 < text.size();
    out.push_back(escape ? static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16)) : text[i]);
    if (escape) i += 3;
  }
  return out;
}

/// The rows of tests/data/`file`; a missing or empty file fails the test.
inline std::vector<Row> rows(const std::string& file) {
  std::ifstream in(std::string(OSTREL_SOURCE_DIR) + "/tests/data/" + file);
  std::vector<Row> out;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Row& row = out.emplace_back();
    for (std::string text; std::getline(fields, text, '\t');) row.push_back(field(text));
  }
  EXPECT_FALSE(out.empty()) << file;
  return out;
}

}  // namespace ostrel::test_support
