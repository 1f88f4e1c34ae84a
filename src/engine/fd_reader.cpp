#include "engine/fd_reader.hpp"

#include <glib-unix.h>
#include <unistd.h>

namespace ostrel {

FdReader::FdReader(int fd, std::function<void()> readable) : fd_(fd), readable_(std::move(readable)) {
  if (fd_ < 0) return;
  source_ = g_unix_fd_add(
      fd_, G_IO_IN,
      +[](gint, GIOCondition, gpointer self) -> gboolean {
        static_cast<FdReader*>(self)->readable_();
        return G_SOURCE_CONTINUE;
      },
      this);
}

FdReader::~FdReader() {
  if (source_ != 0) g_source_remove(source_);
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace ostrel
