#include "cli/io.hpp"

#include <ostream>

#include "cli/printable.hpp"

namespace ostrel::cli {

int reportError(std::ostream& err, Status status, std::string_view message) {
  err << "ostrel-widgets: error: " << printable(message) << "\n";
  return static_cast<int>(status);
}

void Io::fail(Status s, std::string_view message) {
  status = reportError(err, s, message);
}

}  // namespace ostrel::cli
