#include <memory>
#include <ostream>
#include <string>
#include <variant>

#include "cli/commands.hpp"
#include "cli/options.hpp"
#include "cli/printable.hpp"
#include "cli/subcommands.hpp"
#include "feed/feed_file.hpp"

namespace ostrel::cli {
namespace {

constexpr const char* kStates =
    "Prints the state the widgets would see and the path of the document read, on the first line\n"
    "(such as \"feed  /home/me/Library/Application Support/.../widgets/widget.json\"):\n"
    "  feed     the document decodes, its version is 1 and the widgets are switched on\n"
    "  off      the document decodes and is version 1, but the user switched the widgets off\n"
    "  missing  there is no usable document: absent, not a regular file, unreadable, not valid JSON,\n"
    "           breaking a rule of the feed format, or of another version than 1\n"
    "For missing, a second line says why:\n"
    "  error: cannot read FILE: REASON   the file could not be read\n"
    "  error: PATH: KIND[: DETAIL]       the first decoding failure, at PATH (such as classes[2].start,\n"
    "                                    or (document) for the document as a whole); KIND is one of\n"
    "                                    malformed JSON, wrong type, missing key, null value, not an\n"
    "                                    integer, out of range, not a date, duplicate key, too large\n"
    "  error: v: version N is not supported (only version 1)\n"
    "The exit status is 0 for all three states and 2 for bad arguments (also for a FILE that names\n"
    "no file but another subcommand, as in `check timeline`).\n";

}  // namespace

void addCheck(CLI::App& app, Io& io) {
  auto* cmd = addSubcommand(app, "check");
  cmd->footer(std::string(kStates) +
              helpFooter({"ostrel-widgets check", "ostrel-widgets check examples/widget.json",
                          "ostrel-widgets check | cut -d ' ' -f 1 | head -n 1   # the state alone"}));
  auto file = std::make_shared<std::string>();
  cmd->add_option("FILE,--feed", *file, "The feed document (default: " + FeedFile::url().string() + ")");
  cmd->callback([&io, file, cmd] {
    // A word that names no file but another subcommand ("check timeline") is a command line gone
    // wrong, not a feed that is missing: say so instead of reporting the feed.
    std::error_code ec;
    const auto named = [&](const CLI::App* sub) { return sub->check_name(*file); };
    if (!file->empty() && !cmd->get_parent()->get_subcommands(named).empty() &&
        std::filesystem::symlink_status(*file, ec).type() == std::filesystem::file_type::not_found) {
      return io.fail(Status::usage, "check: there is no file named " + *file +
                                        " (for the subcommand, run: ostrel-widgets " + *file + ")");
    }
    const std::filesystem::path path = file->empty() ? FeedFile::url() : std::filesystem::path(*file);
    const FeedReport report = FeedFile::inspect(path);
    io.out << name(report.loaded.which()) << "  " << printable(path.string()) << "\n";
    if (const auto* read = std::get_if<ReadError>(&report.reason)) {
      io.out << "error: cannot read " << printable(path.string()) << ": " << printable(read->reason) << "\n";
    } else if (const auto* e = std::get_if<DecodeError>(&report.reason)) {
      io.out << "error: " << (e->path.empty() ? std::string("(document)") : printable(e->path)) << ": "
             << printable(message(*e)) << "\n";
    } else if (const auto* other = std::get_if<OtherVersion>(&report.reason)) {
      io.out << "error: v: version " << other->v << " is not supported (only version 1)\n";
    }
    io.succeed();
  });
}

}  // namespace ostrel::cli
