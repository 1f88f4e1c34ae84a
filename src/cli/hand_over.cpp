#include "cli/hand_over.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/io.hpp"

namespace ostrel::cli {

namespace {

namespace fs = std::filesystem;

/// The program `name` beside the running executable if it is there, else in `installed` (a folder
/// relative to the running executable's); nothing if the running executable is unknown.
std::optional<fs::path> findFromThisProgram(const char* name, const char* installed, std::error_code& ec) {
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return std::nullopt;
  const fs::path beside = self.parent_path() / name;
  std::error_code ignored;
  if (fs::exists(beside, ignored)) return beside;
  return (self.parent_path() / installed / name).lexically_normal();
}

}  // namespace

int handToDrawingCommand(int argc, const char* const* argv, std::ostream& err) {
  std::error_code ec;
  const auto drawing = findFromThisProgram("ostrel-widgets-draw", OSTREL_DRAW_FROM_FRONT, ec);
  if (!drawing)
    return reportError(err, Status::environment, "cannot find ostrel-widgets-draw: " + ec.message());
  std::vector<char*> args;
  args.reserve(static_cast<std::size_t>(argc) + 1);
  for (int i = 0; i < argc; ++i) args.push_back(const_cast<char*>(argv[i]));  // NOLINT: execv's signature
  args.push_back(nullptr);
  err.flush();
  ::execv(drawing->c_str(), args.data());
  const int error = errno;
  return reportError(err, Status::environment,
                     "cannot run " + drawing->string() + ": " + std::strerror(error));
}

std::string frontCommand() {
  std::error_code ec;
  const auto front = findFromThisProgram("ostrel-widgets", OSTREL_FRONT_FROM_DRAW, ec);
  return front ? front->string() : std::string("ostrel-widgets");
}

}  // namespace ostrel::cli
