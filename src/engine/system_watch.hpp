#pragma once
/// \file system_watch.hpp
/// Follows the system's time zone and locale while the engine runs. Neither changes inside a running
/// process through its environment (TZ and LANG are fixed at start), so the watch looks where the
/// system keeps them: the /etc/localtime link, /etc/timezone and /etc/default/locale (file monitors),
/// and the date and locale services' PropertiesChanged signals on the system bus, when there is one
/// (without a bus the signals are simply absent). The process's own locale environment (LC_ALL,
/// LC_TIME, LANG) is the user's choice and wins: the system's locale is followed only when the
/// environment sets none of them.
///
///     SystemWatch watch{SystemPaths{}, [&] { follow(watch.timeZone(), watch.locale()); }};
///
/// Runs on the thread-default main context of the thread that creates it; `changed` is called there,
/// only when the zone or the locale differs from what it was.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "time/time_zone.hpp"

namespace ostrel {

/// Where the system states its zone and locale.
struct SystemPaths {
  std::filesystem::path localtime = "/etc/localtime";
  std::filesystem::path timezone = "/etc/timezone";
  std::filesystem::path defaultLocale = "/etc/default/locale";
  bool systemBus = true;  ///< also follow the date and locale services' signals
};

class SystemWatch {
 public:
  /// Starts watching. The first values are the process's: its TZ or the system's zone, and its
  /// locale environment or, when that sets nothing, the system's locale.
  SystemWatch(SystemPaths paths, std::function<void()> changed);
  ~SystemWatch();
  SystemWatch(const SystemWatch&) = delete;
  SystemWatch& operator=(const SystemWatch&) = delete;
  SystemWatch(SystemWatch&&) = delete;
  SystemWatch& operator=(SystemWatch&&) = delete;

  /// The zone now.
  [[nodiscard]] const TimeZone& timeZone() const;
  /// The locale now, an ICU name.
  [[nodiscard]] const std::string& locale() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace ostrel
