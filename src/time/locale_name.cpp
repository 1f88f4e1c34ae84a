#include "time/locale_name.hpp"

#include <unicode/locid.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

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

namespace {

/// The locale an environment value names: "sr_RS.UTF-8@latin" is Serbian in Latin script
/// (sr_Latn_RS), as the C library's locale of that name is. The codeset is dropped, a modifier that
/// names a script becomes the script, "@valencia" the Valencian variant; other modifiers ("@euro")
/// change nothing about dates.
std::string fromPosix(std::string_view value) {
  const std::size_t at = value.find('@');
  const std::string_view modifier = at == std::string_view::npos ? std::string_view{} : value.substr(at + 1);
  const std::string_view name = value.substr(0, std::min(value.find('.'), at));
  const std::size_t underscore = name.find('_');
  const std::string_view language = name.substr(0, underscore);
  const std::string_view territory =
      underscore == std::string_view::npos ? std::string_view{} : name.substr(underscore);
  struct Script {
    std::string_view modifier, code;
  };
  constexpr Script scripts[] = {{"latin", "Latn"},  {"cyrillic", "Cyrl"}, {"devanagari", "Deva"},
                                {"arabic", "Arab"}, {"iqtelif", "Latn"},  {"shaw", "Shaw"}};
  for (const Script& s : scripts) {
    if (modifier == s.modifier)
      return std::string(language) + "_" + std::string(s.code) + std::string(territory);
  }
  if (modifier == "valencia") return std::string(name) + "_VALENCIA";
  return std::string(name);
}

}  // namespace

std::string LocaleName::from(const char* lcAll, const char* lcTime, const char* lang) {
  for (const char* value : {lcAll, lcTime, lang}) {
    if (value == nullptr || *value == '\0') continue;
    std::string name = fromPosix(value);
    if (name == "C" || name == "POSIX" || !isKnown(name)) return "en_US";
    return name;
  }
  return "en_US";
}

}  // namespace ostrel
