#include "shell/Worker.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace lumora {

void UiDispatcher::ServePending() {
    // One at a time: a served call may show a modal box, whose message loop serves the rest.
    for (;;) {
        WorkerThread* worker = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (waiting_.empty()) {
                return;
            }
            worker = waiting_.front();
            waiting_.pop_front();
        }
        worker->Serve();
    }
}

bool UiDispatcher::Enqueue(WorkerThread* worker) {
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(worker);
    }
    return Wake();
}

void UiDispatcher::Forget(WorkerThread* worker) {
    std::lock_guard lock(mutex_);
    waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), worker), waiting_.end());
}

bool WorkerContext::StopRequested() const {
    return worker_.StopRequested();
}

bool WorkerContext::SetCancel(std::function<void()> cancel) {
    return worker_.SetCancel(std::move(cancel));
}

bool WorkerContext::HandOver(const std::function<void()>& call) {
    return worker_.HandOver(call);
}

WorkerThread::~WorkerThread() {
    Stop();
    if (thread_.joinable()) {
        thread_.join();
    }
    dispatcher_.Forget(this);
}

bool WorkerThread::WaitForJobEnd(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return phase_ != Phase::Running; });
}

bool WorkerThread::Start(std::function<void(WorkerContext&)> job, std::function<void()> finish) {
    {
        std::lock_guard lock(mutex_);
        if (phase_ != Phase::Idle) {
            return false;
        }
        phase_ = Phase::Running;
        stop_ = false;
        handOver_ = HandOverState::None;
    }
    finish_ = std::move(finish);
    error_ = nullptr;
    try {
        thread_ = std::thread([this, job = std::move(job)] { Run(job); });
    } catch (const std::system_error&) {
        std::lock_guard lock(mutex_);
        phase_ = Phase::Idle;
        finish_ = nullptr;
        return false;
    }
    return true;
}

bool WorkerThread::Running() const {
    std::lock_guard lock(mutex_);
    return phase_ != Phase::Idle;
}

void WorkerThread::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    std::lock_guard lock(cancelMutex_);
    if (cancel_) {
        std::exchange(cancel_, nullptr)();
    }
}

void WorkerThread::Run(const std::function<void(WorkerContext&)>& job) {
    WorkerContext context(*this);
    try {
        job(context);
    } catch (...) {
        error_ = std::current_exception(); // read after the join
    }
    {
        std::lock_guard lock(cancelMutex_);
        cancel_ = nullptr;
    }
    {
        std::lock_guard lock(mutex_);
        phase_ = Phase::Finished;
    }
    changed_.notify_all();
    // When the user-interface thread cannot be reached any more, the worker's destruction joins us.
    dispatcher_.Enqueue(this);
}

void WorkerThread::Serve() {
    std::unique_lock lock(mutex_);
    if (handOver_ == HandOverState::Pending) {
        handOver_ = HandOverState::Running;
        const std::function<void()>* call = call_;
        lock.unlock();
        // The worker waits for Done even when the call throws.
        struct Done {
            WorkerThread& Owner;
            ~Done() {
                {
                    std::lock_guard lock(Owner.mutex_);
                    Owner.handOver_ = HandOverState::Done;
                }
                Owner.changed_.notify_all();
            }
        } done{*this};
        (*call)();
        return;
    }
    if (phase_ != Phase::Finished) {
        return;
    }
    lock.unlock();
    thread_.join(); // the thread has nothing left to do but return
    lock.lock();
    phase_ = Phase::Idle;
    lock.unlock();
    std::function<void()> finish = std::move(finish_);
    finish_ = nullptr;
    std::exception_ptr error = std::exchange(error_, nullptr);
    // Nothing of the worker is touched from here on: finish may have destroyed it.
    if (finish) {
        finish();
    }
    if (error) {
        std::rethrow_exception(error);
    }
}

bool WorkerThread::HandOver(const std::function<void()>& call) {
    std::unique_lock lock(mutex_);
    if (stop_) {
        return false;
    }
    call_ = &call;
    handOver_ = HandOverState::Pending;
    lock.unlock();
    const bool woken = dispatcher_.Enqueue(this);
    lock.lock();
    if (!woken && handOver_ == HandOverState::Pending) {
        handOver_ = HandOverState::None; // nobody will serve it
        call_ = nullptr;
        return false;
    }
    // A call already running is waited for even when a stop comes: it may use this thread's locals.
    changed_.wait(
        lock, [this] { return handOver_ == HandOverState::Done || (stop_ && handOver_ == HandOverState::Pending); });
    const bool ran = handOver_ == HandOverState::Done;
    handOver_ = HandOverState::None;
    call_ = nullptr;
    return ran;
}

bool WorkerThread::SetCancel(std::function<void()> cancel) {
    std::lock_guard cancelLock(cancelMutex_);
    if (cancel && StopRequested()) {
        return false;
    }
    cancel_ = std::move(cancel);
    return true;
}

bool WorkerThread::StopRequested() const {
    std::lock_guard lock(mutex_);
    return stop_;
}

} // namespace lumora
