// The HTTP run: one GET through WinINet, whose answer's Date header is the time. The body is never
// read and a redirect is not followed: its own Date header serves as well.

#include "adjust/AdjustJobs.h"
#include "adjust/HttpDate.h"
#include "adjust/SystemClock.h"
#include "clock/DateTime.h"
#include "shell/UniqueInternet.h"

#include <atomic>
#include <string>

namespace lumora {
namespace {

constexpr DWORD OpenFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_PRAGMA_NOCACHE;

// A handle closed by whoever comes first: the run as it ends, or the program ending the run while
// a server keeps it waiting (closing the request aborts it at once).
class SharedInternetHandle {
public:
    explicit SharedInternetHandle(HINTERNET handle = nullptr) : handle_(handle) {}
    ~SharedInternetHandle() { Close(); }
    SharedInternetHandle(const SharedInternetHandle&) = delete;
    SharedInternetHandle& operator=(const SharedInternetHandle&) = delete;

    HINTERNET Get() const { return handle_.load(); }
    void Reset(HINTERNET handle) {
        Close();
        handle_ = handle;
    }
    void Close() {
        if (HINTERNET handle = handle_.exchange(nullptr)) {
            InternetCloseHandle(handle);
        }
    }

private:
    std::atomic<HINTERNET> handle_;
};

// WinINet's offline mode is switched off for the run and on again afterwards, as the user left it.
class OnlineForTheRun {
public:
    explicit OnlineForTheRun(HINTERNET root) : root_(root) {
        INTERNET_CONNECTED_INFO state{};
        DWORD size = sizeof(state);
        if (InternetQueryOptionW(root_, INTERNET_OPTION_CONNECTED_STATE, &state, &size) &&
            (state.dwConnectedState & INTERNET_STATE_DISCONNECTED_BY_USER) != 0) {
            wasOffline_ = true;
            SetState(INTERNET_STATE_CONNECTED, 0);
        }
    }
    ~OnlineForTheRun() {
        if (wasOffline_) {
            SetState(INTERNET_STATE_DISCONNECTED_BY_USER, ISO_FORCE_DISCONNECTED);
        }
    }
    OnlineForTheRun(const OnlineForTheRun&) = delete;
    OnlineForTheRun& operator=(const OnlineForTheRun&) = delete;

private:
    void SetState(DWORD state, DWORD flags) {
        INTERNET_CONNECTED_INFO info{state, flags};
        InternetSetOptionW(root_, INTERNET_OPTION_CONNECTED_STATE, &info, sizeof(info));
    }

    HINTERNET root_;
    bool wasOffline_ = false;
};

// The session goes through the proxy when one is set. Named at the opening rather than set on the
// open session afterwards, which Wine's WinINet ignores.
HINTERNET OpenSession(const AdjustRequest& request) {
    if (request.ProxyServer.empty()) {
        return InternetOpenW(nullptr, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    }
    const std::wstring proxy = request.ProxyServer + L":" + std::to_wstring(request.Port);
    return InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PROXY, proxy.c_str(), nullptr, 0);
}

// The user's time-out for each step of the request: connecting, sending and waiting for the
// answer. (The "data" time-outs, which look closer, are FTP's: HTTP ignores them.)
void SetTimeOuts(HINTERNET request, int32_t seconds) {
    DWORD milliseconds = static_cast<DWORD>(seconds) * 1000;
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionW(request, option, &milliseconds, sizeof(milliseconds));
    }
}

// One GET, through a request handle the program may close to abort it.
class HttpGet {
public:
    explicit HttpGet(int32_t timeOutSeconds) : timeOutSeconds_(timeOutSeconds) {}

    // The server as given, and when that is no http or https URL or gets no answer, the same
    // behind "http://". False when neither form is answered.
    bool Send(HINTERNET session, const std::wstring& server) {
        return SendTo(session, server) || SendTo(session, L"http://" + server);
    }
    HINTERNET Request() const { return request_.Get(); }
    // Any thread.
    void Abort() { request_.Close(); }

private:
    bool SendTo(HINTERNET session, const std::wstring& url) {
        wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
        std::wstring path(INTERNET_MAX_URL_LENGTH, L'\0');
        URL_COMPONENTSW parts{};
        parts.dwStructSize = sizeof(parts);
        parts.lpszHostName = host;
        parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
        parts.lpszUrlPath = path.data();
        parts.dwUrlPathLength = static_cast<DWORD>(path.size());
        if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts) ||
            (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) || host[0] == L'\0') {
            return false;
        }
        path.resize(parts.dwUrlPathLength);
        connection_.Reset(InternetConnectW(session, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection_) {
            return false;
        }
        const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
        request_.Reset(HttpOpenRequestW(connection_.Get(), L"GET", path.empty() ? L"/" : path.c_str(), nullptr, nullptr,
                                        nullptr, OpenFlags | secure, 0));
        if (request_.Get() == nullptr) {
            return false;
        }
        SetTimeOuts(request_.Get(), timeOutSeconds_);
        return HttpSendRequestW(request_.Get(), nullptr, 0, nullptr, 0);
    }

    const int32_t timeOutSeconds_;
    UniqueInternet connection_;
    SharedInternetHandle request_; // closed before the connection
};

} // namespace

AdjustResult RunHttpAdjust(const AdjustRequest& request, AdjustJobContext& context) {
    const std::wstring title = AdjustTitle(request.Kind, AdjustSource::Http);
    const auto fail = [&](AdjustFailure failure) { return AdjustFailed(title, failure, request); };
    if (auto refused = RefusedBeforeContact(title, request, context)) {
        return *refused;
    }
    DWORD connection = 0;
    if (!InternetGetConnectedState(&connection, 0)) {
        return fail(AdjustFailure::NoInternet);
    }
    SharedInternetHandle root(OpenSession(request));
    if (root.Get() == nullptr) {
        return fail(AdjustFailure::NoInternet);
    }
    HttpGet get(request.TimeOut);
    if (!context.Worker.SetCancel([&get, &root] {
            get.Abort();
            root.Close();
        })) {
        return fail(AdjustFailure::ReceiveFailed);
    }
    struct CancelCleared {
        WorkerContext& worker;
        ~CancelCleared() { worker.SetCancel(nullptr); }
    } cancelCleared{context.Worker};

    const OnlineForTheRun online(root.Get());
    if (!get.Send(root.Get(), request.Server)) {
        return fail(context.Worker.StopRequested() ? AdjustFailure::ReceiveFailed : AdjustFailure::UnknownServer);
    }
    MarkConnected(context);

    wchar_t header[256] = {};
    DWORD size = sizeof(header) - sizeof(wchar_t);
    if (!HttpQueryInfoW(get.Request(), HTTP_QUERY_DATE, header, &size, nullptr)) {
        return fail(AdjustFailure::ReceiveFailed);
    }
    const ElapsedMilliseconds elapsed;
    const std::optional<double> date = ParseHttpDate(std::wstring_view(header));
    if (!date) {
        return fail(AdjustFailure::ReceiveFailed);
    }
    const double receivedUtc = *date + MillisecondsToDays(request.Offset + elapsed.Now());
    return ConcludeAdjust(title, request.Kind, receivedUtc, ReportZone::Local, context.Locale);
}

} // namespace lumora
