// Peak allocation of decoding hostile documents: this binary's allocation functions count the bytes
// held, the parser library's buffers too. Every form is replaced, nothrow and array ones included:
// the sanitizers replace each form of their own, so one left to them would pair their `new` with
// this `delete`.
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

}  // namespace

// NOLINTBEGIN(misc-new-delete-overloads, cert-dcl58-cpp): the test counts every allocation
void* operator new(std::size_t n, const std::nothrow_t& /*unused*/) noexcept {
  void* p = std::malloc(n == 0 ? 1 : n);
  if (p == nullptr) return nullptr;
  const std::size_t now = held.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
  std::size_t seen = highest.load();
  while (now > seen && !highest.compare_exchange_weak(seen, now)) {
  }
  return p;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  held.fetch_sub(malloc_usable_size(p));
  std::free(p);
}
void* operator new(std::size_t n) {
  if (void* p = operator new(n, std::nothrow)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  return operator new(n);
}
void* operator new[](std::size_t n, const std::nothrow_t& /*unused*/) noexcept {
  return operator new(n, std::nothrow);
}
void operator delete[](void* p) noexcept {
  operator delete(p);
}
void operator delete(void* p, std::size_t /*size*/) noexcept {
  operator delete(p);
}
void operator delete[](void* p, std::size_t /*size*/) noexcept {
  operator delete(p);
}
void operator delete(void* p, const std::nothrow_t& /*unused*/) noexcept {
  operator delete(p);
}
void operator delete[](void* p, const std::nothrow_t& /*unused*/) noexcept {
  operator delete(p);
}
// NOLINTEND(misc-new-delete-overloads, cert-dcl58-cpp)

namespace ostrel {
namespace {

/// The most bytes held at once while decoding `text`, above what was held before.
std::size_t peakDecoding(std::string text, bool& ok) {
  text.reserve(text.size() + simdjson::SIMDJSON_PADDING);
  const std::size_t before = held.load();
  highest.store(before);
  ok = decodeFeed(simdjson::padded_string_view(text)).ok();
  return highest.load() - before;
}

/// A list of a million elements that are not objects is rejected at its first element and costs no
/// more than the same array under a key that the feed ignores, which decodes: nothing is reserved or
/// touched for elements before they are accepted.
TEST(DecodeMemory, RejectedListCostsNoMoreThanAValidDocumentOfItsSize) {
  const auto onesUnder = [](const std::string& key) {
    std::string s = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z",")" + key + "\":[1";
    for (int i = 1; i < 1'000'000; ++i) s += ",1";
    return s + "]}";
  };
  bool ok = true;
  const std::size_t rejectedPeak = peakDecoding(onesUnder("classes"), ok);
  EXPECT_FALSE(ok);
  const std::string valid = onesUnder("ignored");
  const std::size_t validPeak = peakDecoding(valid, ok);
  EXPECT_TRUE(ok);
  EXPECT_GE(validPeak, valid.size()) << "the parser's buffers are counted";
  EXPECT_LE(rejectedPeak, validPeak + (std::size_t{64} << 10)) << rejectedPeak << " against " << validPeak;
}

/// Text that cannot begin a JSON value is refused before any parser buffer exists.
TEST(DecodeMemory, TextThatCannotBeJsonIsRefusedBeforeTheParser) {
  for (const std::string& text :
       {std::string(4u << 20, '\0'), "v=1" + std::string(4u << 20, ' '), std::string(4u << 20, ' ')}) {
    bool ok = true;
    EXPECT_LT(peakDecoding(text, ok), std::size_t{64} << 10);
    EXPECT_FALSE(ok);
  }
}

}  // namespace
}  // namespace ostrel
