#pragma once
/// \file system_locale.hpp
/// The system's locale as the system's locale service and /etc/default/locale state it: a list of
/// assignments such as "LANG=de_DE.UTF-8", "LC_TIME=en_AU.UTF-8", turned into a locale name.
///
///     auto a = SystemLocale::assignments("# set by the installer\nLANG=\"de_DE.UTF-8\"\n");
///     std::string name = SystemLocale::from(a, std::getenv("LC_ALL"));   // "de_DE"

#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

struct SystemLocale {
  /// The assignments of a file in the shell's "NAME=value" form, one a line: blank lines and "#"
  /// comments skipped, an "export " prefix and quotes around the value removed. Lines that are not
  /// assignments are ignored.
  [[nodiscard]] static std::vector<std::string> assignments(std::string_view text);
  /// The locale that times are shown in: LC_ALL of the process (`lcAll`, null or empty: unset) if
  /// set, else the assignments' LC_TIME, else their LANG; without codeset and modifier, "en_US" for
  /// C, POSIX or an unknown name (as for the process's own environment).
  [[nodiscard]] static std::string from(const std::vector<std::string>& assignments, const char* lcAll);
};

}  // namespace ostrel
