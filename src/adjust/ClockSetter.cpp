#include "adjust/ClockSetter.h"

#include "adjust/AdjustJobs.h"
#include "adjust/SystemClock.h"
#include "adjust/ZeroAdjustment.h"

#include <algorithm>

namespace lumora {
namespace {

using AdjustJob = AdjustResult (*)(const AdjustRequest&, AdjustJobContext&);

AdjustJob JobOf(AdjustSource source) {
    switch (source) {
    case AdjustSource::Ntp:
        return RunSntpAdjust;
    case AdjustSource::Http:
        return RunHttpAdjust;
    case AdjustSource::Kit:
        break;
    }
    return RunKitAdjust;
}

} // namespace

ClockSetter::ClockSetter(HWND window, UINT message, bool bootAdjust, double now, ClockSetterHost host)
    : dispatcher_(window, message), schedule_(bootAdjust, now), host_(std::move(host)) {
    for (auto& worker : workers_) {
        worker = std::make_unique<Worker<AdjustResult>>(dispatcher_);
    }
    elevated_ = std::make_unique<Worker<ElevatedSetRun>>(dispatcher_);
}

ClockSetter::~ClockSetter() {
    // Every run is asked to end first, so that the threads are joined together rather than in turn.
    StopAll(std::chrono::milliseconds(0));
}

bool ClockSetter::StopAll(std::chrono::milliseconds grace) {
    for (auto& worker : workers_) {
        worker->Stop();
    }
    elevated_->Stop();
    const auto deadline = std::chrono::steady_clock::now() + grace;
    const auto left = [deadline] {
        return std::max(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()),
            std::chrono::milliseconds(0));
    };
    bool ended = true;
    for (auto& worker : workers_) {
        ended = worker->WaitForJobEnd(left()) && ended;
    }
    // Held while the consent prompt is open, which nothing can close from here.
    return elevated_->WaitForJobEnd(left()) && ended;
}

Worker<AdjustResult>& ClockSetter::WorkerOf(AdjustSource source) const {
    return *workers_[static_cast<size_t>(source)];
}

void ClockSetter::Tick(const AdjustClockSettings& settings, double now) {
    if (const auto run = schedule_.Tick(settings, now)) {
        Start(run->Source, run->Request);
    }
}

bool ClockSetter::Running(AdjustSource source) const {
    return WorkerOf(source).Running();
}

bool ClockSetter::Start(AdjustSource source, const AdjustRequest& request) {
    Worker<AdjustResult>& worker = WorkerOf(source);
    if (worker.Running()) {
        return false;
    }
    auto job = [this, request, job = JobOf(source), locale = host_.Locale()](WorkerContext& context) {
        AdjustJobContext jobContext{context, locale, host_.LastConnectedTime, host_.SetLastConnectedTime,
                                    host_.KitPortRefusesSettings};
        return std::make_unique<AdjustResult>(job(request, jobContext));
    };
    // A job that failed beyond its own messages (no memory, say) has no result to show; the
    // source is free again all the same.
    auto completion = [this, kind = request.Kind](std::unique_ptr<AdjustResult> result) {
        if (result) {
            host_.Finished(*result, kind);
        }
    };
    return worker.Start(std::move(job), std::move(completion));
}

AdjustResult ClockSetter::ZeroAdjust() {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    const ZeroAdjustment zero = lumora::ZeroAdjust(SplitDateTime(SystemTimeToDateTime(now)));
    const double target = ComposeDateTime(zero.Utc.Year, zero.Utc.Month, zero.Utc.Day, zero.Utc.Hour, 0, 0, 0);
    const ClockSetError error = SetUtc(target);
    return error == ClockSetError::None ? ZeroAdjustmentResult(zero) : ZeroAdjustmentRefused(zero, error);
}

bool ClockSetter::StartElevatedSet(HWND owner, const std::wstring& arguments,
                                   std::function<void(const ElevatedSetRun&)> finished) {
    if (elevated_->Running()) {
        return false;
    }
    auto job = [owner, arguments](WorkerContext& context) {
        return std::make_unique<ElevatedSetRun>(RunElevatedCopy(owner, arguments, context));
    };
    auto completion = [finished = std::move(finished), arguments](std::unique_ptr<ElevatedSetRun> run) {
        // A job that failed beyond its own answers still ends the offer.
        finished(run ? *run : ElevatedSetRun{.Arguments = arguments, .StartError = ERROR_INVALID_FUNCTION});
    };
    return elevated_->Start(std::move(job), std::move(completion));
}

} // namespace lumora
