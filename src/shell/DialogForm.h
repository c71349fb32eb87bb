#pragma once
// The base of a form made from a DIALOGEX template. It answers the messages every such dialog
// answers alike and hands them to hooks, so that a dialog says only what it does on them:
// filling its controls, OK, and Cancel, which the Cancel button, Esc and the close box all mean.

#include "shell/KZForm.h"

namespace lumora {

class TDialogForm : public TKZForm {
protected:
    // WM_INITDIALOG: the controls are filled. True lets the dialog manager put the focus on the
    // first control; false when the dialog places it itself.
    virtual bool OnInitDialog() = 0;
    // IDOK: the OK button, or Enter where no other button is the default. A dialog without an OK
    // button ignores it.
    virtual void OnOk() {}
    // IDCANCEL and WM_CLOSE. By default the dialog goes and keeps nothing.
    virtual void OnCancel() { Close(); }
    // WM_COMMAND from any other control or menu item.
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    // Every message the hooks above do not take.
    virtual LRESULT OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefaultHandler(message, wParam, lParam);
    }

    // The owner hears it through the closed handler.
    void Close() { DestroyWindow(Handle()); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final {
        switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            // Answered here: the dialog manager would turn it into a Cancel only while the Cancel
            // button is enabled.
            OnCancel();
            return 0;
        default:
            return OtherMessage(message, wParam, lParam);
        }
    }

    void Command(int id, int code) {
        if (id == IDOK) {
            OnOk();
        } else if (id == IDCANCEL) {
            OnCancel();
        } else {
            OnCommand(id, code);
        }
    }
};

} // namespace lumora
