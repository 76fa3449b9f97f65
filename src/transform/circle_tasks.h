// Work of one task per circle spread over threads, the progress still
// reported in circle order on the calling thread.
#pragma once

#include <atomic>
#include <functional>

namespace quorix {

// Threads worth starting for `tasks` tasks: `threads` 0 means one per core;
// never more than the tasks, never more than 64.
int ThreadsFor(int threads, int tasks);

// Runs task(0) .. task(count - 1), each once, on up to `threads` threads (0:
// one per core). Each task must depend on nothing another task writes, so
// the results do not depend on the threads. `progress` is called on the
// calling thread once per finished task, in task order, until `cancel`
// turns true; the tasks not yet started are then left alone and the
// function returns false.
bool RunCircleTasks(int count, int threads, const std::function<void(int)>& task,
                    const std::function<void()>& progress = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace quorix
