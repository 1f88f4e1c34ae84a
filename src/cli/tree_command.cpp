// `ostrel-widgets tree`: the view tree of one face, as the indented text dump or as JSON.

#include <memory>
#include <ostream>

#include "cli/chosen_face.hpp"
#include "cli/commands.hpp"
#include "cli/subcommands.hpp"
#include "ui/json_dump.hpp"
#include "ui/text_dump.hpp"

namespace ostrel::cli {

void addTree(CLI::App& app, Io& io) {
  auto options = std::make_shared<FaceOptions>();
  CLI::App* cmd = addSubcommand(app, "tree");
  addFaceOptions(*cmd, *options, *io.widgets, true);
  cmd->footer(helpFooter(
      {"ostrel-widgets tree --kind NextUp --family systemSmall",
       "ostrel-widgets tree --kind DueSoon --family systemLarge --scheme dark --json",
       "ostrel-widgets tree --kind NextUp --family systemMedium --sample --at 2026-03-02T10:00:00Z"}));
  cmd->callback([&io, options] {
    auto face = resolveFace(*options, *io.widgets);
    if (const auto* error = std::get_if<std::string>(&face)) return io.fail(Status::usage, *error);
    const ChosenFace& f = std::get<ChosenFace>(face);
    const View view = f.widget->content(f.entry, f.env);
    io.out << (options->common.json ? dumpJson(view) : dumpText(view));  // each ends in one newline
  });
}

}  // namespace ostrel::cli
