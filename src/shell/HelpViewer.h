#pragma once
// The help file beside the program (its name with ".chm"), shown by the system's HTML Help at a
// context number. The viewer is looked up and started once, when the program starts; a system
// without it gets a message instead. Its windows run on the program's thread and are closed
// before the viewer is let go.

#include <windows.h>

#include <string>

namespace lumora {

class HelpViewer {
public:
    HelpViewer();
    ~HelpViewer();
    HelpViewer(const HelpViewer&) = delete;
    HelpViewer& operator=(const HelpViewer&) = delete;

    // The program's help file at a context number; owner is the window the help belongs to.
    void ShowContext(HWND owner, int context) const;
    // file at command (an HTML Help command) with its data; messages name what went wrong.
    void Show(HWND owner, const std::wstring& file, UINT command, DWORD_PTR data) const;

    // Closes every help window the program opened.
    void CloseAll() const;

    static std::wstring HelpFile();

private:
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    HWND Call(const std::string& file, UINT command, DWORD_PTR data) const;
    // The help windows' keys, taken before the message loop translates them.
    bool PreTranslate(MSG& message) const;

    HMODULE library_ = nullptr;
    HtmlHelpFunction htmlHelp_ = nullptr;
    DWORD_PTR cookie_ = 0;
    bool initialized_ = false;
};

} // namespace lumora
