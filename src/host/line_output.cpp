#include "host/line_output.hpp"

namespace ostrel {

void LineOutput::show(const Face& face) {
  if (failed_) return;
  out_ << faceLine(face, format_) << '\n';
  out_.flush();
  if (out_) return;
  failed_ = true;
  if (closed_) closed_();
}

}  // namespace ostrel
