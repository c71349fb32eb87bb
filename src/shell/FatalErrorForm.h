#pragma once
// The "runtime error" dialog: an apology, the error text, and the end of the program.

#include "shell/KZForm.h"

#include <string>

namespace lumora {

class TFatalErrorForm final : public TKZForm {
public:
    // Shows the dialog modally; false when it could not be built (the caller then falls back
    // to a message box).
    static bool ShowModal(const std::wstring& applicationTitle, const std::wstring& errorText);

private:
    TFatalErrorForm() = default;
    bool Build(const std::wstring& applicationTitle, const std::wstring& errorText);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormPaint();
    HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y, int w, int h,
                    int id = 0);
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    UINT dpi_ = 96;
    HBRUSH whiteBrush_ = nullptr;
    bool closed_ = false;
};

} // namespace lumora
