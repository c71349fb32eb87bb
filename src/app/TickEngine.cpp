#include "app/TickEngine.h"

#include "app/TickPeriod.h"
#include "shell/Application.h"

#include <mmsystem.h>

namespace lumora {

TickEngine::TickEngine(HWND target, UINT tickMessage) : target_(target), message_(tickMessage) {}

TickEngine::~TickEngine() {
    Stop();
    if (resolution_ != -1) {
        timeEndPeriod(static_cast<UINT>(resolution_));
    }
}

void TickEngine::Prepare() {
    TIMECAPS caps{};
    const bool queried = timeGetDevCaps(&caps, sizeof(caps)) == TIMERR_NOERROR;
    period_ = ChooseTickPeriod(queried, queried ? caps.wPeriodMin : 0);
    resolution_ = timeBeginPeriod(static_cast<UINT>(period_)) == TIMERR_NOERROR ? period_ : -1;
}

bool TickEngine::Start() {
    timerId_ =
        timeSetEvent(static_cast<UINT>(period_), static_cast<UINT>(period_), TimerCallback,
                     reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    return timerId_ != 0;
}

void TickEngine::Stop() {
    if (timerId_ != 0) {
        timeKillEvent(timerId_);
        timerId_ = 0;
    }
}

void CALLBACK TickEngine::TimerCallback(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* engine = reinterpret_cast<TickEngine*>(user);
    if (ApplicationTerminating() || !IsWindow(engine->target_)) {
        return;
    }
    if (engine->postingAllowed_.load()) {
        PostMessageW(engine->target_, engine->message_, 0, 0);
    }
}

} // namespace lumora
