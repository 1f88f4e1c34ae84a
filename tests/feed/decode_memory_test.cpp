// Peak allocation of decoding hostile documents. This test binary replaces the global allocation
// functions with ones that count the bytes held (also those the parser library allocates), so a test
// can read the peak over one call.
#include <gtest/gtest.h>
#include <malloc.h>
#include <simdjson.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "feed/decoder.hpp"

namespace {

std::atomic<std::size_t> held{0};
std::atomic<std::size_t> highest{0};

void* allocate(std::size_t n) noexcept {
  void* p = std::malloc(n == 0 ? 1 : n);
  if (p == nullptr) return nullptr;
  const std::size_t now = held.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
  std::size_t seen = highest.load();
  while (now > seen && !highest.compare_exchange_weak(seen, now)) {
  }
  return p;
}

void release(void* p) noexcept {
  if (p == nullptr) return;
  held.fetch_sub(malloc_usable_size(p));
  std::free(p);
}

/// The most bytes held at once while `f` runs, above what was held before.
template <class F>
std::size_t peakOf(F f) {
  const std::size_t before = held.load();
  highest.store(before);
  f();
  return highest.load() - before;
}

}  // namespace

// NOLINTBEGIN(misc-new-delete-overloads, cert-dcl58-cpp): the test counts every allocation
void* operator new(std::size_t n) {
  if (void* p = allocate(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  if (void* p = allocate(n)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  return allocate(n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
  return allocate(n);
}
void operator delete(void* p) noexcept {
  release(p);
}
void operator delete[](void* p) noexcept {
  release(p);
}
void operator delete(void* p, std::size_t) noexcept {
  release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  release(p);
}
// NOLINTEND(misc-new-delete-overloads, cert-dcl58-cpp)

namespace ostrel {
namespace {

const std::string kHead = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z",)";

/// `count` ones in an array under `key`, in an otherwise valid document.
std::string onesUnder(const std::string& key, std::size_t count) {
  std::string s = kHead + "\"" + key + "\":[";
  s.reserve(s.size() + 2 * count + 2 + simdjson::SIMDJSON_PADDING);
  for (std::size_t i = 0; i < count; ++i) s += i == 0 ? "1" : ",1";
  s += "]}";
  return s;
}

std::size_t peakDecoding(const std::string& text, bool& ok) {
  return peakOf([&] { ok = decodeFeed(simdjson::padded_string_view(text)).ok(); });
}

/// A list of a million elements that are not objects is rejected at its first element and costs no
/// more than the same array under a key that the feed ignores, which decodes: nothing is reserved or
/// touched for elements before they are accepted.
TEST(DecodeMemory, RejectedListCostsNoMoreThanAValidDocumentOfItsSize) {
  const std::string rejected = onesUnder("classes", 1'000'000);
  const std::string valid = onesUnder("ignored", 1'000'000);
  ASSERT_EQ(rejected.size(), valid.size());
  bool rejectedOk = true;
  bool validOk = false;
  const std::size_t rejectedPeak = peakDecoding(rejected, rejectedOk);
  const std::size_t validPeak = peakDecoding(valid, validOk);
  EXPECT_FALSE(rejectedOk);
  EXPECT_TRUE(validOk);
  EXPECT_GE(validPeak, valid.size()) << "the parser's buffers are counted";
  EXPECT_LE(rejectedPeak, validPeak + (std::size_t{64} << 10)) << rejectedPeak << " against " << validPeak;
}

/// Text that cannot begin a JSON value is refused before any parser buffer exists.
TEST(DecodeMemory, TextThatCannotBeJsonIsRefusedBeforeTheParser) {
  for (const std::string& text :
       {std::string(4u << 20, '\0'), "v=1" + std::string(4u << 20, ' '), std::string(4u << 20, ' ')}) {
    std::string padded = text;
    padded.reserve(text.size() + simdjson::SIMDJSON_PADDING);
    bool ok = true;
    EXPECT_LT(peakDecoding(padded, ok), std::size_t{64} << 10);
    EXPECT_FALSE(ok);
  }
}

}  // namespace
}  // namespace ostrel
