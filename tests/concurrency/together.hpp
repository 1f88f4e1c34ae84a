#pragma once
/// \file together.hpp
/// Runs work on several threads released at the same instant, so that their first uses of anything
/// shared meet, and waits for all of them.
#include <functional>
#include <latch>
#include <thread>
#include <vector>

namespace ostrel::test_support {

/// Calls `work(i)` for i = 0 … threads - 1, each on its own thread, all starting together.
inline void together(int threads, const std::function<void(int)>& work) {
  std::latch start(threads);
  std::vector<std::thread> running;
  running.reserve(static_cast<std::size_t>(threads));
  for (int i = 0; i < threads; ++i) {
    running.emplace_back([&start, &work, i] {
      start.arrive_and_wait();
      work(i);
    });
  }
  for (std::thread& t : running) t.join();
}

}  // namespace ostrel::test_support
