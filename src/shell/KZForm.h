#pragma once
// The base of every window of the program: one class per window, registered under the form's
// class name, with a member switch that hands each message to a small method. The base gives
// every form the same conduct: a system menu without meaningless items, keyboard cues that
// appear once the keyboard is used, F1 help, size limits, and for dialogs the pull back into
// the work area and the pointer on the default button.

#include <windows.h>

#include <functional>
#include <string>

namespace lumora {

class TKZForm {
public:
    TKZForm() = default;
    TKZForm(const TKZForm&) = delete;
    TKZForm& operator=(const TKZForm&) = delete;
    virtual ~TKZForm();

    HWND Handle() const { return hwnd_; }
    // Told once the window is gone, whoever destroyed it.
    void SetClosedHandler(std::function<void()> handler) { closed_ = std::move(handler); }
    // True while a message of the form is being handled. A modal dialog or message box shown
    // from a handler runs a message loop inside it, where anything may destroy the window: the
    // object must then outlive the handler.
    bool Dispatching() const { return dispatching_ > 0; }

    // For the message loop, before TranslateMessage: keys of a control with the focus meet the
    // keyboard rules of its form, and a dialog form gets Tab, arrows, Enter and Esc. True when
    // the message needs nothing more.
    static bool PreTranslate(MSG& message);
    // Windows of another module that run on this thread and must see their messages before the
    // loop translates them (the help viewer's); the filter answers true when it took one.
    static void SetForeignMessageFilter(std::function<bool(MSG&)> filter);

protected:
    // Counts a message handled outside the form's own procedures (a child dialog's procedure).
    class DispatchScope {
    public:
        explicit DispatchScope(TKZForm& form) : form_(form) { ++form_.dispatching_; }
        ~DispatchScope() { --form_.dispatching_; }
        DispatchScope(const DispatchScope&) = delete;
        DispatchScope& operator=(const DispatchScope&) = delete;

    private:
        TKZForm& form_;
    };

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
        // Dialogs: kept inside the primary work area, pointer snapped to the default button.
        bool Dialog = false;
    };

    // Tracking limits of the window; 0 leaves a side free.
    struct SizeLimits {
        int MinWidth = 0;
        int MinHeight = 0;
        int MaxWidth = 0;
        int MaxHeight = 0;
    };
    void SetSizeLimits(const SizeLimits& limits) { limits_ = limits; }

    // Registers the class on first use and creates the window; false when either fails.
    bool CreateForm(const CreateParams& params);
    // A dialog form from a DIALOGEX template whose CLASS is className: modeless, not shown yet,
    // with the conduct of a dialog. Its messages reach HandleMessage as a window's do; those
    // handed to DefaultHandler go on to the dialog manager. False when it cannot be made.
    bool CreateDialogForm(const wchar_t* className, UINT templateId, HWND owner);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // F1 or the title bar's help button, while the form is enabled and visible.
    virtual void FormHelp() {}
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Dialog forms: the class procedure is the dialog manager's; this is the dialog procedure.
    static LRESULT CALLBACK DialogClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // What both procedures do with a message of a live form.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // The conduct every form shares; true when the message needs nothing more.
    bool BaseConduct(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Focus cues and Ctrl+Break for a key pressed in the form; true when it closed the dialog.
    bool KeyboardRules(WPARAM key);
    void RemoveMeaninglessSystemMenuItems();
    void KeepInsideWorkArea();
    void SnapPointerToDefaultButton();
    void MirrorActivation(bool active);
    void ShowDefaultButton(bool active);
    static std::wstring SystemMenuHint(UINT command);

    HWND hwnd_ = nullptr; // assigned in WM_NCCREATE, or WM_INITDIALOG for a dialog form
    // Dialog forms: set by DefaultHandler while the dialog procedure runs a message.
    bool* defaulted_ = nullptr;
    bool dialog_ = false;
    bool placed_ = false; // the first show has clamped the dialog and moved the pointer
    bool mirroring_ = false;
    int dispatching_ = 0;
    SizeLimits limits_;
    std::function<void()> closed_;
};

} // namespace lumora
