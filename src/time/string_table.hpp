#pragma once
/// \file string_table.hpp
/// The string table: gettext with the domain "ostrel-widgets". A key without a translation is shown
/// as it stands. Only fixed keys of the system pass through here; feed text never does, and a key
/// is never treated as a printf format: its "%@" and "%lld" placeholders are filled in order and "%%"
/// becomes "%", nothing else is interpreted.
///
///     StringTable::format("ends %@", {std::string("10:50")})   // "ends 10:50" untranslated
///     StringTable::format("· %lld%%", {std::int64_t{20}})     // "· 20%"
///
/// Keys are marked in the sources with `N_("...")` (or passed straight to `Text::localized`,
/// `StringTable::lookup` or `StringTable::format`), which is what the `pot` build target extracts
/// into po/ostrel-widgets.pot.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

/// Marks a string literal as a localisation key for the catalog extractor; expands to the literal.
#ifndef N_
#define N_(literal) literal
#endif

namespace ostrel {

struct StringTable {
  static constexpr const char* domain = "ostrel-widgets";
  using Argument = std::variant<std::string, std::int64_t>;

  /// The translation of `key`, or `key` itself (the empty key stays empty).
  [[nodiscard]] static std::string lookup(std::string_view key);
  /// The translation of `key` with its placeholders filled from `arguments`, in order. A placeholder
  /// without an argument is left out; arguments beyond the placeholders are ignored; a "%" that
  /// starts no placeholder is shown as it stands.
  [[nodiscard]] static std::string format(std::string_view key, const std::vector<Argument>& arguments);

  /// Process set-up for the string table, called once by the command before any lookup. It is the
  /// one place that touches process-wide state, and only gettext's: it takes the message language
  /// from the user's environment (`setlocale(LC_MESSAGES, "")`, so LANGUAGE, LC_ALL, LC_MESSAGES and
  /// LANG apply), binds the domain to `localeDirectory` when one is given (else gettext's default
  /// directory is used) and asks for UTF-8 translations. Not thread-safe: call it before any thread
  /// looks anything up. Returns false when the directory could not be bound; lookups still work and
  /// show the keys.
  [[nodiscard]] static bool setUp(const std::optional<std::string>& localeDirectory);
};

}  // namespace ostrel
