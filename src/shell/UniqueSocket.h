#pragma once
// Owner of a Windows Sockets handle, apart so that only socket users include the sockets header.
// Needs WIN32_LEAN_AND_MEAN, as the program builds: windows.h must not have pulled in winsock.h.

#include <winsock2.h>

#include "shell/UniqueHandle.h"

namespace lumora {

struct SocketTraits {
    using Handle = SOCKET;
    static Handle Invalid() { return INVALID_SOCKET; }
    static void Close(Handle handle) { closesocket(handle); }
};

using UniqueSocket = UniqueHandle<SocketTraits>;

} // namespace lumora
