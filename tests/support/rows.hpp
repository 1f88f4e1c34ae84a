#pragma once
/// \file rows.hpp
/// Tables whose rows are data, kept under tests/data/: one row a line, its fields apart by one tab;
/// blank lines, and lines that are `#` or start with `# `, are left out. In a field `""` is the empty
/// text, `\xHH` the byte HH and `\(N*TEXT)` N copies of TEXT; every other byte is itself. What `-`
/// means (absent, none) each table says. A file may hold several tables, each row naming its table
/// in its first field.
///
///     for (const Row& r : rows("engine/schedule.rows", "current")) EXPECT_EQ(shown(r[0], r[1]), r[2]) << r.where;
#include <cstddef>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace ostrel::test_support {

struct Row {
  std::string where;                ///< "file:line", for messages
  std::vector<std::string> fields;  ///< after the table's name, when the table was named

  [[nodiscard]] const std::string& operator[](std::size_t i) const { return fields.at(i); }
  [[nodiscard]] std::size_t size() const { return fields.size(); }
};

inline std::string field(const std::string& text) {
  if (text == "\"\"") return {};
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\\x") == 0 && i + 4 <= text.size()) {
      out.push_back(static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16)));
      i += 3;
    } else if (text.compare(i, 2, "\\(") == 0) {
      const std::size_t star = text.find('*', i), close = text.find(')', star);
      const std::string piece = field(text.substr(star + 1, close - star - 1));
      for (auto n = std::stoul(text.substr(i + 2, star - i - 2)); n > 0; --n) out += piece;
      i = close;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

/// The rows of tests/data/`file` (of the table `table` only, when one is named); none when the file
/// cannot be read.
inline std::vector<Row> rows(const std::string& file, const std::string& table = {}) {
  std::ifstream in(std::string(OSTREL_SOURCE_DIR) + "/tests/data/" + file);
  std::vector<Row> out;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line == "#" || line.starts_with("# ")) continue;
    Row row{.where = file + ":" + std::to_string(number), .fields = {}};
    for (std::size_t at = 0; at <= line.size();) {
      const std::size_t tab = std::min(line.find('\t', at), line.size());
      row.fields.push_back(field(line.substr(at, tab - at)));
      at = tab + 1;
    }
    if (!table.empty()) {
      if (row.fields[0] != table) continue;
      row.fields.erase(row.fields.begin());
    }
    out.push_back(std::move(row));
  }
  return out;
}

/// The fields of each row of `file`, a field written `-` absent.
inline std::vector<std::vector<std::optional<std::string>>> rowsWithAbsent(const std::string& file) {
  std::vector<std::vector<std::optional<std::string>>> out;
  for (const Row& r : rows(file)) {
    auto& fields = out.emplace_back();
    for (const std::string& f : r.fields) fields.push_back(f == "-" ? std::nullopt : std::optional(f));
  }
  return out;
}

/// The words of a field apart by `apart` (a list within a field), leading spaces left out.
inline std::vector<std::string> words(const std::string& text, char apart = ' ') {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string w; std::getline(in, w, apart);) {
    if (w.find_first_not_of(' ') != std::string::npos) out.push_back(w.substr(w.find_first_not_of(' ')));
  }
  return out;
}

}  // namespace ostrel::test_support
