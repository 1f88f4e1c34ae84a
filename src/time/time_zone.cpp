#include "time/time_zone.hpp"

#include <date/tz.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace ostrel {
namespace {

constexpr std::string_view kZoneFolder = "/usr/share/zoneinfo";
constexpr std::string_view kSystemZone = "/etc/localtime";
// Zone files are a few kilobytes; anything far larger is not one.
constexpr off_t kLargestZoneFile = 1 << 20;
// Offsets are looked up within about 31,000 years of 1970; further out the zone's last rule holds.
constexpr std::int64_t kReach = 1'000'000'000'000;

/// The bytes of the regular file at `path` when it is a zone file (it starts with "TZif"). Anything
/// else (missing, a folder, a FIFO, a device, too large) gives nothing, without blocking.
std::optional<std::string> zoneFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> out;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 44 && st.st_size <= kLargestZoneFile) {
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (got == bytes.size() && bytes.compare(0, 4, "TZif") == 0) out = std::move(bytes);
  }
  ::close(fd);
  return out;
}

/// The rule on the last line of a zone file of version 2 or later, if it has one.
std::optional<TzRule> footerOf(const std::string& file) {
  if (file.size() < 6 || file[4] < '2' || file.back() != '\n') return std::nullopt;
  const std::size_t newline = file.rfind('\n', file.size() - 2);
  if (newline == std::string::npos) return std::nullopt;
  return TzRule::parse(std::string_view(file).substr(newline + 1, file.size() - newline - 2));
}

/// The zone of that name in the zone database, if any.
const date::time_zone* inDatabase(std::string_view name) {
  if (name.rfind("posix/", 0) == 0) name.remove_prefix(6);  // the same files again
  if (name.empty()) return nullptr;
  try {
    return date::locate_zone(name);
  } catch (...) {
    return nullptr;  // not a zone the database lists, or no database at all
  }
}

/// The zone database's entry for the zone file found at `path` (spelled `given`).
const date::time_zone* entryFor(std::string_view given, const std::string& path) {
  const std::string folder = std::string(kZoneFolder) + "/";
  if (given.front() != '/') {
    if (const auto* z = inDatabase(given)) return z;
  } else if (given.rfind(folder, 0) == 0) {
    if (const auto* z = inDatabase(given.substr(folder.size()))) return z;
  }
  // Through links: /etc/localtime and the like name a file inside the zone folder.
  std::error_code fileError, folderError;
  const std::string real = std::filesystem::canonical(path, fileError).string();
  const std::string realFolder = std::filesystem::canonical(kZoneFolder, folderError).string() + "/";
  if (fileError || folderError || real.rfind(realFolder, 0) != 0) return nullptr;
  return inDatabase(std::string_view(real).substr(realFolder.size()));
}

}  // namespace

TimeZone TimeZone::utc() {
  return TimeZone{};
}

std::optional<TimeZone> TimeZone::lookUp(std::string_view tz) {
  if (tz.empty()) return utc();
  const bool file = tz.front() == ':';
  if (file) tz.remove_prefix(1);
  if (tz.empty()) return lookUp(kSystemZone);  // ":" alone names the system's zone
  if (tz.size() > 4096 || tz.find('\0') != std::string_view::npos) return std::nullopt;

  const std::string path =
      tz.front() == '/' ? std::string(tz) : std::string(kZoneFolder) + "/" + std::string(tz);
  if (const auto bytes = zoneFile(path)) {
    TimeZone z;
    z.rule_ = footerOf(*bytes);
    z.zone_ = entryFor(tz, path);
    z.name_ = z.zone_ != nullptr ? std::string(z.zone_->name()) : std::string(tz);
    return z;
  }
  if (auto rule = TzRule::parse(tz)) {
    TimeZone z;
    z.rule_ = std::move(rule);
    z.name_ = std::string(tz);
    return z;
  }
  return std::nullopt;
}

std::optional<TimeZone> TimeZone::find(std::string_view tz) {
  auto z = lookUp(tz);
  if (z && !tz.empty()) z->name_ = std::string(tz);
  return z;
}

TimeZone TimeZone::named(std::string_view tz) {
  if (auto z = find(tz)) return *std::move(z);
  return utc();
}

TimeZone TimeZone::fromEnvironment(const char* tz) {
  if (auto z = lookUp(tz != nullptr ? std::string_view(tz) : std::string_view(":"))) return *std::move(z);
  return utc();
}

TimeZone TimeZone::local() {
  return fromEnvironment(std::getenv("TZ"));
}

bool TimeZone::isKnown(std::string_view name) {
  // An empty TZ is UTC to the C library, but an empty name given for a zone names none.
  return !name.empty() && lookUp(name).has_value();
}

std::int32_t TimeZone::offsetAt(std::int64_t utcSeconds) const {
  const std::int64_t t = std::clamp(utcSeconds, -kReach, kReach);
  if (zone_ != nullptr) {
    try {
      const date::sys_info info = zone_->get_info(date::sys_seconds{std::chrono::seconds{t}});
      // The period after the last transition runs to the end of the database's time; the file's
      // rule decides within it.
      const bool last = info.end >= date::sys_days{date::year{9999} / 1 / 1};
      if (!last || !rule_) return static_cast<std::int32_t>(info.offset.count());
    } catch (...) {
      // An unreadable entry: the file's rule, if any, decides.
    }
  }
  return rule_ ? rule_->offsetAt(t) : 0;
}

}  // namespace ostrel
