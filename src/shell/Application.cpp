#include "shell/Application.h"

#include <atomic>

namespace lumora {
namespace {
std::atomic<bool> terminating{false};
}

bool ApplicationTerminating() {
    return terminating.load();
}
void MarkApplicationTerminating() {
    terminating.store(true);
}

} // namespace lumora
