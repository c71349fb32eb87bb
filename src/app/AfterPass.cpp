#include "app/AfterPass.h"

#include <utility>

namespace lumora {

void AfterPass::Add(std::function<void()> work) {
    waiting_.push_back(std::move(work));
    PostMessageW(window_, message_, 0, 0);
}

void AfterPass::Run() {
    if (running_) {
        return; // the running piece takes the rest when it is done
    }
    running_ = true;
    while (!waiting_.empty()) {
        // Out of the queue before it runs: work added meanwhile must not move or free it.
        const std::function<void()> work = std::move(waiting_.front());
        waiting_.pop_front();
        work();
    }
    running_ = false;
}

} // namespace lumora
