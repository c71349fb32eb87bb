#pragma once
// The base of every window of the program: one class per window, registered under the form's
// class name, with a member switch that hands each message to a small method.

#include <windows.h>

namespace lumora {

class TKZForm {
public:
    TKZForm() = default;
    TKZForm(const TKZForm&) = delete;
    TKZForm& operator=(const TKZForm&) = delete;
    virtual ~TKZForm();

    HWND Handle() const { return hwnd_; }

protected:
    struct CreateParams {
        const wchar_t* ClassName = nullptr;
        UINT ClassStyle = 0;
        const wchar_t* Caption = L"";
        DWORD Style = WS_POPUP;
        DWORD ExStyle = 0;
        int Left = CW_USEDEFAULT;
        int Top = CW_USEDEFAULT;
        int Width = 0;
        int Height = 0;
        HWND Owner = nullptr;
    };

    // Registers the class on first use and creates the window; false when either fails.
    bool CreateForm(const CreateParams& params);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window is gone; a form that owns itself deletes itself here.
    virtual void FinalMessage() {}
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr; // assigned in WM_NCCREATE
};

} // namespace lumora
