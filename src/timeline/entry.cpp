#include "timeline/entry.hpp"

namespace ostrel {
namespace {

const ClassItem* firstNext(const Feed* f, Date date) {
  if (f == nullptr || !f->classes) return nullptr;
  for (const ClassItem& c : *f->classes) {
    if (c.end > date) return &c;
  }
  return nullptr;
}

}  // namespace

const ClassItem* Entry::next() const {
  return firstNext(loaded.feedValue(), date);
}

Entry::Items<ClassItem> Entry::later() const {
  const Feed* f = loaded.feedValue();
  const ClassItem* n = firstNext(f, date);
  Items<ClassItem> out;
  if (n == nullptr) return out;
  for (const ClassItem& c : *f->classes) {
    if (out.size() == laterLimit) break;
    if (c.start > n->start) out.emplace_back(c);
  }
  return out;
}

Entry::Items<DueItem> Entry::due() const {
  const Feed* f = loaded.feedValue();
  Items<DueItem> out;
  if (f == nullptr || !f->due) return out;
  for (const DueItem& d : *f->due) {
    if (d.due + dueGrace > date) out.emplace_back(d);
  }
  return out;
}

std::int64_t Entry::cards() const {
  const Feed* f = loaded.feedValue();
  return f != nullptr ? f->cards.value_or(0) : 0;
}

std::optional<std::string> Entry::week() const {
  const Feed* f = loaded.feedValue();
  return f != nullptr ? f->week : std::nullopt;
}

}  // namespace ostrel
