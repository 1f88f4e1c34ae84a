#pragma once
/// \file entry.hpp
/// `Entry`: what a widget shows at one instant — the instant and the feed as it was loaded — with the
/// selections the faces draw from. Every selection is measured against the entry's `date`, never the
/// clock, walks the feed's lists in document order and is computed afresh on each call.
///
///     Entry e{.date = now, .loaded = FeedFile::load()};
///     if (auto c = e.next()) show(c->title);

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "feed/loaded.hpp"
#include "time/date.hpp"

namespace ostrel {

struct Entry {
  Date date;
  Loaded loaded = Loaded::missing();

  /// How long a deadline stays listed after it fell due: twelve hours.
  static constexpr double dueGrace = 43'200;
  /// How many later classes `later()` yields at most.
  static constexpr std::size_t laterLimit = 3;

  /// Records of the entry's feed, which they live in (as long as the entry or a copy of it).
  template <class Item>
  using Items = std::vector<std::reference_wrapper<const Item>>;

  /// The first class whose end is after `date` (a class under way counts); null without a feed.
  [[nodiscard]] const ClassItem* next() const;
  /// Up to three classes, in document order, that start after `next()` starts.
  [[nodiscard]] Items<ClassItem> later() const;
  /// The deadlines whose due instant plus twelve hours is after `date`, in document order.
  [[nodiscard]] Items<DueItem> due() const;
  /// The feed's card count, 0 when it has none.
  [[nodiscard]] std::int64_t cards() const;
  /// The feed's week label, unchanged.
  [[nodiscard]] std::optional<std::string> week() const;

  friend bool operator==(const Entry&, const Entry&) = default;
};

}  // namespace ostrel
