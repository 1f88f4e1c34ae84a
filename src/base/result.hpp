#pragma once
/// \file result.hpp
/// `Result<T, E>`: the value of an operation that can fail, or why it failed. The one result type of
/// the system: the decoder, the renderer, file writing and the host's outputs all return it. Errors
/// are values: nothing is thrown, and the result must be looked at (`[[nodiscard]]`). Asking an error
/// for its value, or a value for its error, is a programming error: it fails an assertion (as
/// abseil's `StatusOr` documents) instead of reading through a null pointer.
///
///     Result<Feed, DecodeError> r = decodeFeed(text);
///     if (!r) return report(r.error());
///     use(*r);

#include <cassert>
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
  [[nodiscard]] const T& value() const& { return *valuePointer(); }
  [[nodiscard]] T&& value() && { return std::move(*valuePointer()); }
  [[nodiscard]] const T& operator*() const& { return value(); }
  [[nodiscard]] const T* operator->() const { return valuePointer(); }
  /// The error; only when not `ok()`.
  [[nodiscard]] const E& error() const& {
    const E* e = std::get_if<1>(&v_);
    assert(e != nullptr && "Result::error() on a value");
    return *e;
  }

  friend bool operator==(const Result&, const Result&) = default;

 private:
  [[nodiscard]] const T* valuePointer() const {
    const T* v = std::get_if<0>(&v_);
    assert(v != nullptr && "Result::value() on an error");
    return v;
  }
  [[nodiscard]] T* valuePointer() {
    T* v = std::get_if<0>(&v_);
    assert(v != nullptr && "Result::value() on an error");
    return v;
  }

  std::variant<T, E> v_;
};

}  // namespace ostrel
