#pragma once
/// \file overloaded.hpp
/// A visitor made of lambdas, one per alternative of a variant; `std::visit` refuses to compile
/// when one is missing.
///
///     std::visit(Overloaded{[](const A&) { ... }, [](const B&) { ... }}, variant);

namespace ostrel {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace ostrel
