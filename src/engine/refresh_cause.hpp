#pragma once
/// \file refresh_cause.hpp
/// Why the engine refreshes its faces at a moment, as a pure function of what happened and what
/// held then. Several may apply at once (the timer fires for the next entry at the reload instant,
/// just as the wall clock was set); one wins:
///
/// | cause    | when                                                           | requests | counted in      |
/// |----------|----------------------------------------------------------------|----------|-----------------|
/// | `until`  | the clock reached `until`, whatever happened: the engine stops | no       | -               |
/// | `start`  | the engine starts                                              | yes      | -               |
/// | `feed`   | the feed file changed (a burst of events settled)              | yes      | `feedReloads`   |
/// | `system` | the system's zone or locale changed to another than followed   | yes      | `systemReloads` |
/// | `jump`   | the wall clock was set or jumped, or the machine resumed       | yes      | `jumpReloads`   |
/// | `policy` | the timer fired and a timeline's reload is due                 | yes      | `policyReloads` |
/// | `entry`  | the timer fired for the next entry's date                      | no       | -               |
/// | `none`   | nothing that changes a face (the system's files said the same) | no       | -               |
///
///     const RefreshCause cause = refreshCause({.event = RefreshEvent::wake, .clockJumped = true});
///     // RefreshCause::jump: the timelines are requested again, then the faces shown

namespace ostrel {

/// What woke the engine.
enum class RefreshEvent {
  start,   ///< `start()`
  wake,    ///< its timer fired
  set,     ///< the wall-clock timer reported a set of the clock
  feed,    ///< the feed watch reported a change
  system,  ///< the system's zone or locale files changed
};

/// What happened, and what held at that moment.
struct RefreshOccasion {
  RefreshEvent event = RefreshEvent::wake;
  bool reachedUntil = false;   ///< the clock is at or past `until`
  bool clockJumped = false;    ///< the wall clock moved unlike the monotonic one since the last reading
  bool reloadDue = false;      ///< some widget's timeline is due for a reload
  bool systemChanged = false;  ///< the zone or locale to follow differs from the one followed
};

enum class RefreshCause { until, start, feed, system, jump, policy, entry, none };

/// The cause that wins for `occasion` (the table above, first row first).
[[nodiscard]] RefreshCause refreshCause(const RefreshOccasion& occasion);
/// Whether `cause` asks the widgets' providers for new timelines.
[[nodiscard]] bool requests(RefreshCause cause);

}  // namespace ostrel
