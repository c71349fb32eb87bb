#pragma once
// One page of the options dialog as the dialog drives it: the page is a child dialog made from
// its own template; the view fills its lists once, exchanges its controls with the page's
// values, applies the page's rules after every change, and carries out its own buttons. The
// helpers below give every page the same owner for what it opens, and the same file picking.

#include "options/OptionValues.h"
#include "options/PageControls.h"
#include "settings/ValueCodecs.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace lumora {

struct WindowFinderRequest;

// What the dialog does for its pages.
class OptionActions {
public:
    virtual ~OptionActions() = default;
    // The colour dialog ("色の指定", fully open, with the dialog's custom colours); false when
    // the user cancels.
    virtual bool PickColour(HWND owner, Colour& colour) = 0;
    // The open dialogs for a picture or a sound file; false when the user cancels.
    virtual bool PickImage(HWND owner, std::wstring& fileName) = 0;
    virtual bool PickSound(HWND owner, std::wstring& fileName) = 0;
    // The sound dialog with several files allowed: the chosen files, in the dialog's order.
    virtual bool PickSounds(HWND owner, const std::wstring& preset, std::vector<std::wstring>& files) = 0;
    // "試聴" of a sound field: plays the file, the button reads "停止" meanwhile; a second
    // press stops it.
    virtual void Preview(HWND button, const std::wstring& fileName) = 0;
    // The window finder for a row of the exclusion list; false when the user cancels.
    virtual bool FindWindowEntry(HWND owner, WindowFinderRequest& request) = 0;
    // "テスト(&T)" of a clock-setting source, from the page's current values.
    virtual void TestAdjust(int method, const AdjustPage& page) = 0;
    // The settings-file location "Application Data フォルダ" is checked before it is taken;
    // false when it cannot be used (the user has been told).
    virtual bool AcceptSettingsLocation(bool applicationData) = 0;
    // The page's values changed in a way the controls do not report themselves.
    virtual void Changed() = 0;
    // The page took back the choice the user just made: it counts as no change.
    virtual void Refused() = 0;
};

// What a page needs to know of the system.
struct OptionPageFacts {
    const OptionFacts& Facts;
    // Whether the selected digit font exists with the Shift-JIS character set; nothing when no
    // font is selected.
    std::optional<bool> FontHasShiftJis;
};

class OptionPageView {
public:
    virtual ~OptionPageView() = default;

    virtual UINT TemplateId() const = 0;
    // Lists, ranges and text limits, once, before the first load.
    virtual void Prepare(PageControls& page, const OptionFacts& facts) = 0;
    virtual void Exchange(PageControls& page, OptionValues& values) = 0;
    // Shows, enables and labels the controls; `values` were just stored from the controls.
    virtual void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts& facts) = 0;
    // A button or a list of the page (WM_COMMAND, or WM_NOTIFY with code); true when handled.
    // The dialog has stored the values from the controls before, and loads the page after.
    virtual bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) {
        (void)page, (void)id, (void)code, (void)values, (void)actions;
        return false;
    }
    virtual bool Notify(HWND page, const NMHDR& header, OptionValues& values, OptionActions& actions) {
        (void)page, (void)header, (void)values, (void)actions;
        return false;
    }
    // Owner-drawn controls of the page (colour boxes).
    virtual bool DrawItem(const DRAWITEMSTRUCT& item) {
        (void)item;
        return false;
    }
    virtual bool MeasureItem(MEASUREITEMSTRUCT& item) {
        (void)item;
        return false;
    }
    // WM_CTLCOLORSTATIC of a control of the page: a brush (and the dc's colours) of the view's
    // own, or null for the default.
    virtual HBRUSH ControlColour(HDC dc, HWND control) {
        (void)dc, (void)control;
        return nullptr;
    }
};

// Message boxes, pickers and finders a page opens belong to the options dialog itself: the
// top-level dialog window the page sits in.
inline HWND OptionDialogOf(HWND page) {
    return GetAncestor(page, GA_ROOT);
}

enum class FileKind { Image, Sound };
// Which pick counts as a change of the page: any file chosen, or only one other than the field's.
enum class PickChange { AnyFile, OtherFile };

// The "…" of a file field: the open dialog for `kind`, owned by the options dialog and starting
// at the field's file; the field takes the chosen one. A cancelled dialog leaves it alone.
// Returns true: the button is handled either way.
inline bool PickFileInto(HWND page, FileKind kind, std::wstring& file, OptionActions& actions,
                         PickChange change = PickChange::AnyFile) {
    std::wstring chosen = file;
    const HWND owner = OptionDialogOf(page);
    const bool picked = kind == FileKind::Image ? actions.PickImage(owner, chosen) : actions.PickSound(owner, chosen);
    if (picked && (change == PickChange::AnyFile || chosen != file)) {
        file = std::move(chosen);
        actions.Changed();
    }
    return true;
}

// The views of every page in index order; each group of pages is made in its own file.
void AddDesignPageViews(std::vector<std::unique_ptr<OptionPageView>>& views);   // pages 0-3
void AddViewPageViews(std::vector<std::unique_ptr<OptionPageView>>& views);     // pages 4-10
void AddTopLevelPageViews(std::vector<std::unique_ptr<OptionPageView>>& views); // pages 11-15

} // namespace lumora
