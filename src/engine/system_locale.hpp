#pragma once
/// \file system_locale.hpp
/// The system's locale as the system's locale service and /etc/default/locale state it: a list of
/// assignments such as "LANG=de_DE.UTF-8", "LC_TIME=en_AU.UTF-8", turned into a locale name.
///
///     auto a = SystemLocale::assignments("# set by the installer\nLANG=\"de_DE.UTF-8\"\n");
///     std::string name = SystemLocale::from(a, LocaleEnvironment::ofProcess());   // "de_DE"
///
/// The process's own environment is the user's choice: where it sets LC_ALL, LC_TIME or LANG, the
/// system's assignments are not consulted at all.

#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

/// The locale variables of an environment (null or empty: unset).
struct LocaleEnvironment {
  const char* lcAll = nullptr;
  const char* lcTime = nullptr;
  const char* lang = nullptr;
  /// The process's own LC_ALL, LC_TIME and LANG.
  [[nodiscard]] static LocaleEnvironment ofProcess();
  /// Whether any of the three is set and not empty.
  [[nodiscard]] bool setsAny() const;
};

struct SystemLocale {
  /// The assignments of a file in the shell's "NAME=value" form, one a line: blank lines and "#"
  /// comments skipped, an "export " prefix and quotes around the value removed. Lines that are not
  /// assignments are ignored.
  [[nodiscard]] static std::vector<std::string> assignments(std::string_view text);
  /// The locale that times are shown in: the environment's (LC_ALL, else LC_TIME, else LANG) when it
  /// sets any of them, else the assignments' (the same order); without codeset and modifier, "en_US"
  /// for C, POSIX, an unknown name or nothing set at all.
  [[nodiscard]] static std::string from(const std::vector<std::string>& assignments,
                                        LocaleEnvironment environment);
};

}  // namespace ostrel
