#pragma once
/// \file result.hpp
/// `Result<T, E>`: the value of an operation that can fail, or why it failed. The one result type of
/// the system: the decoder, the renderer, file writing and the host's outputs all return it. Errors
/// are values: nothing is thrown, and the result must be looked at (`[[nodiscard]]`).
///
///     Result<Feed, DecodeError> r = decodeFeed(text);
///     if (!r) return report(r.error());
///     use(*r);

#include <type_traits>
#include <utility>
#include <variant>

namespace ostrel {

/// The value of an operation that has nothing to hand back but may fail: `Result<Done, E>`.
struct Done {
  friend constexpr bool operator==(Done, Done) = default;
};

template <class T, class E>
class [[nodiscard]] Result {
  static_assert(!std::is_same_v<T, E>, "a result's value and error types must differ");

 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}  // NOLINT(google-explicit-constructor)
  Result(E error) : v_(std::in_place_index<1>, std::move(error)) {}  // NOLINT(google-explicit-constructor)

  [[nodiscard]] bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  /// The value; only when `ok()`.
  [[nodiscard]] const T& value() const& { return *std::get_if<0>(&v_); }
  [[nodiscard]] T&& value() && { return std::move(*std::get_if<0>(&v_)); }
  [[nodiscard]] const T& operator*() const& { return value(); }
  [[nodiscard]] const T* operator->() const { return std::get_if<0>(&v_); }
  /// The error; only when not `ok()`.
  [[nodiscard]] const E& error() const& { return *std::get_if<1>(&v_); }

  friend bool operator==(const Result&, const Result&) = default;

 private:
  std::variant<T, E> v_;
};

}  // namespace ostrel
