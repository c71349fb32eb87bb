#pragma once
// The window finder ("ウィンドウの指定"): names a window for the exclusion list, typed in or taken
// from the window the remote control is dragged onto, which is marked on the screen meanwhile.
// Shown modally; OK of a new entry is checked against the list's entries first.

#include "settings/Settings.h"
#include "shell/GdiObjects.h"
#include "shell/DialogForm.h"

#include <string>
#include <vector>

namespace lumora {

class HelpViewer;

struct WindowFinderRequest {
    bool Editing = false; // an existing entry: no check on OK
    std::wstring Title;   // shown at the start; the dialog's texts after OK
    std::wstring ClassName;
    std::vector<IgnoredWindow> Entries; // the list a new entry is checked against
    int Selected = -1;                  // the list's selected row, where the title search starts
};

class TWindowFinderForm final : public TDialogForm {
public:
    // Runs the dialog over owner until it closes; true when it closed with OK.
    static bool ShowModal(HWND owner, WindowFinderRequest& request, const HelpViewer* help);
    ~TWindowFinderForm() override;

private:
    TWindowFinderForm(WindowFinderRequest& request, const HelpViewer* help);
    bool OnInitDialog() override;
    // A new entry is checked against the list first; a refused one keeps the dialog open.
    void OnOk() override;
    void OnCancel() override { Finish(false); }
    void OnCommand(int id, int code) override;
    LRESULT OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormHelp() override;
    void EditChanged();
    void Finish(bool ok);

    // The drag of the remote control.
    bool OverImage() const;
    void ImageMouseDown();
    void ImageMouseMove(WPARAM keys);
    void ImageMouseUp();
    void TakeTarget(HWND target);
    void ShowRemote(bool shown);

    std::wstring Text(int id) const;

    WindowFinderRequest& request_;
    HCURSOR remote_ = nullptr;
    HWND target_ = nullptr;
    UniqueRegion marked_; // inverted on the screen now
    bool dragging_ = false;
    bool done_ = false;
    bool ok_ = false;
    const HelpViewer* help_; // the options dialog's
};

} // namespace lumora
