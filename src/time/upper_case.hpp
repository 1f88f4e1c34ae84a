#pragma once
/// \file upper_case.hpp
/// A string's own upper-casing, the same for every user: full Unicode case mapping by the root
/// locale's rules, whatever the user's locale.
///
///     upperCased("straße")   // "STRASSE"
///     upperCased("info")     // "INFO", also for a Turkish user

#include <string>
#include <string_view>

namespace ostrel {

/// `text` upper-cased; invalid UTF-8 becomes U+FFFD. Never fails.
[[nodiscard]] std::string upperCased(std::string_view text);

}  // namespace ostrel
