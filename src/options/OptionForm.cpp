#include "options/OptionForm.h"

#include "shell/AppNames.h"
#include "options/OptionFormRes.h"
#include "options/OptionSystemLists.h"
#include "options/SoundOpenDialog.h"
#include "options/StartupShortcut.h"
#include "shell/DpiScale.h"
#include "shell/Foreground.h"
#include "shell/HelpViewer.h"
#include "shell/Monitors.h"
#include "sound/SoundPlayer.h"
#include "tools/WindowFinderForm.h"

#include <commctrl.h>
#include <commdlg.h>

#include <utility>

namespace lumora {
namespace {

constexpr int ColourDialogHelp = 70;
constexpr int ImageDialogHelp = 72;
constexpr int SoundDialogHelp = 74;

constexpr wchar_t PreviewCaption[] = L"試聴";

// A page being made: its messages arrive before the dialog manager hands over the parameter.
struct PendingPage {
    TOptionForm* Form = nullptr;
    int Index = -1;
};
thread_local PendingPage pendingPage;

// The pages' control ids: clear of the buttons' (IDOK, IDCANCEL) and of the frame's own.
constexpr int FirstPageId = 100;

// Changes a control reports by itself; push buttons are commands, not changes. Codes are
// read by the control's class: a list box's codes have the same numbers as a combo box's.
bool IsChangeNotification(HWND control, int code) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, static_cast<int>(std::size(name)));
    const auto is = [&name](const wchar_t* className) { return _wcsicmp(name, className) == 0; };
    switch (code) {
    case EN_CHANGE:
        return is(WC_EDITW) || is(HOTKEY_CLASSW); // the hot-key control reports as an edit
    case CBN_SELCHANGE:
    case CBN_EDITCHANGE:
        return is(WC_COMBOBOXW);
    case BN_CLICKED: {
        const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
        return is(WC_BUTTONW) && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_OWNERDRAW;
    }
    default:
        return false;
    }
}

// The dialog scales itself on a move to a monitor of another DPI; the dialog manager of newer
// systems would scale it a second time.
void TakeOverDpiScaling(HWND dialog) {
    using SetBehaviourFunction = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour = reinterpret_cast<SetBehaviourFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    constexpr int disableAll = 1;
    if (setBehaviour != nullptr) {
        setBehaviour(dialog, disableAll, disableAll);
    }
}

RECT ScaledRect(RECT rect, int to, int from) {
    return {MulDiv(rect.left, to, from), MulDiv(rect.top, to, from), MulDiv(rect.right, to, from),
            MulDiv(rect.bottom, to, from)};
}

struct ScaleStep {
    HWND Dialog;
    int To;
    int From;
    HFONT Font;
};

// The pages and the controls of the dialog and of its pages: their places within their parents
// and their fonts. The parts of a control (a combo box's edit) follow the control by themselves.
BOOL CALLBACK ScaleChild(HWND child, LPARAM data) {
    const auto& step = *reinterpret_cast<const ScaleStep*>(data);
    const HWND parent = GetParent(child);
    if (parent != step.Dialog && GetParent(parent) != step.Dialog) {
        return TRUE;
    }
    RECT rect{};
    GetWindowRect(child, &rect);
    wchar_t className[32] = {};
    GetClassNameW(child, className, static_cast<int>(std::size(className)));
    if (_wcsicmp(className, WC_COMBOBOXW) == 0) {
        SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect)); // with its list
    }
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    const RECT scaled = ScaledRect(rect, step.To, step.From);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(step.Font), FALSE);
    MoveWindow(child, scaled.left, scaled.top, scaled.right - scaled.left, scaled.bottom - scaled.top, TRUE);
    return TRUE;
}

} // namespace

TOptionForm::TOptionForm(OptionContext context) : context_(std::move(context)) {
    // Each file makes the views of its pages, in index order from the group's first page.
    using AddViews = void (*)(std::vector<std::unique_ptr<OptionPageView>>&);
    constexpr std::pair<int, AddViews> groups[] = {
        {0, AddDesignPageViews}, {4, AddViewPageViews}, {11, AddTopLevelPageViews}};
    for (const auto& [first, add] : groups) {
        std::vector<std::unique_ptr<OptionPageView>> made;
        add(made);
        for (size_t i = 0; i < made.size() && first + i < views_.size(); ++i) {
            views_[first + i] = std::move(made[i]);
        }
    }
    commonDialogHelp_ = RegisterWindowMessageW(HELPMSGSTRINGW);
}

TOptionForm::~TOptionForm() {
    if (context_.Sound != nullptr) {
        context_.Sound->StopFor(*this); // the player must not keep a listener that is gone
    }
}

std::unique_ptr<TOptionForm> TOptionForm::Create(HWND owner, OptionContext context) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                        ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    std::unique_ptr<TOptionForm> form(new TOptionForm(std::move(context)));
    if (!form->CreateDialogForm(names::OptionFormClass, IDD_OPTION, owner)) {
        return nullptr;
    }
    ShowInForeground(form->Handle());
    form->FormShow();
    return form;
}

void TOptionForm::FormCreate() {
    TakeOverDpiScaling(Handle());
    dpi_ = WindowDpi(Handle());
    // The font lists show themselves in the dialog's font, which stands in for a stored font
    // the system does not have.
    context_.Facts.Fonts.ListFont = RealFaceName(reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    values_ = OptionValues::Load(context_.Current(), context_.Facts);
    BuildTree();
}

// The first show: every rule once, then nothing changed yet.
void TOptionForm::FormShow() {
    ready_ = true;
    ShowPage(InitialOptionPage(context_.Current().View.OptionSelectedTab));
    Change();
    EnableWindow(Item(IDC_OPTION_APPLY), FALSE);
    FocusFirstControl();
}

void TOptionForm::BuildTree() {
    HWND tree = Item(IDC_OPTION_TREE);
    const auto rowHeight = static_cast<int>(SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0));
    SendMessageW(tree, TVM_SETITEMHEIGHT, static_cast<WPARAM>(rowHeight + 2), 0);
    SendMessageW(tree, TVM_SETINDENT, static_cast<WPARAM>(rowHeight), 0);
    tree_ = BuildOptionTree();
    treeItems_.clear();
    for (size_t i = 0; i < tree_.size(); ++i) {
        const OptionTreeNode& node = tree_[i];
        std::wstring text(node.Text);
        TVINSERTSTRUCTW insert{};
        insert.hParent = node.Parent < 0 ? TVI_ROOT : treeItems_[static_cast<size_t>(node.Parent)];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = text.data();
        insert.item.lParam = static_cast<LPARAM>(i);
        treeItems_.push_back(
            reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
    }
    for (size_t i = 0; i < tree_.size(); ++i) {
        if (tree_[i].IsGroup) {
            SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(treeItems_[i]));
        }
    }
}

// A group cannot stay selected: the page its selection leads to is shown, and the tree then
// selects that page's node.
void TOptionForm::TreeSelectionChanged(const NMTREEVIEWW& change) {
    if (selecting_ || change.itemNew.hItem == nullptr) {
        return;
    }
    const auto node = static_cast<int>(change.itemNew.lParam);
    const bool upKeyHeld = GetKeyState(VK_UP) < 0;
    ShowPage(PageForSelectedNode(tree_, page_, node, upKeyHeld));
}

void TOptionForm::ShowPage(int page) {
    HWND shown = EnsurePage(page);
    if (shown == nullptr) {
        return;
    }
    if (page != page_) {
        if (page_ >= 0) {
            ShowWindow(pages_[static_cast<size_t>(page_)], SW_HIDE);
        }
        page_ = page;
        ShowWindow(shown, SW_SHOW);
    }
    selecting_ = true;
    const HTREEITEM item = treeItems_[static_cast<size_t>(TreeNodeOfPage(tree_, page))];
    HWND tree = Item(IDC_OPTION_TREE);
    if (reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) != item) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
    selecting_ = false;
}

// Pages are made when first shown; what the user has not seen keeps the values it was loaded
// with.
HWND TOptionForm::EnsurePage(int page) {
    if (page < 0 || page >= OptionPageCount || views_[static_cast<size_t>(page)] == nullptr) {
        return nullptr;
    }
    HWND& slot = pages_[static_cast<size_t>(page)];
    if (slot != nullptr) {
        return slot;
    }
    pendingPage = {this, page};
    slot = CreateDialogParamW(GetModuleHandleW(nullptr),
                              MAKEINTRESOURCEW(views_[static_cast<size_t>(page)]->TemplateId()), Handle(), PageProc, 0);
    pendingPage = {};
    if (slot == nullptr) {
        return nullptr;
    }
    TakeOverDpiScaling(slot);
    // Windows makes a page at its monitor's DPI, which the dialog may have reached by a move since
    // it was made; Wine makes every page at the screen's. Only what is left is scaled here.
    const HFONT font = scaledFont_ ? scaledFont_.Get() : reinterpret_cast<HFONT>(SendMessageW(slot, WM_GETFONT, 0, 0));
    if (const auto step = StepToDpi(WindowDpi(slot), dpi_)) {
        ScaleStep scale{Handle(), step->To, step->From, font};
        EnumChildWindows(slot, ScaleChild, reinterpret_cast<LPARAM>(&scale));
    }
    if (scaledFont_) {
        SendMessageW(slot, WM_SETFONT, reinterpret_cast<WPARAM>(scaledFont_.Get()), FALSE);
    }
    PlacePage(slot);
    {
        PageControls controls(slot, ExchangeDirection::Load);
        const bool wasUpdating = std::exchange(updating_, true);
        views_[static_cast<size_t>(page)]->Prepare(controls, context_.Facts);
        updating_ = wasUpdating;
    }
    LoadPage(page);
    if (ready_) {
        ApplyRules();
    }
    return slot;
}

void TOptionForm::PlacePage(HWND page) const {
    RECT area{};
    GetWindowRect(Item(IDC_OPTION_PAGE_AREA), &area);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);
    SetWindowPos(page, Item(IDC_OPTION_PAGE_AREA), area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOACTIVATE);
}

void TOptionForm::LoadPage(int page) {
    PageControls controls(pages_[static_cast<size_t>(page)], ExchangeDirection::Load);
    const bool wasUpdating = std::exchange(updating_, true);
    views_[static_cast<size_t>(page)]->Exchange(controls, values_);
    updating_ = wasUpdating;
}

void TOptionForm::StorePage(int page) {
    PageControls controls(pages_[static_cast<size_t>(page)], ExchangeDirection::Store);
    views_[static_cast<size_t>(page)]->Exchange(controls, values_);
}

void TOptionForm::FocusFirstControl() {
    if (page_ < 0) {
        return;
    }
    HWND page = pages_[static_cast<size_t>(page_)];
    if (HWND first = GetNextDlgTabItem(page, nullptr, FALSE); first != nullptr && IsChild(page, first)) {
        SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    }
}

INT_PTR CALLBACK TOptionForm::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<TOptionForm*>(GetWindowLongPtrW(page, DWLP_USER));
    int index = static_cast<int>(GetWindowLongPtrW(page, GWLP_ID)) - FirstPageId;
    if (message == WM_INITDIALOG || form == nullptr) {
        form = pendingPage.Form;
        index = pendingPage.Index;
        if (form == nullptr) {
            return FALSE;
        }
        SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(form));
        SetWindowLongPtrW(page, GWLP_ID, FirstPageId + index);
        if (message == WM_INITDIALOG) {
            return FALSE;
        }
    }
    const DispatchScope scope(*form); // a page's handler may show a modal dialog
    return form->PageMessage(index, message, wParam, lParam);
}

INT_PTR TOptionForm::PageMessage(int page, UINT message, WPARAM wParam, LPARAM lParam) {
    OptionPageView& view = *views_[static_cast<size_t>(page)];
    HWND pageWindow = pages_[static_cast<size_t>(page)];
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        if (updating_ || pageWindow == nullptr || control == nullptr) {
            return FALSE;
        }
        if (code == EN_CHANGE && !IsWindowVisible(control)) {
            return TRUE;
        }
        StorePage(page);
        refused_ = false;
        if (view.Command(pageWindow, id, code, values_, *this)) {
            LoadPage(page);
        }
        if (IsChangeNotification(control, code) && !std::exchange(refused_, false)) {
            Change();
        }
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        // Drawing and tooltips report nothing the page holds; a list view sends them per row.
        if (updating_ || pageWindow == nullptr || header.code == NM_CUSTOMDRAW || header.code == TTN_GETDISPINFOW) {
            return FALSE;
        }
        StorePage(page);
        const bool handled = view.Notify(pageWindow, header, values_, *this);
        if (handled) {
            LoadPage(page);
        }
        if (header.code == UDN_DELTAPOS) {
            Change();
        }
        return handled ? TRUE : FALSE;
    }
    case WM_HSCROLL:
        if (!updating_ && pageWindow != nullptr && lParam != 0) {
            StorePage(page);
            Change();
        }
        return TRUE;
    case WM_DRAWITEM:
        return view.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_MEASUREITEM:
        return view.MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            view.ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default:
        return FALSE;
    }
}

// Every rule again, the guard's forgetting, and 適用(&A) enabled.
void TOptionForm::Change() {
    if (!ready_ || updating_) {
        return;
    }
    ApplyRules();
    if (values_.Adjust.ForgetsLastContact(context_.Current().AdjustClock, true)) {
        context_.ForgetLastContact();
    }
    EnableWindow(Item(IDC_OPTION_APPLY), TRUE);
}

void TOptionForm::ApplyRules() {
    const OptionPageFacts facts{context_.Facts, FontHasShiftJis()};
    const bool wasUpdating = std::exchange(updating_, true);
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i] != nullptr) {
            PageControls controls(pages_[i], ExchangeDirection::Store);
            views_[i]->ApplyRules(controls, values_, facts);
        }
    }
    updating_ = wasUpdating;
}

std::optional<bool> TOptionForm::FontHasShiftJis() const {
    const FontChoices& fonts = context_.Facts.Fonts;
    const int index = FindListText(fonts.Families, values_.Digit.FontName);
    if (index < 0 || static_cast<size_t>(index) >= fonts.ShiftJis.size()) {
        return std::nullopt;
    }
    return fonts.ShiftJis[static_cast<size_t>(index)];
}

bool TOptionForm::ApplyEnabled() const {
    return IsWindowEnabled(Item(IDC_OPTION_APPLY)) != FALSE;
}

// The pages' values go into a copy of the master's record as it is now (the clock's place and
// the last contact may have moved since the dialog opened), which the master then takes.
void TOptionForm::Apply() {
    if (!ApplyEnabled()) {
        return;
    }
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i] != nullptr) {
            StorePage(static_cast<int>(i));
        }
    }
    Settings next = context_.Current();
    const bool applicationData = values_.Boot.Location == 1;
    values_.Apply(next, context_.Facts, FontHasShiftJis(), page_);
    context_.Apply(next);
    context_.KitPortApplied(values_.Adjust.PortSelected());
    if (std::exchange(values_.Boot.StartUpClicked, false)) {
        ApplyStartupShortcut(Handle(), values_.Boot.StartUp);
    }
    context_.ApplyLocation(applicationData);
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i] != nullptr) {
            LoadPage(static_cast<int>(i)); // corrected fields show what was kept
        }
    }
    ApplyRules();
    EnableWindow(Item(IDC_OPTION_APPLY), FALSE);
    FocusFirstControl();
}

void TOptionForm::Ok() {
    if (ApplyEnabled()) {
        Apply();
    }
    context_.StorePage(page_);
    if (!ApplyEnabled()) {
        Close();
    }
}

// A preview of the dialog's own stops with it.
void TOptionForm::Close() {
    if (context_.Sound != nullptr) {
        context_.Sound->StopFor(*this);
    }
    DestroyWindow(Handle()); // the owner hears it through the closed handler
}

void TOptionForm::Command(int id, int code) {
    if (code != BN_CLICKED && code != 0) {
        return;
    }
    switch (id) {
    case IDOK:
        Ok();
        break;
    case IDCANCEL:
        Close();
        break;
    case IDC_OPTION_APPLY:
        Apply();
        break;
    default:
        break;
    }
}

void TOptionForm::FormHelp() {
    if (context_.Help != nullptr && page_ >= 0) {
        context_.Help->ShowContext(Handle(), OptionPages[static_cast<size_t>(page_)].HelpContext);
    }
}

// The fonts and the places of every control follow the monitor's DPI.
void TOptionForm::DpiChanged(int dpi, const RECT* suggested) {
    if (dpi <= 0 || dpi == dpi_ || suggested == nullptr) {
        return;
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)), sizeof(font), &font);
    font.lfHeight = MulDiv(font.lfHeight, dpi, dpi_);
    UniqueFont scaled(CreateFontIndirectW(&font));
    ScaleStep step{Handle(), dpi, dpi_, scaled.Get()};
    EnumChildWindows(Handle(), ScaleChild, reinterpret_cast<LPARAM>(&step));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(scaled.Get()), FALSE);
    const RECT target = *suggested;
    scaledFont_ = std::move(scaled);
    dpi_ = dpi;
    SetWindowPos(Handle(), nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HWND tree = Item(IDC_OPTION_TREE);
    SendMessageW(tree, TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1), 0); // the font's own height again
    const auto rowHeight = static_cast<int>(SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0));
    SendMessageW(tree, TVM_SETITEMHEIGHT, static_cast<WPARAM>(rowHeight + 2), 0);
    SendMessageW(tree, TVM_SETINDENT, static_cast<WPARAM>(rowHeight), 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TOptionForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == commonDialogHelp_ && commonDialogHelp_ != 0) {
        if (context_.Help != nullptr && pickerHelp_ != 0) {
            context_.Help->ShowContext(Handle(), pickerHelp_);
        }
        return 0;
    }
    switch (message) {
    case WM_INITDIALOG:
        FormCreate();
        return FALSE; // the focus is placed once the dialog shows
    case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_OPTION_TREE && header.code == TVN_SELCHANGEDW) {
            TreeSelectionChanged(*reinterpret_cast<const NMTREEVIEWW*>(lParam));
        }
        return 0;
    }
    case WM_DPICHANGED:
        DpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

// What the pages ask of the dialog.

bool TOptionForm::PickColour(HWND owner, Colour& colour) {
    static_assert(sizeof(COLORREF) == sizeof(Colour));
    std::array<COLORREF, ViewSettings::CustomColorCount> custom{};
    std::copy(values_.CustomColours.begin(), values_.CustomColours.end(), custom.begin());
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    choose.rgbResult = colour;
    choose.lpCustColors = custom.data();
    choose.Flags = CC_FULLOPEN | CC_RGBINIT | CC_SHOWHELP | CC_ENABLEHOOK;
    choose.lpfnHook = [](HWND dialog, UINT message, WPARAM, LPARAM) -> UINT_PTR {
        if (message == WM_INITDIALOG) {
            SetWindowTextW(dialog, L"色の指定");
        }
        return 0;
    };
    pickerHelp_ = ColourDialogHelp;
    const bool chosen = ChooseColorW(&choose) != FALSE;
    pickerHelp_ = 0;
    std::copy(custom.begin(), custom.end(), values_.CustomColours.begin());
    if (chosen) {
        colour = choose.rgbResult;
    }
    return chosen;
}

bool TOptionForm::PickImage(HWND owner, std::wstring& fileName) {
    pickerHelp_ = ImageDialogHelp;
    const std::vector<std::wstring> files = ChooseImageFile({owner, fileName, false});
    pickerHelp_ = 0;
    if (files.empty()) {
        return false;
    }
    fileName = files.front();
    return true;
}

std::vector<std::wstring> TOptionForm::PickSoundFiles(HWND owner, const std::wstring& preset, bool several) {
    bool autoPlay = context_.Current().View.OpenDialogAutoPlay;
    pickerHelp_ = SoundDialogHelp;
    std::vector<std::wstring> files = ChooseSoundFiles({owner, preset, several}, context_.Sound, autoPlay);
    pickerHelp_ = 0;
    if (context_.StoreAutoPlay) {
        context_.StoreAutoPlay(autoPlay);
    }
    return files;
}

bool TOptionForm::PickSound(HWND owner, std::wstring& fileName) {
    const std::vector<std::wstring> files = PickSoundFiles(owner, fileName, false);
    if (files.empty()) {
        return false;
    }
    fileName = files.front();
    return true;
}

bool TOptionForm::PickSounds(HWND owner, const std::wstring& preset, std::vector<std::wstring>& files) {
    files = PickSoundFiles(owner, preset, true);
    return !files.empty();
}

void TOptionForm::Preview(HWND button, const std::wstring& fileName) {
    if (context_.Sound != nullptr) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        context_.Sound->Play(*this, Handle(), button, fileName, true, false);
        if (context_.Sound->PlayingFor(*this)) {
            previewButton_ = button;
        }
    }
}

void TOptionForm::SoundEnded(bool) {
    if (HWND button = std::exchange(previewButton_, nullptr)) {
        SetWindowTextW(button, PreviewCaption);
    }
}

bool TOptionForm::FindWindowEntry(HWND owner, WindowFinderRequest& request) {
    return TWindowFinderForm::ShowModal(owner, request, context_.Help);
}

// A test asks with what the page shows now, read as Apply would read it.
void TOptionForm::TestAdjust(int method, const AdjustPage& page) {
    Settings scratch = context_.Current();
    AdjustPage copy = page;
    copy.Apply(scratch);
    context_.TestAdjust(Handle(), method, scratch);
}

bool TOptionForm::AcceptSettingsLocation(bool applicationData) {
    return context_.AcceptLocation(applicationData);
}

void TOptionForm::Changed() {
    Change();
}

void TOptionForm::Refused() {
    refused_ = true;
}

} // namespace lumora
