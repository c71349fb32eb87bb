#pragma once
// The about box: the program's name and version, the ownership notice, the web site's address
// (a click opens it) and a word of caution.

#include "shell/DialogForm.h"

#include <functional>
#include <memory>

namespace lumora {

class HelpViewer;

class TAboutForm final : public TDialogForm {
public:
    // openWebSite: the menu's web-site command.
    static std::unique_ptr<TAboutForm> Create(HWND owner, std::function<void()> openWebSite, const HelpViewer* help);

private:
    TAboutForm(std::function<void()> openWebSite, const HelpViewer* help)
        : openWebSite_(std::move(openWebSite)), help_(help) {}
    bool OnInitDialog() override;
    void OnOk() override { Close(); }
    LRESULT OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormHelp() override;

    std::function<void()> openWebSite_;
    const HelpViewer* help_;
};

} // namespace lumora
