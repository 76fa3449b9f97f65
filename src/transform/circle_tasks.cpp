// Circle tasks on a small pool of threads.
#include "transform/circle_tasks.h"

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

namespace quorix {

int ThreadsFor(int threads, int tasks) {
  const int wanted = threads > 0 ? threads : static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(std::min(wanted, tasks), 1, 64);
}

bool RunCircleTasks(int count, int threads, const std::function<void(int)>& task, const std::function<void()>& progress,
                    const std::atomic<bool>* cancel) {
  const auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
  if (count <= 0) return !cancelled();
  const auto done = std::make_unique<std::atomic<bool>[]>(static_cast<std::size_t>(count));
  std::atomic<int> next{0};
  int reported = 0;
  const auto report = [&] {
    while (progress && reported < count && !cancelled() && done[static_cast<std::size_t>(reported)].load()) {
      ++reported;
      progress();
    }
  };
  const auto work = [&](bool reporting) {
    while (!cancelled()) {
      const int t = next.fetch_add(1);
      if (t >= count) break;
      task(t);
      done[static_cast<std::size_t>(t)].store(true);
      if (reporting) report();
    }
  };
  {
    std::vector<std::jthread> pool;
    const int helpers = ThreadsFor(threads, count) - 1;
    pool.reserve(static_cast<std::size_t>(helpers));
    for (int h = 0; h < helpers; ++h) pool.emplace_back(work, false);
    work(true);
  }  // joins the helpers
  report();
  return !cancelled();
}

}  // namespace quorix
