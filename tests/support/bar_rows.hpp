#pragma once
/// \file bar_rows.hpp
/// For tables whose rows are data: a file under tests/data/, one row a line, its cells apart by
/// " | " and trimmed, the first naming the table; blank lines and lines opening with `#` are left
/// out. In a cell, `\n`, `\r`, `\t`, `\s` (a space) and `\\` stand for what they name.
///
///     for (const Row& r : rowsOf("engine/schedule.rows", "current")) check(r.cells, r.where);
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace ostrel::test_support {

struct Row {
  std::string where;               ///< "file:line", for messages
  std::vector<std::string> cells;  ///< after the table's name
};

inline std::string unescaped(const std::string& cell) {
  std::string out;
  for (std::size_t i = 0; i < cell.size(); ++i) {
    const char c = cell[i] == '\\' && i + 1 < cell.size() ? cell[++i] : '\0';
    out += c == '\0' ? cell[i] : c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == 's' ? ' ' : c;
  }
  return out;
}

/// The words of a cell apart by `apart` (a list within a cell), leading spaces left out.
inline std::vector<std::string> words(const std::string& cell, char apart = ' ') {
  std::vector<std::string> out;
  std::istringstream in(cell);
  for (std::string w; std::getline(in, w, apart);) {
    if (w.find_first_not_of(' ') != std::string::npos) out.push_back(w.substr(w.find_first_not_of(' ')));
  }
  return out;
}

/// The rows of `table` in `file` (relative to tests/data/); none when the file cannot be read.
inline std::vector<Row> rowsOf(const std::string& file, const std::string& table) {
  std::ifstream in(std::string(OSTREL_SOURCE_DIR) + "/tests/data/" + file);
  std::vector<Row> rows;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    std::vector<std::string> cells;
    for (std::size_t at = 0; at <= line.size();) {
      const std::size_t bar = std::min(line.find(" | ", at), line.size());
      const std::string cell = line.substr(at, bar - at);
      const std::size_t first = cell.find_first_not_of(' '), last = cell.find_last_not_of(' ');
      cells.push_back(first == std::string::npos ? "" : unescaped(cell.substr(first, last - first + 1)));
      at = bar + 3;
    }
    if (cells.size() < 2 || cells[0] != table) continue;
    cells.erase(cells.begin());
    rows.push_back(Row{.where = file + ":" + std::to_string(number), .cells = std::move(cells)});
  }
  return rows;
}

}  // namespace ostrel::test_support
