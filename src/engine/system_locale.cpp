#include "engine/system_locale.hpp"

#include <cstdlib>
#include <optional>

#include "time/locale_name.hpp"

namespace ostrel {
namespace {

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

bool isName(std::string_view s) {
  if (s.empty()) return false;
  for (const char c : s) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return !(s.front() >= '0' && s.front() <= '9');
}

/// The value assigned to `name`, the last assignment winning.
std::optional<std::string> valueOf(const std::vector<std::string>& assignments, std::string_view name) {
  std::optional<std::string> value;
  for (const std::string& a : assignments) {
    if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
      value = a.substr(name.size() + 1);
    }
  }
  return value;
}

}  // namespace

std::vector<std::string> SystemLocale::assignments(std::string_view text) {
  std::vector<std::string> out;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = trimmed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.substr(0, 7) == "export ") line = trimmed(line.substr(7));
    const auto eq = line.find('=');
    if (eq == std::string_view::npos || !isName(line.substr(0, eq))) continue;
    std::string_view value = line.substr(eq + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    out.push_back(std::string(line.substr(0, eq + 1)) + std::string(value));
  }
  return out;
}

LocaleEnvironment LocaleEnvironment::ofProcess() {
  return LocaleEnvironment{
      .lcAll = std::getenv("LC_ALL"), .lcTime = std::getenv("LC_TIME"), .lang = std::getenv("LANG")};
}

bool LocaleEnvironment::setsAny() const {
  const auto set = [](const char* v) { return v != nullptr && *v != '\0'; };
  return set(lcAll) || set(lcTime) || set(lang);
}

std::string SystemLocale::from(const std::vector<std::string>& assignments, LocaleEnvironment environment) {
  if (environment.setsAny()) return LocaleName::from(environment.lcAll, environment.lcTime, environment.lang);
  const std::optional<std::string> all = valueOf(assignments, "LC_ALL");
  const std::optional<std::string> time = valueOf(assignments, "LC_TIME");
  const std::optional<std::string> lang = valueOf(assignments, "LANG");
  const auto text = [](const std::optional<std::string>& v) { return v ? v->c_str() : nullptr; };
  return LocaleName::from(text(all), text(time), text(lang));
}

}  // namespace ostrel
