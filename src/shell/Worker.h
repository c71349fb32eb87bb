#pragma once
// A job on its own thread that touches the user-interface thread only through synchronous
// hand-overs, and whose result is delivered there once it ends. Destroying the worker stops it and
// joins its thread; a hand-over still waiting is then refused rather than run.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>

namespace lumora {

class WorkerThread;

// The user-interface thread's side: something that gets that thread to call ServePending.
// It must outlive every worker that uses it.
class UiDispatcher {
public:
    UiDispatcher(const UiDispatcher&) = delete;
    UiDispatcher& operator=(const UiDispatcher&) = delete;
    virtual ~UiDispatcher() = default;

    // User-interface thread: runs the hand-overs and completions workers are waiting for. An error
    // from one goes on to the caller; the rest wait for the next wake-up.
    void ServePending();

protected:
    UiDispatcher() = default;

    // Any thread: asks the user-interface thread to call ServePending soon, without waiting for
    // it. False when that thread can no longer be reached.
    virtual bool Wake() = 0;

private:
    friend class WorkerThread;
    bool Enqueue(WorkerThread* worker);
    void Forget(WorkerThread* worker);

    std::mutex mutex_;
    std::deque<WorkerThread*> waiting_;
};

// What a job sees of its worker. Worker thread only.
class WorkerContext {
public:
    WorkerContext(const WorkerContext&) = delete;
    WorkerContext& operator=(const WorkerContext&) = delete;

    bool StopRequested() const;

    // cancel aborts the job's blocking call (closes its socket, say) when the owner stops the
    // worker; it runs on the user-interface thread and must not call back into the worker. Clear
    // it (nullptr) before freeing what it closes. False, and cancel dropped, when a stop came first.
    bool SetCancel(std::function<void()> cancel);

    // Runs call on the user-interface thread and waits until it has run. A call returning void
    // gives true when it ran; a call returning a value gives it, or nothing when it did not run
    // because the worker is being stopped or the user-interface thread cannot be reached.
    template <class Call> auto RunOnUiThread(Call&& call) {
        using Value = std::invoke_result_t<Call&>;
        if constexpr (std::is_void_v<Value>) {
            return HandOver([&call] { call(); });
        } else {
            std::optional<Value> value;
            HandOver([&] { value.emplace(call()); });
            return value;
        }
    }

private:
    friend class WorkerThread;
    explicit WorkerContext(WorkerThread& worker) : worker_(worker) {}
    bool HandOver(const std::function<void()>& call);

    WorkerThread& worker_;
};

// The untyped worker; Worker<Result> below is what owners use. Every member is for the
// user-interface thread, which owns the worker.
class WorkerThread {
public:
    explicit WorkerThread(UiDispatcher& dispatcher) : dispatcher_(dispatcher) {}
    // Stops the job and joins its thread; a completion not yet delivered is dropped. Not from
    // inside one of the worker's own hand-over calls, which its thread is waiting for.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs job on a new thread, then finish on the user-interface thread after the thread has
    // ended; finish may destroy the worker. False while a job is running or when no thread can be
    // started. A job's exception reaches the user-interface thread after finish has run.
    bool Start(std::function<void(WorkerContext&)> job, std::function<void()> finish);

    // From Start until finish has been called.
    bool Running() const;

    // Asks the job to end: refuses a waiting hand-over and calls the job's cancel.
    void Stop();
    // Waits up to timeout for the job's thread to leave the job; true when no job runs on it any more.
    bool WaitForJobEnd(std::chrono::milliseconds timeout);

private:
    friend class UiDispatcher;
    friend class WorkerContext;
    enum class Phase { Idle, Running, Finished };
    enum class HandOverState { None, Pending, Running, Done };

    void Run(const std::function<void(WorkerContext&)>& job);
    void Serve();
    bool HandOver(const std::function<void()>& call);
    bool SetCancel(std::function<void()> cancel);
    bool StopRequested() const;

    UiDispatcher& dispatcher_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Phase phase_ = Phase::Idle;
    bool stop_ = false;
    HandOverState handOver_ = HandOverState::None;
    const std::function<void()>* call_ = nullptr;
    std::mutex cancelMutex_; // held while cancel runs, so clearing it waits for a running cancel
    std::function<void()> cancel_;
    std::function<void()> finish_;
    std::exception_ptr error_;
    std::thread thread_;
};

// A worker whose job ends with a result the completion handler receives on the user-interface
// thread. The result is null when the job threw.
template <class Result> class Worker {
public:
    using Job = std::function<std::unique_ptr<Result>(WorkerContext&)>;
    using Completion = std::function<void(std::unique_ptr<Result>)>;

    explicit Worker(UiDispatcher& dispatcher) : thread_(dispatcher) {}

    bool Start(Job job, Completion completion) {
        return thread_.Start([this, job = std::move(job)](WorkerContext& context) { result_ = job(context); },
                             [this, completion = std::move(completion)] {
                                 // The result leaves the worker first: the completion may destroy it.
                                 completion(std::move(result_));
                             });
    }
    bool Running() const { return thread_.Running(); }
    void Stop() { thread_.Stop(); }
    bool WaitForJobEnd(std::chrono::milliseconds timeout) { return thread_.WaitForJobEnd(timeout); }

private:
    std::unique_ptr<Result> result_; // written by the job, read after its thread has ended
    WorkerThread thread_;            // last, so that its thread is joined before result_ goes
};

} // namespace lumora
