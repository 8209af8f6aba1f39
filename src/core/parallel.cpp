#include "core/parallel.h"

#include <thread>
#include <vector>

namespace hueloom {

void runOnThreads(int threads, const std::function<void()>& work) {
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (...) {
            break;  // fewer helpers
        }
    }
    work();
    for (std::thread& t : helpers) t.join();
}

}  // namespace hueloom
