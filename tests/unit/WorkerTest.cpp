#include "shell/Worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>

namespace lumora {
namespace {

using namespace std::chrono_literals;

// The test's own thread plays the user-interface thread: it serves when woken.
class FakeUiThread final : public UiDispatcher {
public:
    bool Reachable = true;

    // Serves until done() holds; false when it did not within a few seconds.
    template <class Done> bool ServeUntil(Done done) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (!done()) {
            if (!WaitForWake(deadline)) {
                return false;
            }
            ServePending();
        }
        return true;
    }

    bool WaitForWake(std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + 5s) {
        std::unique_lock lock(mutex_);
        if (!woken_.wait_until(lock, deadline, [this] { return wakes_ > 0; })) {
            return false;
        }
        --wakes_;
        return true;
    }

private:
    bool Wake() override {
        {
            std::lock_guard lock(mutex_);
            ++wakes_;
        }
        woken_.notify_all();
        return Reachable;
    }

    std::mutex mutex_;
    std::condition_variable woken_;
    int wakes_ = 0;
};

struct Answer {
    int Value = 0;
};

TEST(Worker, HandOverRunsOnTheUiThreadAndTheCompletionGetsTheResultOnce) {
    FakeUiThread ui;
    Worker<Answer> worker(ui);
    std::thread::id handOverThread;
    std::thread::id completionThread;
    int completions = 0;
    std::unique_ptr<Answer> answer;
    const auto job = [&](WorkerContext& context) {
        const std::optional<int> value = context.RunOnUiThread([&] {
            handOverThread = std::this_thread::get_id();
            return 41;
        });
        return std::make_unique<Answer>(Answer{value.value_or(0) + 1});
    };
    const auto completion = [&](std::unique_ptr<Answer> result) {
        completionThread = std::this_thread::get_id();
        ++completions;
        answer = std::move(result);
    };

    ASSERT_TRUE(worker.Start(job, completion));
    EXPECT_FALSE(worker.Start(job, completion)) << "one job at a time";
    ASSERT_TRUE(ui.ServeUntil([&] { return completions > 0; }));
    EXPECT_EQ(handOverThread, std::this_thread::get_id());
    EXPECT_EQ(completionThread, std::this_thread::get_id());
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->Value, 42);
    EXPECT_FALSE(worker.Running());

    // Serving again delivers nothing twice; the worker takes the next job.
    ui.ServePending();
    EXPECT_EQ(completions, 1);
    ASSERT_TRUE(worker.Start(job, completion));
    ASSERT_TRUE(ui.ServeUntil([&] { return completions == 2; }));
}

TEST(Worker, CompletionMayDestroyTheWorker) {
    FakeUiThread ui;
    auto worker = std::make_unique<Worker<Answer>>(ui);
    ASSERT_TRUE(worker->Start([](WorkerContext&) { return std::make_unique<Answer>(Answer{7}); },
                              [&](std::unique_ptr<Answer> result) {
                                  worker.reset();
                                  EXPECT_EQ(result->Value, 7);
                              }));
    ASSERT_TRUE(ui.ServeUntil([&] { return worker == nullptr; }));
}

TEST(Worker, JobErrorReachesTheUiThreadAfterTheCompletion) {
    FakeUiThread ui;
    Worker<Answer> worker(ui);
    bool completedWithoutResult = false;
    ASSERT_TRUE(worker.Start([](WorkerContext&) -> std::unique_ptr<Answer> { throw std::runtime_error("lost"); },
                             [&](std::unique_ptr<Answer> result) { completedWithoutResult = result == nullptr; }));
    EXPECT_THROW(ui.ServeUntil([&] { return !worker.Running(); }), std::runtime_error);
    EXPECT_TRUE(completedWithoutResult);
}

TEST(Worker, DestructionEndsAJobThatWaitsForTheUiThread) {
    enum class Wait { UnservedHandOver, UnreachableUiThread, CancellableCall };
    for (const Wait wait : {Wait::UnservedHandOver, Wait::UnreachableUiThread, Wait::CancellableCall}) {
        SCOPED_TRACE(static_cast<int>(wait));
        FakeUiThread ui;
        ui.Reachable = wait != Wait::UnreachableUiThread;
        std::promise<void> released;
        std::future<void> release = released.get_future();
        std::promise<void> blocking;
        std::optional<bool> handOverRan;
        bool releasedByCancel = false;
        std::thread::id cancelThread;
        bool completed = false;
        const auto start = std::chrono::steady_clock::now();
        {
            Worker<Answer> worker(ui);
            ASSERT_TRUE(worker.Start(
                [&](WorkerContext& context) {
                    if (wait == Wait::CancellableCall) {
                        EXPECT_TRUE(context.SetCancel([&] {
                            cancelThread = std::this_thread::get_id();
                            released.set_value();
                        }));
                        blocking.set_value();
                        releasedByCancel = release.wait_for(10s) == std::future_status::ready;
                        context.SetCancel(nullptr);
                    } else {
                        handOverRan = context.RunOnUiThread([] {});
                    }
                    EXPECT_TRUE(context.StopRequested() || wait == Wait::UnreachableUiThread);
                    return std::make_unique<Answer>();
                },
                [&](std::unique_ptr<Answer>) { completed = true; }));
            if (wait == Wait::CancellableCall) {
                blocking.get_future().wait();
            } else {
                ASSERT_TRUE(ui.WaitForWake()); // the hand-over is waiting now
            }
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
        EXPECT_FALSE(completed);
        if (wait == Wait::CancellableCall) {
            EXPECT_TRUE(releasedByCancel);
            EXPECT_EQ(cancelThread, std::this_thread::get_id());
        } else {
            EXPECT_EQ(handOverRan, false);
        }
    }
}

// The owner may wait a while for a job held in a call nothing interrupts, and then give up.
TEST(Worker, WaitForJobEndGivesUpOnAHeldJob) {
    FakeUiThread ui;
    std::promise<void> released;
    std::shared_future<void> release = released.get_future().share();
    Worker<Answer> worker(ui);
    EXPECT_TRUE(worker.WaitForJobEnd(0ms)); // nothing runs
    ASSERT_TRUE(worker.Start(
        [release](WorkerContext&) {
            release.wait();
            return std::make_unique<Answer>();
        },
        [](std::unique_ptr<Answer>) {}));
    EXPECT_FALSE(worker.WaitForJobEnd(50ms));
    released.set_value();
    EXPECT_TRUE(worker.WaitForJobEnd(5s));
    EXPECT_TRUE(ui.ServeUntil([&] { return !worker.Running(); }));
}

} // namespace
} // namespace lumora
