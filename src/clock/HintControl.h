#pragma once
// The clock's tooltip: a tracking tooltip control, rectangular or balloon-shaped, placed at the
// cursor and kept on the monitor.

#include <windows.h>

#include <string>

namespace lumora {

class TKZHintControl {
public:
    explicit TKZHintControl(HWND owner);
    ~TKZHintControl();
    TKZHintControl(const TKZHintControl&) = delete;
    TKZHintControl& operator=(const TKZHintControl&) = delete;

    void Show(const std::wstring& text, POINT cursor, bool balloon);
    void Hide();
    bool Visible() const;

private:
    void Recreate(bool balloon);

    HWND owner_;
    HWND tooltip_ = nullptr;
    bool balloon_ = false;
    std::wstring text_;
};

} // namespace lumora
