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

std::optional<ClassItem> Entry::next() const {
  const ClassItem* c = firstNext(loaded.feedValue(), date);
  return c ? std::optional<ClassItem>(*c) : std::nullopt;
}

std::vector<ClassItem> Entry::later() const {
  const Feed* f = loaded.feedValue();
  const ClassItem* n = firstNext(f, date);
  std::vector<ClassItem> out;
  if (n == nullptr) return out;
  for (const ClassItem& c : *f->classes) {
    if (out.size() == laterLimit) break;
    if (c.start > n->start) out.push_back(c);
  }
  return out;
}

std::vector<DueItem> Entry::due() const {
  const Feed* f = loaded.feedValue();
  std::vector<DueItem> out;
  if (f == nullptr || !f->due) return out;
  for (const DueItem& d : *f->due) {
    if (d.due + dueGrace > date) out.push_back(d);
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
