#pragma once
// The program's icon in the notification area: added, changed and removed through a hidden
// window that also receives the icon's mouse and balloon messages, tries the add again while
// the shell refuses it, adds the icon again when Explorer restarts, and keeps the icon at the
// size of its monitor's DPI.

#include "shell/KZForm.h"
#include "tray/TrayRules.h"
#include "shell/UniqueHandle.h"

#include <functional>
#include <memory>
#include <shellapi.h>
#include <string>

namespace lumora {

enum class BalloonType { None, Information, Exclamation, Error, Application };

// Makes the taskbar redraw its own clock, e.g. after the system time was set.
void RefreshNotificationArea();

class TKZTaskTrayIcon final : public TKZForm {
public:
    static std::unique_ptr<TKZTaskTrayIcon> Create();
    ~TKZTaskTrayIcon() override;

    // Whether the icon is wanted; Shown() once the shell took it.
    bool Enabled() const { return wanted_; }
    void SetEnabled(bool enabled);
    bool Shown() const { return tries_.Added(); }
    // Refused so far, with another try to come.
    bool AddPending() const { return wanted_ && tries_.Waiting(); }
    // The width of the icon handed to the shell, in pixels; 0 before one is loaded.
    int IconWidth() const;
    // The tooltip; shells older than 5 get line breaks as blanks.
    void SetHint(const std::wstring& hint);
    const std::wstring& Hint() const { return hint_; }

    bool BalloonsAvailable() const { return balloonsAvailable_; }
    int ShellMajorVersion() const { return shellMajor_; }
    void ShowBalloon(const std::wstring& title, const std::wstring& text, BalloonType type);

    // The taskbar's windows, looked up again when the taskbar is re-created.
    HWND TrayNotifyWindow() const { return trayNotify_; }
    HWND TaskbarClockWindow() const { return trayClock_; }

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(POINT)> OnContextPopup;
    std::function<void()> OnBalloonClick;
    std::function<void()> OnRecreate;

private:
    TKZTaskTrayIcon() = default;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void IconMessage(LPARAM mouseMessage);
    NOTIFYICONDATAW Record(UINT flags);
    bool Notify(DWORD message, NOTIFYICONDATAW& record);
    void FindTaskbarWindows();
    void ReadShellVersion();
    bool DecideBalloonsAvailable() const;
    HICON SmallIcon();
    void BeginAdding();
    void TryAdd();
    void FollowDpi(int dpi);

    UINT callbackMessage_ = 0;
    UINT taskbarCreatedMessage_ = 0;
    bool wanted_ = false;
    IconAddTries tries_;
    int refusalsForTest_ = 0; // adds the tests make the shell refuse
    int dpi_ = 96;
    std::wstring hint_;
    int shellMajor_ = 0;
    int shellMinor_ = 0;
    bool balloonsAvailable_ = false;
    HWND trayWnd_ = nullptr;
    HWND trayNotify_ = nullptr;
    HWND trayClock_ = nullptr;
    UniqueIcon icon_;
    IconClickTracker clicks_;
};

} // namespace lumora
