#pragma once
/// \file loaded.hpp
/// `Loaded`: what loading the feed came to. `feed` (a usable, switched-on document), `off` (switched
/// off by the user) or `missing` (no usable document). The feed is held through a shared pointer to an
/// immutable `Feed`, so copying a `Loaded` (into every entry of a timeline) copies a pointer; since
/// nothing can change the feed, copies behave as values.

#include <memory>

#include "feed/feed.hpp"

namespace ostrel {

class Loaded {
 public:
  enum class Case { feed, off, missing };

  [[nodiscard]] static Loaded feed(std::shared_ptr<const Feed> f) { return Loaded{Case::feed, std::move(f)}; }
  [[nodiscard]] static Loaded feed(Feed f) { return feed(std::make_shared<const Feed>(std::move(f))); }
  [[nodiscard]] static Loaded off() { return Loaded{Case::off, nullptr}; }
  [[nodiscard]] static Loaded missing() { return Loaded{Case::missing, nullptr}; }

  [[nodiscard]] Case which() const { return case_; }
  /// The feed in the `feed` case, else nullptr.
  [[nodiscard]] const Feed* feedValue() const { return case_ == Case::feed ? feed_.get() : nullptr; }
  /// The shared feed itself (for identity checks and sharing), else nullptr.
  [[nodiscard]] const std::shared_ptr<const Feed>& sharedFeed() const { return feed_; }

  /// Equal cases, and for `feed` equal feeds (by value).
  friend bool operator==(const Loaded& a, const Loaded& b) {
    if (a.case_ != b.case_) return false;
    if (a.case_ != Case::feed) return true;
    return a.feed_ == b.feed_ || *a.feed_ == *b.feed_;
  }

 private:
  Loaded(Case c, std::shared_ptr<const Feed> f) : case_(c), feed_(std::move(f)) {}
  Case case_;
  std::shared_ptr<const Feed> feed_;
};

/// "feed", "off", "missing".
[[nodiscard]] inline const char* name(Loaded::Case c) {
  switch (c) {
    case Loaded::Case::feed:
      return "feed";
    case Loaded::Case::off:
      return "off";
    case Loaded::Case::missing:
      return "missing";
  }
  return "missing";
}

}  // namespace ostrel
