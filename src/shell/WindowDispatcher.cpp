#include "shell/WindowDispatcher.h"

namespace lumora {

bool WindowDispatcher::HandleMessage(UINT message) {
    if (message != message_) {
        return false;
    }
    ServePending();
    return true;
}

bool WindowDispatcher::Wake() {
    // A sent message that does not wait: the worker waits in the dispatcher instead, where the
    // owner's destruction can refuse the hand-over. Sent messages are also served while the
    // user-interface thread is itself blocked in a SendMessage.
    return SendNotifyMessageW(window_, message_, 0, 0) != FALSE;
}

} // namespace lumora
