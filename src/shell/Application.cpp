#include "shell/Application.h"

#include <atomic>
#include <utility>

namespace lumora {
namespace {
std::atomic<bool> terminating{false};
std::wstring hint; // user-interface thread only
} // namespace

bool ApplicationTerminating() {
    return terminating.load();
}
void MarkApplicationTerminating() {
    terminating.store(true);
}

const std::wstring& ApplicationHint() {
    return hint;
}
void SetApplicationHint(std::wstring text) {
    hint = std::move(text);
}

} // namespace lumora
