// How the programs that may load large feeds allocate large blocks: on transparent huge pages.
// Linked into those executables only (ostrel::allocator, an object library), never into a
// library: it replaces the C++ allocation functions of the whole program.
//
// Why: a large feed is read, parsed and decoded into fresh memory of several times its size (the
// text, the parser's index, tape and strings, then the typed records), and on virtual machines the
// first touch of each 4 KiB page costs 10 to 25 microseconds: for the 19 MB stress feed that first
// touch, not the parsing, was most of the time. The parser allocates its buffers itself, through
// `new`, so only the allocation functions can place them. A block of 4 MiB or more is aligned to
// 2 MiB and marked for huge pages (madvise(MADV_HUGEPAGE), a hint that kernels without
// transparent huge pages ignore), which makes its first touch about 40 times cheaper; the stress
// feed's parse then takes a tenth of the time. Smaller blocks, and so every ordinary feed, go to
// the C library's allocator untouched, and no memory is held beyond each large block's rounding to
// 2 MiB (a general allocator configured for huge pages kept 6 MB more in every process and 15 MB
// more at the stress request's peak). bench/decode_bench and bench/check_vs_jq.sh measure it.

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLarge = 2 * kHugePage;

void* allocate(std::size_t n) noexcept {
  if (n < kLarge) return std::malloc(n == 0 ? 1 : n);
  if (n > static_cast<std::size_t>(-1) - kHugePage) return nullptr;
  const std::size_t rounded = (n + kHugePage - 1) / kHugePage * kHugePage;
  void* p = std::aligned_alloc(kHugePage, rounded);
  if (p != nullptr) static_cast<void>(::madvise(p, rounded, MADV_HUGEPAGE));
  return p;
}

void* allocateOrThrow(std::size_t n) {
  for (;;) {
    if (void* p = allocate(n)) return p;
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

}  // namespace

// NOLINTBEGIN(misc-new-delete-overloads, cert-dcl58-cpp): the replaceable allocation functions
void* operator new(std::size_t n) {
  return allocateOrThrow(n);
}
void* operator new[](std::size_t n) {
  return allocateOrThrow(n);
}
void* operator new(std::size_t n, const std::nothrow_t& /*unused*/) noexcept {
  try {
    return allocateOrThrow(n);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t n, const std::nothrow_t& /*unused*/) noexcept {
  try {
    return allocateOrThrow(n);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t /*unused*/) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t /*unused*/) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t& /*unused*/) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t& /*unused*/) noexcept {
  std::free(p);
}
// NOLINTEND(misc-new-delete-overloads, cert-dcl58-cpp)
