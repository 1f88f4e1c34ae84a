#include "desktop/autostart.hpp"

#include <system_error>

namespace ostrel::desktop {

namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

bool isControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u < 0x20 && c != '\t' && c != '\n') || u == 0x7f;
}

/// One word by the Exec rules (quoting, `%%`), before the value's own escapes.
std::string execWord(const std::string& word) {
  std::string body;
  for (char c : word) {
    if (c == '%') {
      body += "%%";
      continue;
    }
    if (c == '"' || c == '`' || c == '$' || c == '\\') body += '\\';
    body += c;
  }
  const bool quote = word.empty() || word.find_first_of(kReserved) != std::string::npos;
  return quote ? '"' + body + '"' : body;
}

/// The escapes of a desktop entry's string values.
std::string escapeValue(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::filesystem::path programToRecord(std::string_view argv0, std::string_view path,
                                      const std::filesystem::path& cwd, const std::filesystem::path& front) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const auto isFront = [&](const fs::path& p) { return p.is_absolute() && fs::equivalent(p, front, ec); };
  if (argv0.empty()) return front;
  if (argv0.find('/') != std::string_view::npos) {
    const fs::path p = (cwd / argv0).lexically_normal();
    return isFront(p) ? p : front;
  }
  while (!path.empty()) {
    const std::size_t colon = path.find(':');
    const std::string_view folder = path.substr(0, colon);
    path = colon == std::string_view::npos ? std::string_view{} : path.substr(colon + 1);
    if (folder.empty()) continue;
    const fs::path p = fs::path(folder) / argv0;
    if (fs::exists(p, ec)) return isFront(p) ? p : front;
  }
  return front;
}

std::optional<std::string> execValue(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& w : words) {
    for (char c : w) {
      if (isControl(c)) return std::nullopt;
    }
    if (!line.empty()) line += ' ';
    line += execWord(w);
  }
  return escapeValue(line);
}

std::optional<std::string> autostartEntry(const std::vector<std::string>& command) {
  const std::optional<std::string> exec = execValue(command);
  if (!exec) return std::nullopt;
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Ostrel widgets\n"
         "Comment=Next up and Due soon on the desktop\n"
         "Exec=" +
         *exec +
         "\n"
         "Terminal=false\n"
         "NoDisplay=true\n"
         "X-GNOME-Autostart-enabled=true\n";
}

std::optional<std::filesystem::path> autostartPath(const char* xdgConfigHome, const char* home) {
  const std::filesystem::path file = std::filesystem::path("autostart") / "ostrel-widgets.desktop";
  if (xdgConfigHome != nullptr && *xdgConfigHome != '\0') {
    const std::filesystem::path config(xdgConfigHome);
    if (config.is_absolute()) return config / file;
  }
  if (home != nullptr && *home != '\0') {
    const std::filesystem::path h(home);
    if (h.is_absolute()) return h / ".config" / file;
  }
  return std::nullopt;
}

Result<Done, FileError> installAutostart(const std::filesystem::path& path, std::string_view text) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) return FileError{.kind = FileError::Kind::unwritable, .path = path, .reason = ec.message()};
  return AtomicFile::write(path, text);
}

Result<Removal, FileError> removeAutostart(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return Removal::absent;
  if (status.type() == std::filesystem::file_type::directory) {
    return FileError{.kind = FileError::Kind::notRegular, .path = path, .reason = "Is a directory"};
  }
  const bool removed = std::filesystem::remove(path, ec);
  if (ec) return FileError{.kind = FileError::Kind::unwritable, .path = path, .reason = ec.message()};
  return removed ? Removal::removed : Removal::absent;
}

}  // namespace ostrel::desktop
