// Long work (smoothing at a wide width, the density of millions of
// directions) tells how far it got and stops when asked. Both parts are
// optional: the command-line tool and the tests pass nothing.
#pragma once

#include <atomic>
#include <functional>

namespace quorix {

struct WorkControl {
  // Called on the calling thread now and then with the finished part of
  // `total`; a window repaints its gauge and handles a click on Cancel here.
  std::function<void(int done, int total)> progress;
  // Set by the caller, typically from `progress`; the work notices soon,
  // stops and fails, leaving its record as it was.
  std::atomic<bool>* cancel = nullptr;

  bool Cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
  void Report(int done, int total) const {
    if (progress) progress(done, total);
  }
};

}  // namespace quorix
