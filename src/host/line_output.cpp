#include "host/line_output.hpp"

#include <cerrno>

namespace ostrel {

void LineOutput::show(const Face& face) {
  if (failed_) return;
  errno = 0;
  out_ << faceLine(face, format_) << '\n';
  out_.flush();
  if (out_) return;
  const int error = errno;
  failed_ = true;
  if (closed_) closed_(error);
}

}  // namespace ostrel
