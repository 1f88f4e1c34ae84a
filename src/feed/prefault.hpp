#pragma once
/// \file prefault.hpp
/// Internal to the feed folder. Asks the kernel to map the pages of a large, freshly allocated
/// buffer in one call before they are written, instead of taking one page fault per 4 KiB while
/// writing. Only a hint: contents are untouched, and nothing happens on kernels without it.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

namespace ostrel::detail {

/// Buffers below this size are left to fault in as they are written.
inline constexpr std::size_t kPrefaultFrom = std::size_t{1} << 16;

inline void prefault(const void* data, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  if (data == nullptr || bytes < kPrefaultFrom) return;
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  // The whole pages inside the buffer, found by offsets from its start (no integer-to-pointer cast).
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t from = (start + page - 1) / page * page - start;
  const std::uintptr_t to = (start + bytes) / page * page - start;
  auto* base = static_cast<char*>(const_cast<void*>(data));
  if (to > from) (void)::madvise(base + from, to - from, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace ostrel::detail
