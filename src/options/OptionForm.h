#pragma once
// The options dialog: the page tree on the left, one page at a time on the right, OK, キャンセル
// and 適用(&A) below. It edits its own copy of every setting; Apply hands the master a new
// settings record, which rebuilds what the changes touch. The file is written only at exit.

#include "options/OptionPageView.h"
#include "options/OptionPages.h"
#include "settings/Settings.h"
#include "shell/GdiObjects.h"
#include "shell/KZForm.h"
#include "sound/SoundPlayer.h"

#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace lumora {

class HelpViewer;
class SoundPlayer;

struct OptionContext {
    OptionFacts Facts;
    std::function<const Settings&()> Current;   // the master's record as it is now
    std::function<void(const Settings&)> Apply; // the master takes a new record
    std::function<void(bool)> KitPortApplied;   // whether that Apply had a serial port chosen
    std::function<void(int page)> StorePage;    // OK without changes still keeps the page
    std::function<void(bool)> StoreAutoPlay;    // the sound dialog's automatic preview, kept at once
    std::function<void()> ForgetLastContact;    // another server: the overload guard forgets at once
    std::function<bool(bool)> AcceptLocation;   // the settings file's folder may be chosen
    std::function<void(bool)> ApplyLocation;    // and moves there on Apply
    std::function<void(HWND owner, int method, const Settings& scratch)> TestAdjust;
    SoundPlayer* Sound = nullptr;
    const HelpViewer* Help = nullptr;
};

class TOptionForm final : public TKZForm, private OptionActions, private SoundListener {
public:
    // Built and shown without modality; null when the dialog cannot be made.
    static std::unique_ptr<TOptionForm> Create(HWND owner, OptionContext context);
    ~TOptionForm() override;

private:
    explicit TOptionForm(OptionContext context);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormHelp() override;
    void FormCreate();
    void FormShow();
    void Command(int id, int code);

    // The tree and the pages.
    void BuildTree();
    void TreeSelectionChanged(const NMTREEVIEWW& change);
    void ShowPage(int page);
    HWND EnsurePage(int page);
    void PlacePage(HWND page) const;
    void LoadPage(int page);
    void StorePage(int page);
    void FocusFirstControl();
    static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR PageMessage(int page, UINT message, WPARAM wParam, LPARAM lParam);

    // Changes, Apply and closing.
    void Change();
    void ApplyRules();
    std::optional<bool> FontHasShiftJis() const;
    bool ApplyEnabled() const;
    void Apply();
    void Ok();
    void Close();
    void DpiChanged(int dpi, const RECT* suggested);

    // What the pages ask of the dialog.
    bool PickColour(HWND owner, Colour& colour) override;
    bool PickImage(HWND owner, std::wstring& fileName) override;
    bool PickSound(HWND owner, std::wstring& fileName) override;
    bool PickSounds(HWND owner, const std::wstring& preset, std::vector<std::wstring>& files) override;
    std::vector<std::wstring> PickSoundFiles(HWND owner, const std::wstring& preset, bool several);
    void Preview(HWND button, const std::wstring& fileName) override;
    // The end of a preview: its button reads "試聴" again.
    void SoundEnded(bool successful) override;
    bool FindWindowEntry(HWND owner, WindowFinderRequest& request) override;
    void TestAdjust(int method, const AdjustPage& page) override;
    bool AcceptSettingsLocation(bool applicationData) override;
    void Changed() override;
    void Refused() override;

    HWND Item(int id) const { return GetDlgItem(Handle(), id); }

    OptionContext context_;
    OptionValues values_;
    std::array<std::unique_ptr<OptionPageView>, OptionPageCount> views_;
    std::array<HWND, OptionPageCount> pages_{};
    std::vector<OptionTreeNode> tree_;
    std::vector<HTREEITEM> treeItems_;
    int page_ = -1;
    bool ready_ = false;           // set at the first show; changes before it count for nothing
    bool updating_ = false;        // the dialog itself is setting controls
    bool selecting_ = false;       // the dialog itself is moving the tree's selection
    bool refused_ = false;         // a page took back the choice being reported
    int pickerHelp_ = 0;           // help context of the common dialog that is open
    HWND previewButton_ = nullptr; // the button of the preview that plays, which reads "停止"
    UINT commonDialogHelp_ = 0;
    int dpi_ = 96;
    UniqueFont scaledFont_;
};

} // namespace lumora
