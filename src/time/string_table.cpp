#include "time/string_table.hpp"

#include <libintl.h>

#include <clocale>

namespace ostrel {

std::string StringTable::lookup(std::string_view key) {
  // gettext answers the empty key with the catalog's header entry.
  if (key.empty()) return {};
  const std::string k(key);
  return dgettext(domain, k.c_str());
}

std::string StringTable::format(std::string_view key, const std::vector<Argument>& arguments) {
  const std::string pattern = lookup(key);
  std::string out;
  out.reserve(pattern.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      out += pattern[i];
      continue;
    }
    const std::string_view rest = std::string_view(pattern).substr(i + 1);
    if (rest.front() == '%') {
      out += '%';
      i += 1;
    } else if (rest.starts_with("@") || rest.starts_with("lld")) {
      if (next < arguments.size()) {
        const auto& a = arguments[next++];
        out += std::holds_alternative<std::string>(a) ? std::get<std::string>(a)
                                                      : std::to_string(std::get<std::int64_t>(a));
      }
      i += rest.front() == '@' ? 1 : 3;
    } else {
      out += '%';
    }
  }
  return out;
}

bool StringTable::setUp(const std::optional<std::string>& localeDirectory) {
  std::setlocale(LC_MESSAGES, "");
  bool bound = true;
  if (localeDirectory) bound = bindtextdomain(domain, localeDirectory->c_str()) != nullptr;
  bind_textdomain_codeset(domain, "UTF-8");
  return bound;
}

}  // namespace ostrel
