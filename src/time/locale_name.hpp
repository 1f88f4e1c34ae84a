#pragma once
/// \file locale_name.hpp
/// Locale names the host accepts, and the locale of the environment.
///
///     std::string locale = options.locale.empty() ? LocaleName::fromEnvironment() : options.locale;

#include <string>

namespace ostrel {

struct LocaleName {
  /// Whether `name` is a locale ICU has data for: a language ICU knows ("en", "de_DE", "en-AU",
  /// "zh_Hans_CN"), with a country, if any, that is an ISO 3166 code or a numeric region. Names
  /// with a codeset ("en_AU.UTF-8") or other punctuation are not locale names here.
  [[nodiscard]] static bool isKnown(const std::string& name);
  /// The locale of the environment, read as the C library reads it for dates: the first of LC_ALL,
  /// LC_TIME and LANG that is set and not empty, without its codeset; a modifier naming a script
  /// gives that script ("sr_RS.UTF-8@latin" is sr_Latn_RS, "uz_UZ@cyrillic" uz_Cyrl_UZ) and
  /// "@valencia" the variant (ca_ES_VALENCIA); "en_US" when that is C, POSIX or not a known locale.
  [[nodiscard]] static std::string fromEnvironment();
  /// `fromEnvironment()` for given values of LC_ALL, LC_TIME and LANG (null: unset).
  [[nodiscard]] static std::string from(const char* lcAll, const char* lcTime, const char* lang);
};

}  // namespace ostrel
