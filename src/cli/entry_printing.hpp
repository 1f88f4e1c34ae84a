#pragma once
/// \file entry_printing.hpp
/// How `timeline`, `entry`, `snapshot` and `placeholder` print what the provider hands back: as a
/// table for people, with every time in the chosen zone, or as JSON for tools, with every time in
/// UTC. Feed text in a table is shown through `printable` (no raw control characters); JSON goes
/// through the one `JsonWriter`.
///
/// A timeline as a table: a heading line, then one line per entry with its date in the zone, in
/// UTC, and why it is there.
///
///     86 entries (loaded: feed), reload at 2026-03-02T21:30:30.000+11:00 (2026-03-02T10:30:30.000Z), zone Australia/Sydney
///     2026-03-02T21:00:30.000+11:00  2026-03-02T10:00:30.000Z  now
///     2026-03-02T21:01:00.000+11:00  2026-03-02T10:01:00.000Z  minute mark
///     2026-03-02T21:20:00.000+11:00  2026-03-02T10:20:00.000Z  class starts: FINC3600 Lecture; minute mark
///
/// As JSON, one line: {"entries": [{"date", "loaded", "reasons": [...]}, ...], "reload"}, each reason
///
///     {"kind": "now"}
///     {"kind": "minuteMark" | "fiveMinuteMark", "minutes"}      minutes after the start of now's minute
///     {"kind": "classStart" | "classEnd", "index", "unit", "title"}
///     {"kind": "deadlineDropOff", "index", "unit", "name", "due"}
///
/// An entry as JSON: {"date", "loaded", "next", "later", "due", "cards", "week"}; as a table, one
/// line per field and per selected item:
///
///     date:   2026-03-02T21:00:30.000+11:00 (2026-03-02T10:00:30.000Z)
///     zone:   Australia/Sydney
///     loaded: feed
///     next:   STAT2011  Lecture  2026-03-03T09:00:00.000+11:00 – 2026-03-03T10:00:00.000+11:00  (Carslaw 159)
///     later:  FINC3600  Tutorial  2026-03-03T14:00:00.000+11:00 – 2026-03-03T15:00:00.000+11:00  (Abercrombie 2130)
///     due:    COMP2123  Assignment 1  2026-03-03T23:59:00.000+11:00  weight 10
///     cards:  7
///     week:   Week 10 of 13

#include <iosfwd>
#include <string>
#include <vector>

#include "time/time_zone.hpp"
#include "timeline/entry.hpp"
#include "timeline/entry_reason.hpp"
#include "timeline/timeline.hpp"

namespace ostrel::cli {

/// The timeline as a table, times in `timeZone`; `reasons` are those of its dates.
void printTimeline(std::ostream& out, const Timeline<Entry>& timeline,
                   const std::vector<ReasonedDate>& reasons, const TimeZone& timeZone);
/// The timeline as one line of JSON.
void printTimelineJson(std::ostream& out, const Timeline<Entry>& timeline,
                       const std::vector<ReasonedDate>& reasons);

/// An entry with its selections as a table, times in `timeZone`.
void printEntry(std::ostream& out, const Entry& entry, const TimeZone& timeZone);
/// An entry with its selections as one line of JSON.
void printEntryJson(std::ostream& out, const Entry& entry);

/// One reason in words, for the table: "now", "minute mark", "five-minute mark", "class starts:
/// UNIT TITLE", "class ends: UNIT TITLE", "drops off: UNIT NAME (due TIME)"; feed text escaped.
[[nodiscard]] std::string describe(const EntryReason& reason, const Loaded& loaded, const TimeZone& timeZone);

}  // namespace ostrel::cli
