#pragma once
// Owner of a WinINet handle (session, connection or request), apart so that only its users
// include the WinINet header.

#include "shell/UniqueHandle.h"

#include <wininet.h>

namespace lumora {

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { InternetCloseHandle(handle); }
};

using UniqueInternet = UniqueHandle<InternetHandleTraits>;

} // namespace lumora
