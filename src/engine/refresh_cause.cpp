#include "engine/refresh_cause.hpp"

namespace ostrel {

RefreshCause refreshCause(const RefreshOccasion& o) {
  if (o.reachedUntil) return RefreshCause::until;
  if (o.event == RefreshEvent::start) return RefreshCause::start;
  if (o.event == RefreshEvent::feed) return RefreshCause::feed;
  if (o.event == RefreshEvent::system && o.systemChanged) return RefreshCause::system;
  if (o.event == RefreshEvent::set || o.clockJumped) return RefreshCause::jump;
  if (o.event != RefreshEvent::wake) return RefreshCause::none;
  return o.reloadDue ? RefreshCause::policy : RefreshCause::entry;
}

bool requests(RefreshCause cause) {
  switch (cause) {
    case RefreshCause::start:
    case RefreshCause::feed:
    case RefreshCause::system:
    case RefreshCause::jump:
    case RefreshCause::policy:
      return true;
    case RefreshCause::until:
    case RefreshCause::entry:
    case RefreshCause::none:
      break;
  }
  return false;
}

}  // namespace ostrel
