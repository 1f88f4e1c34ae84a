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

/// The program `name` in the folder of the running executable, or nothing if that is unknown.
std::optional<std::filesystem::path> besideThisProgram(const char* name, std::error_code& ec) {
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::nullopt;
  return self.parent_path() / name;
}

}  // namespace

int handToDrawingCommand(int argc, const char* const* argv, std::ostream& err) {
  std::error_code ec;
  const auto drawing = besideThisProgram("ostrel-widgets-draw", ec);
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
  const auto front = besideThisProgram("ostrel-widgets", ec);
  return front ? front->string() : std::string("ostrel-widgets");
}

}  // namespace ostrel::cli
