#pragma once
/// \file keys.hpp
/// Every localisation key of the widgets, as written in the string table. A key without a
/// translation is shown as it stands. Marked with `N_` so that the `pot` target extracts them.

#include "time/string_table.hpp"

namespace ostrel::keys {

// Note (feed switched off, or not usable).
inline constexpr const char* widgetsOff = N_("Widgets are off");
inline constexpr const char* turnThemOn = N_("Turn them on in Ostrel, Settings, General.");
inline constexpr const char* openOstrel = N_("Open Ostrel");
inline constexpr const char* appearAfterSync = N_("Your classes and deadlines appear here after it syncs.");

// Next up.
inline constexpr const char* noClassThisWeek = N_("No class this week");
/// One string argument: the end time.
inline constexpr const char* ends = N_("ends %@");

// Due soon.
inline constexpr const char* nothingDue = N_("Nothing due in the next three weeks");
inline constexpr const char* overdue = N_("Overdue");
/// One integer argument: the weight in whole percent.
inline constexpr const char* weight = N_("· %lld%%");

// Widget declarations: display names and descriptions.
inline constexpr const char* nextUpName = N_("Next up");
inline constexpr const char* dueSoonName = N_("Due soon");
inline constexpr const char* nextUpDescription = N_("Your next class, counting down, with its room.");
inline constexpr const char* dueSoonDescription =
    N_("What is due in the next three weeks, and the cards due today.");

}  // namespace ostrel::keys
