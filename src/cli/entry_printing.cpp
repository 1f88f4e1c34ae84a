#include "cli/entry_printing.hpp"

#include <cmath>
#include <ostream>

#include "base/json_writer.hpp"
#include "cli/printable.hpp"
#include "time/iso_utc.hpp"
#include "time/iso_zoned.hpp"

namespace ostrel::cli {
namespace {

using Kind = EntryReason::Kind;

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::now:
      return "now";
    case Kind::minuteMark:
      return "minuteMark";
    case Kind::fiveMinuteMark:
      return "fiveMinuteMark";
    case Kind::classStart:
      return "classStart";
    case Kind::classEnd:
      return "classEnd";
    case Kind::deadlineDropOff:
      return "deadlineDropOff";
  }
  return "";
}

const ClassItem* classAt(const Loaded& loaded, std::size_t index) {
  const Feed* f = loaded.feedValue();
  return f != nullptr && f->classes && index < f->classes->size() ? &(*f->classes)[index] : nullptr;
}

const DueItem* dueAt(const Loaded& loaded, std::size_t index) {
  const Feed* f = loaded.feedValue();
  return f != nullptr && f->due && index < f->due->size() ? &(*f->due)[index] : nullptr;
}

/// The reasons for `date`, or none where the list has no such date.
const std::vector<EntryReason>* reasonsFor(const std::vector<ReasonedDate>& reasons, std::size_t& cursor,
                                           Date date) {
  while (cursor < reasons.size() && reasons[cursor].date < date) ++cursor;
  return cursor < reasons.size() && reasons[cursor].date == date ? &reasons[cursor].reasons : nullptr;
}

void writeReason(JsonWriter& w, const EntryReason& r, const Loaded& loaded) {
  w.beginObject().member("kind", kindName(r.kind));
  switch (r.kind) {
    case Kind::now:
      break;
    case Kind::minuteMark:
    case Kind::fiveMinuteMark:
      w.member("minutes", static_cast<std::int64_t>(r.index));
      break;
    case Kind::classStart:
    case Kind::classEnd:
      w.member("index", static_cast<std::int64_t>(r.index));
      if (const ClassItem* c = classAt(loaded, r.index)) w.member("unit", c->unit).member("title", c->title);
      break;
    case Kind::deadlineDropOff:
      w.member("index", static_cast<std::int64_t>(r.index));
      if (const DueItem* d = dueAt(loaded, r.index)) {
        w.member("unit", d->unit).member("name", d->name).member("due", isoUtc(d->due));
      }
      break;
  }
  w.endObject();
}

void writeClass(JsonWriter& w, const ClassItem& c) {
  w.beginObject().member("unit", c.unit).member("title", c.title).key("where");
  if (c.where) {
    w.value(*c.where);
  } else {
    w.null();
  }
  w.member("start", isoUtc(c.start)).member("end", isoUtc(c.end)).endObject();
}

void writeDue(JsonWriter& w, const DueItem& d) {
  w.beginObject().member("unit", d.unit).member("name", d.name).member("due", isoUtc(d.due)).key("weight");
  // A weight JSON has no number for (an infinity) is written as null, like an absent one.
  if (d.weight && std::isfinite(*d.weight)) {
    w.value(*d.weight);
  } else {
    w.null();
  }
  w.endObject();
}

/// `date` in the zone, then in UTC: "2026-03-02T21:00:30.000+11:00 (2026-03-02T10:00:30.000Z)".
std::string bothForms(Date date, const TimeZone& timeZone) {
  return isoZoned(date, timeZone) + " (" + isoUtc(date) + ")";
}

void printClass(std::ostream& out, const char* label, const ClassItem& c, const TimeZone& timeZone) {
  out << label << printable(c.unit) << "  " << printable(c.title) << "  " << isoZoned(c.start, timeZone)
      << " – " << isoZoned(c.end, timeZone);
  if (c.where) out << "  (" << printable(*c.where) << ")";
  out << "\n";
}

}  // namespace

std::string describe(const EntryReason& reason, const Loaded& loaded, const TimeZone& timeZone) {
  switch (reason.kind) {
    case Kind::now:
      return "now";
    case Kind::minuteMark:
      return "minute mark";
    case Kind::fiveMinuteMark:
      return "five-minute mark";
    case Kind::classStart:
    case Kind::classEnd: {
      std::string s = reason.kind == Kind::classStart ? "class starts" : "class ends";
      if (const ClassItem* c = classAt(loaded, reason.index))
        s += ": " + printable(c->unit) + " " + printable(c->title);
      return s;
    }
    case Kind::deadlineDropOff: {
      std::string s = "drops off";
      if (const DueItem* d = dueAt(loaded, reason.index)) {
        s += ": " + printable(d->unit) + " " + printable(d->name) + " (due " + isoZoned(d->due, timeZone) +
             ")";
      }
      return s;
    }
  }
  return {};
}

void printTimeline(std::ostream& out, const Timeline<Entry>& timeline,
                   const std::vector<ReasonedDate>& reasons, const TimeZone& timeZone) {
  const Loaded loaded = timeline.entries.empty() ? Loaded::missing() : timeline.entries.front().loaded;
  out << timeline.entries.size() << " entries (loaded: " << name(loaded.which()) << "), reload at "
      << bothForms(timeline.policy.at, timeZone) << ", zone " << printable(timeZone.name()) << "\n";
  std::size_t cursor = 0;
  for (const Entry& e : timeline.entries) {
    out << isoZoned(e.date, timeZone) << "  " << isoUtc(e.date) << " ";
    if (const auto* why = reasonsFor(reasons, cursor, e.date)) {
      const char* separator = " ";
      for (const EntryReason& r : *why) {
        out << separator << describe(r, e.loaded, timeZone);
        separator = "; ";
      }
    }
    out << "\n";
  }
}

void printTimelineJson(std::ostream& out, const Timeline<Entry>& timeline,
                       const std::vector<ReasonedDate>& reasons) {
  JsonWriter w{JsonWriter::spaced};
  w.beginObject().key("entries").beginArray();
  std::size_t cursor = 0;
  for (const Entry& e : timeline.entries) {
    w.beginObject().member("date", isoUtc(e.date)).member("loaded", name(e.loaded.which())).key("reasons");
    w.beginArray();
    if (const auto* why = reasonsFor(reasons, cursor, e.date)) {
      for (const EntryReason& r : *why) writeReason(w, r, e.loaded);
    }
    w.endArray().endObject();
  }
  w.endArray().member("reload", isoUtc(timeline.policy.at)).endObject();
  out << w.text() << "\n";
}

void printEntry(std::ostream& out, const Entry& e, const TimeZone& timeZone) {
  out << "date:   " << bothForms(e.date, timeZone) << "\n"
      << "zone:   " << printable(timeZone.name()) << "\n"
      << "loaded: " << name(e.loaded.which()) << "\n";
  if (e.loaded.which() != Loaded::Case::feed) return;
  if (auto n = e.next()) {
    printClass(out, "next:   ", *n, timeZone);
  } else {
    out << "next:   none\n";
  }
  for (const ClassItem& c : e.later()) printClass(out, "later:  ", c, timeZone);
  for (const DueItem& d : e.due()) {
    out << "due:    " << printable(d.unit) << "  " << printable(d.name) << "  " << isoZoned(d.due, timeZone);
    if (d.weight) out << "  weight " << JsonWriter::numberText(*d.weight);
    out << "\n";
  }
  out << "cards:  " << e.cards() << "\n"
      << "week:   " << (e.week() ? printable(*e.week()) : "none") << "\n";
}

void printEntryJson(std::ostream& out, const Entry& e) {
  JsonWriter w{JsonWriter::spaced};
  w.beginObject().member("date", isoUtc(e.date)).member("loaded", name(e.loaded.which())).key("next");
  if (auto n = e.next()) {
    writeClass(w, *n);
  } else {
    w.null();
  }
  w.key("later").beginArray();
  for (const ClassItem& c : e.later()) writeClass(w, c);
  w.endArray().key("due").beginArray();
  for (const DueItem& d : e.due()) writeDue(w, d);
  w.endArray().member("cards", e.cards()).key("week");
  if (auto week = e.week()) {
    w.value(*week);
  } else {
    w.null();
  }
  out << w.endObject().text() << "\n";
}

}  // namespace ostrel::cli
