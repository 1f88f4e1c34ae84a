#pragma once
/// \file autostart.hpp
/// Starting the host with the session: an XDG autostart entry,
/// `$XDG_CONFIG_HOME/autostart/ostrel-widgets.desktop` (`~/.config` when the variable is unset,
/// empty or relative), whose `Exec` line runs the host with the options it was installed with.
///
///     auto path = autostartPath(getenv("XDG_CONFIG_HOME"), getenv("HOME"));
///     auto text = autostartEntry({"/usr/bin/ostrel-widgets", "host", "--corner", "top-left"});
///     if (path && text) auto done = installAutostart(*path, *text);

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.hpp"
#include "base/result.hpp"

namespace ostrel::desktop {

/// The program an autostart entry should run, as the user ran it: `argv0` when it is an absolute
/// path, made absolute against `cwd` when it holds a slash, else found in the folders of `path`
/// (PATH's value) — a symbolic link stays the link, so the entry still works when an upgrade moves
/// what it points to. `front` (the running front program, resolved) when `argv0` cannot be found
/// that way or is not the same file as `front`.
[[nodiscard]] std::filesystem::path programToRecord(std::string_view argv0, std::string_view path,
                                                    const std::filesystem::path& cwd,
                                                    const std::filesystem::path& front);

/// `words` (the program first) as a desktop entry's `Exec` value: each word quoted where it holds
/// a reserved character, `%` doubled, and the value's own escapes applied. None when a word holds
/// a control character other than tab or newline, which the format cannot carry.
[[nodiscard]] std::optional<std::string> execValue(const std::vector<std::string>& words);

/// The autostart entry that runs `command`, or none as for `execValue`.
[[nodiscard]] std::optional<std::string> autostartEntry(const std::vector<std::string>& command);

/// Where the entry lives, from the values of XDG_CONFIG_HOME and HOME (null or empty: unset);
/// none when neither gives an absolute folder.
[[nodiscard]] std::optional<std::filesystem::path> autostartPath(const char* xdgConfigHome, const char* home);

/// Writes the entry (creating the autostart folder), replacing one that is there.
[[nodiscard]] Result<Done, FileError> installAutostart(const std::filesystem::path& path,
                                                       std::string_view text);

/// Whether an entry was there to remove.
enum class Removal { removed, absent };
/// Removes the entry.
[[nodiscard]] Result<Removal, FileError> removeAutostart(const std::filesystem::path& path);

}  // namespace ostrel::desktop
