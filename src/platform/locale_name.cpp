#include "platform/locale_name.hpp"

#include <unicode/locid.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace ostrel {

bool LocaleName::isKnown(const std::string& name) {
  if (name.empty() || name.size() > 64) return false;
  for (const char c : name) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                         c == '_' || c == '-' || c == '@' || c == '=' || c == ';';
    if (!allowed) return false;
  }
  const icu::Locale locale(name.c_str());
  if (locale.isBogus() || locale.getLanguage()[0] == '\0') return false;

  bool language = false;
  std::int32_t count = 0;
  const icu::Locale* available = icu::Locale::getAvailableLocales(count);
  for (std::int32_t i = 0; i < count && !language; ++i) {
    language = std::strcmp(available[i].getLanguage(), locale.getLanguage()) == 0;
  }
  if (!language) return false;

  const char* country = locale.getCountry();
  if (country[0] == '\0') return true;
  if (std::strlen(country) == 3 && std::strspn(country, "0123456789") == 3) return true;
  for (const char* const* iso = icu::Locale::getISOCountries(); *iso != nullptr; ++iso) {
    if (std::strcmp(*iso, country) == 0) return true;
  }
  return false;
}

std::string LocaleName::fromEnvironment() {
  return from(std::getenv("LC_ALL"), std::getenv("LC_TIME"), std::getenv("LANG"));
}

std::string LocaleName::from(const char* lcAll, const char* lcTime, const char* lang) {
  for (const char* value : {lcAll, lcTime, lang}) {
    if (value == nullptr || *value == '\0') continue;
    std::string name(value);
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX" || !isKnown(name)) return "en_US";
    return name;
  }
  return "en_US";
}

}  // namespace ostrel
