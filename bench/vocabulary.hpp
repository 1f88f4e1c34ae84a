#pragma once
/// \file vocabulary.hpp
/// What the benchmarks' generated feeds are made of: a small deterministic generator, so every run
/// measures the same feeds, and the units, titles, rooms and unit colours they pick from.
#include <array>
#include <cstdint>

namespace ostrel::bench {

/// A 64-bit linear congruential generator; each call gives the next 31 bits.
class Lcg {
 public:
  explicit Lcg(std::uint64_t seed) : state_(seed) {}
  unsigned operator()() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>(state_ >> 33);
  }

 private:
  std::uint64_t state_;
};

inline constexpr std::array<const char*, 6> kUnits{"FINC3600", "COMP2123", "STAT2011",
                                                   "INFO1111", "MATH2069", "ECON1001"};
inline constexpr std::array<const char*, 5> kTitles{"Lecture", "Tutorial", "Workshop", "Computer lab",
                                                    "Seminar"};
inline constexpr std::array<const char*, 5> kRooms{"Merewether 498", "SIT Lab 117", "Carslaw 159",
                                                   "Abercrombie 2130", "Law Annex 342"};
/// Light and dark colours of each unit, by the unit's index.
inline constexpr std::array<const char*, 6> kLight{"#A91991", "#1F6FEB", "#1A7F37",
                                                   "#BF8700", "#CF222E", "#8250DF"};
inline constexpr std::array<const char*, 6> kDark{"#E07BD6", "#6CB6FF", "#56D364",
                                                  "#E3B341", "#FF7B72", "#D2A8FF"};

}  // namespace ostrel::bench
