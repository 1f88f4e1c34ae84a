#pragma once
/// \file strings.hpp
/// The string table: gettext with the domain "ostrel-widgets". A key without a translation is shown
/// as it stands. Only fixed keys of the system pass through here; feed text never does, and a key
/// is never treated as a printf format: its "%@" and "%lld" placeholders are filled in order and "%%"
/// becomes "%", nothing else is interpreted.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ostrel {

struct StringTable {
  static constexpr const char* domain = "ostrel-widgets";
  using Argument = std::variant<std::string, std::int64_t>;

  /// The translation of `key`, or `key` itself.
  [[nodiscard]] static std::string lookup(std::string_view key);
  /// The translation of `key` with its placeholders filled from `arguments`, in order.
  [[nodiscard]] static std::string format(std::string_view key, const std::vector<Argument>& arguments);
};

}  // namespace ostrel
