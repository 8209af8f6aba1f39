// Running one piece of work on several threads at once: the work takes its
// items from a counter of its own, so each thread does what is left.
#pragma once

#include <functional>

namespace hueloom {

// Runs `work` on this thread and on up to `threads` - 1 helper threads, and
// returns when all are done. A helper that cannot be started leaves its
// share to the others.
void runOnThreads(int threads, const std::function<void()>& work);

}  // namespace hueloom
