#include "shell/Application.h"

#include <atomic>
#include <utility>

namespace lumora {
namespace {
std::atomic<bool> terminating{false};
std::wstring hint; // user-interface thread only
std::function<void()> fatalExitAction;
} // namespace

bool ApplicationTerminating() {
    return terminating.load();
}
void MarkApplicationTerminating() {
    terminating.store(true);
}

void SetFatalExitAction(std::function<void()> action) {
    fatalExitAction = std::move(action);
}

void RunFatalExitAction() {
    if (auto action = std::exchange(fatalExitAction, {})) {
        action();
    }
}

const std::wstring& ApplicationHint() {
    return hint;
}
void SetApplicationHint(std::wstring text) {
    hint = std::move(text);
}

} // namespace lumora
