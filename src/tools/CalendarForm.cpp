#include "tools/CalendarForm.h"

#include "shell/AppNames.h"
#include "menu/MenuModel.h"
#include "menu/PopupMenu.h"
#include "menu/SystemCommands.h"
#include "clock/DigitSource.h"
#include "shell/DpiScale.h"
#include "shell/MessageBoxes.h"
#include "shell/Monitors.h"
#include "tools/CalendarFormRes.h"

#include <mmsystem.h>
#include <shlwapi.h>
#include <windowsx.h>

#include <cstring>
#include <exception>
#include <optional>
#include <utility>

namespace lumora {
namespace {

constexpr wchar_t PartClass[] = L"TCalendarPart";
constexpr int CalendarHelpContext = 48;

constexpr DWORD FormStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
constexpr DWORD FormExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
constexpr int PageRing = 3; // the page's border and the focus rectangle inside it
constexpr UINT AnimationTime = 150;
// Menu images: help and the pin.
constexpr int HelpImage = 16;
constexpr int FixedImage = 12;

RECT ToRect(const ScreenRect& rect) {
    return {rect.Left, rect.Top, rect.Right, rect.Bottom};
}

void Place(HWND window, const ScreenRect& rect) {
    MoveWindow(window, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top, TRUE);
}

COLORREF SystemColour(int index) {
    return GetSysColor(index);
}

void Frame(HDC dc, const RECT& rect, COLORREF colour) {
    Fill(dc, {rect.left, rect.top, rect.right, rect.top + 1}, colour);
    Fill(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
    Fill(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
    Fill(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

// heightInPixels: the character height (a negative font height).
UniqueFont MakeFont(const std::wstring& name, int heightInPixels, bool bold) {
    return UniqueFont(CreateFontW(-heightInPixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
}

void DrawLine(HDC dc, const std::wstring& text, RECT rect, UINT flags, COLORREF colour) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_NOPREFIX | flags);
}

SIZE TextSize(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

// Paints into a bitmap first, so a refresh does not flicker; also serves WM_PRINTCLIENT.
class BufferedPaint {
public:
    BufferedPaint(HWND hwnd, HDC printDc) : hwnd_(hwnd), printDc_(printDc) {
        GetClientRect(hwnd, &client_);
        target_ = printDc != nullptr ? printDc : BeginPaint(hwnd, &paint_);
        bitmap_.Reset(CreateCompatibleBitmap(target_, client_.right, client_.bottom));
        selected_.emplace(memory_.Get(), bitmap_.Get());
    }
    ~BufferedPaint() {
        BitBlt(target_, 0, 0, client_.right, client_.bottom, memory_.Get(), 0, 0, SRCCOPY);
        selected_.reset();
        if (printDc_ == nullptr) {
            EndPaint(hwnd_, &paint_);
        }
    }
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC Dc() const { return memory_.Get(); }

private:
    HWND hwnd_;
    HDC printDc_;
    PAINTSTRUCT paint_{};
    RECT client_{};
    HDC target_ = nullptr;
    MemoryDC memory_;
    UniqueBitmap bitmap_;
    std::optional<SelectedObject> selected_;
};

bool RegisterPartClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, PartClass, &wc)) {
        return true;
    }
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = PartClass;
    return RegisterClassExW(&wc) != 0;
}

int CommonControlsMajorVersion() {
    HMODULE library = GetModuleHandleW(L"comctl32.dll");
    const auto getVersion =
        library != nullptr
            ? reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")))
            : nullptr;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    return getVersion != nullptr && SUCCEEDED(getVersion(&info)) ? static_cast<int>(info.dwMajorVersion) : 0;
}

// The taskbar's rectangle; with none (Wine has no Explorer taskbar) a line along the bottom.
ScreenRect TaskbarRect(int screenWidth, int screenHeight) {
    RECT rect{};
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (taskbar == nullptr || !GetWindowRect(taskbar, &rect)) {
        return {0, screenHeight, screenWidth, screenHeight};
    }
    return {rect.left, rect.top, rect.right, rect.bottom};
}

DWORD SlideFlags(CalendarSlide slide) {
    switch (slide) {
    case CalendarSlide::Down:
        return AW_SLIDE | AW_VER_POSITIVE;
    case CalendarSlide::Right:
        return AW_SLIDE | AW_HOR_POSITIVE;
    case CalendarSlide::Up:
        return AW_SLIDE | AW_VER_NEGATIVE;
    case CalendarSlide::Left:
        return AW_SLIDE | AW_HOR_NEGATIVE;
    }
    return AW_SLIDE | AW_VER_NEGATIVE;
}

} // namespace

std::unique_ptr<TCalendarForm> TCalendarForm::Create(HWND owner, CalendarFormContext context) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls); // the tool bar and the tooltips
    std::unique_ptr<TCalendarForm> form(new TCalendarForm(std::move(context)));
    CreateParams params; // sized for its monitor's DPI once it is there
    params.ClassName = names::CalendarFormClass;
    params.ClassStyle = CommonControlsMajorVersion() > 5 ? CS_DROPSHADOW : 0;
    params.Style = FormStyle;
    params.ExStyle = FormExStyle;
    params.Left = 0;
    params.Top = 0;
    params.Owner = owner;
    if (!form->CreateForm(params) || !form->FormCreate()) {
        return nullptr;
    }
    return form;
}

TCalendarForm::~TCalendarForm() {
    // The window outlives this part of the object: its parts must not call back into it.
    for (HWND part : {grid_, page_}) {
        if (part != nullptr && IsWindow(part)) {
            SetWindowLongPtrW(part, GWLP_USERDATA, 0);
        }
    }
    for (HWND button : {prevButton_, nextButton_, linkButton_}) {
        if (button != nullptr && IsWindow(button)) {
            RemoveWindowSubclass(button, ButtonKeysProc, 0);
        }
    }
    if (images_ != nullptr) {
        if (toolBar_ != nullptr && IsWindow(toolBar_)) {
            SendMessageW(toolBar_, TB_SETIMAGELIST, 0, 0);
        }
        ImageList_Destroy(images_);
    }
}

bool TCalendarForm::FormCreate() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterPartClass(instance, PartProc)) {
        return false;
    }
    dpi_ = WindowDpi(Handle());
    sizes_ = LayOutCalendarForm(dpi_);
    // Creation order is the tab order; LayOut places them.
    grid_ = CreateWindowExW(0, PartClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, Handle(),
                            reinterpret_cast<HMENU>(IDC_CALENDAR_GRID), instance, this);
    CreateButtons();
    page_ = CreateWindowExW(0, PartClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, Handle(),
                            reinterpret_cast<HMENU>(IDC_CALENDAR_PAGE), instance, this);
    if (grid_ == nullptr || page_ == nullptr) {
        return false;
    }
    const std::wstring link = LoadResourceString(IDS_CALENDAR_TIME_DATE);
    linkButton_ = CreateWindowExW(0, L"BUTTON", link.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0,
                                  0, 0, Handle(), reinterpret_cast<HMENU>(IDC_CALENDAR_TIME_DATE), instance, nullptr);
    CreateToolBar();
    for (HWND button : {prevButton_, nextButton_, linkButton_}) {
        if (button != nullptr) {
            SetWindowSubclass(button, ButtonKeysProc, 0, reinterpret_cast<DWORD_PTR>(this));
        }
    }
    CreateHints();
    LayOut();
    Refresh(true, true);
    return true;
}

// Everything whose size follows the DPI: the window, its parts, their fonts and the images.
void TCalendarForm::LayOut() {
    RECT frame{0, 0, sizes_.ClientWidth, sizes_.ClientHeight};
    AdjustWindowRectEx(&frame, FormStyle, FALSE, FormExStyle);
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const ScreenRect& grid = sizes_.GridRect;
    layout_ = LayOutCalendarGrid(grid.Right - grid.Left, grid.Bottom - grid.Top);
    Place(grid_, grid);
    Place(page_, sizes_.HimekuriPanel);
    arrowFont_ =
        UniqueFont(CreateFontW(-sizes_.ArrowFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Marlett"));
    for (const auto& [button, rect] : {std::pair{prevButton_, sizes_.PrevButton}, {nextButton_, sizes_.NextButton}}) {
        if (button != nullptr) {
            SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(arrowFont_.Get()), FALSE);
            Place(button, rect);
        }
    }
    LayOutToolBar();
    ApplyFont();
    InvalidateRect(Handle(), nullptr, TRUE);
}

// The system suggests where the window goes on the new monitor; its size is the layout's.
void TCalendarForm::DpiChanged(int dpi, const RECT* suggested) {
    if (dpi <= 0 || dpi == dpi_) {
        return;
    }
    dpi_ = dpi;
    sizes_ = LayOutCalendarForm(dpi);
    LayOut();
    if (suggested != nullptr) {
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TCalendarForm::CreateButtons() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    struct Button {
        HWND* Handle;
        const wchar_t* Glyph; // Marlett's left and right triangles
        int Id;
    };
    const Button buttons[] = {
        {&prevButton_, L"3", IDC_CALENDAR_PREV},
        {&nextButton_, L"4", IDC_CALENDAR_NEXT},
    };
    for (const Button& b : buttons) {
        *b.Handle =
            CreateWindowExW(0, L"BUTTON", b.Glyph, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                            Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.Id)), instance, nullptr);
    }
}

// Help and the pin, with the menu's images.
void TCalendarForm::CreateToolBar() {
    toolBar_ = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
        0, 0, 0, Handle(), reinterpret_cast<HMENU>(IDC_CALENDAR_TOOLBAR), GetModuleHandleW(nullptr), nullptr);
    if (toolBar_ == nullptr) {
        return;
    }
    SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const auto sheet = LoadBitmapResource(MenuImagesResource(context_.ColourDepth));
    const std::vector<PixelBuffer> pictures = sheet ? SplitMenuImages(*sheet) : std::vector<PixelBuffer>{};
    if (pictures.size() == MenuImageCount) {
        pictures_ = {pictures[HelpImage], pictures[FixedImage]};
    }
    TBBUTTON buttons[2]{};
    buttons[0] = {0, IDC_CALENDAR_HELP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
    buttons[1] = {1, IDC_CALENDAR_FIXED, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0};
    SendMessageW(toolBar_, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    helpHint_ = LoadResourceString(IDS_CALENDAR_HELP_HINT);
    fixedHint_ = LoadResourceString(IDS_CALENDAR_FIXED_HINT);
}

// The images at the DPI's size, the buttons around them, the bar at the strip's right end.
void TCalendarForm::LayOutToolBar() {
    if (toolBar_ == nullptr) {
        return;
    }
    const int side = MenuImageSizeAt(dpi_);
    if (!pictures_.empty()) {
        HIMAGELIST images = ImageList_Create(side, side, ILC_COLOR32, 2, 0);
        for (const PixelBuffer& picture : pictures_) {
            const PixelBuffer image = ScaleMenuImage(picture, side);
            DibSection dib(side, side);
            if (dib.Bits() != nullptr) {
                std::memcpy(dib.Bits(), image.Pixels.data(), image.Pixels.size() * sizeof(Pixel));
            }
            ImageList_Add(images, dib.Get(), nullptr);
        }
        SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        if (images_ != nullptr) {
            ImageList_Destroy(images_);
        }
        images_ = images;
    }
    // A flat button's frame around its image, as the tool bar makes it at 96 DPI.
    SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(side + ScaleToDpi(7, dpi_), side + ScaleToDpi(6, dpi_)));
    SIZE size{};
    SendMessageW(toolBar_, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    const int stripTop = sizes_.ClientHeight - sizes_.StripHeight;
    MoveWindow(toolBar_, sizes_.HimekuriPanel.Right - size.cx, stripTop + (sizes_.StripHeight - size.cy) / 2, size.cx,
               size.cy, TRUE);
}

void TCalendarForm::CreateHints() {
    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tooltip == nullptr) {
        return; // no hints
    }
    const std::pair<HWND, UINT> tools[] = {
        {prevButton_, IDS_CALENDAR_PREV_HINT}, {nextButton_, IDS_CALENDAR_NEXT_HINT}, {page_, IDS_CALENDAR_PAGE_HINT}};
    for (const auto& [window, textId] : tools) {
        std::wstring text = LoadResourceString(textId);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(window);
        tool.lpszText = text.data();
        SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TCalendarForm::ApplyFont() {
    UniqueFont font = MakeFont(FontName(), sizes_.LinkFontHeight, false);
    if (linkButton_ != nullptr) {
        SendMessageW(linkButton_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    }
    font_ = std::move(font); // the link no longer holds the old one
    if (linkButton_ == nullptr) {
        return;
    }
    WindowDC dc(linkButton_);
    SelectedObject selected(dc.Get(), font_.Get());
    const std::wstring text = LoadResourceString(IDS_CALENDAR_TIME_DATE);
    const SIZE size = TextSize(dc.Get(), text);
    const int width = size.cx + sizes_.LinkPadding;
    const int height = size.cy + sizes_.LinkPadding;
    MoveWindow(linkButton_, sizes_.LinkLeft,
               sizes_.ClientHeight - sizes_.StripHeight + (sizes_.StripHeight - height) / 2, width, height, TRUE);
}

std::wstring TCalendarForm::FontName() const {
    return context_.FontName ? context_.FontName() : std::wstring();
}

void TCalendarForm::Refresh(bool updateToday, bool resetMonth) {
    ApplyFont();
    if (updateToday) {
        model_.SetToday(context_.Today(), context_.Locale());
    }
    if (resetMonth) {
        model_.ShowTodaysMonth();
    }
    const RECT title = ToRect(sizes_.TitleRect);
    InvalidateRect(Handle(), &title, FALSE);
    const int today = model_.TodayCell();
    if (today >= 0) {
        selected_ = today;
    }
    InvalidateRect(grid_, nullptr, FALSE);
    if (updateToday) {
        InvalidateRect(page_, nullptr, FALSE);
    }
}

void TCalendarForm::ShowAt(POINT topLeft) {
    SetWindowPos(Handle(), HWND_TOPMOST, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    BOOL animation = FALSE;
    BOOL fade = FALSE;
    SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &animation, 0);
    SystemParametersInfoW(SPI_GETMENUFADE, 0, &fade, 0);
    PlaySoundW(L"MenuPopup", nullptr, SND_ALIAS | SND_NODEFAULT | SND_ASYNC);
    if (animation) {
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        const DWORD how =
            fade ? AW_BLEND : SlideFlags(CalendarSlideDirection(TaskbarRect(width, height), width, height));
        AnimateWindow(Handle(), AnimationTime, how | AW_ACTIVATE);
    }
    if (!IsWindowVisible(Handle())) {
        ShowWindow(Handle(), SW_SHOW); // no animation, or one that failed
    }
    SetForegroundWindow(Handle());
    SetFocus(grid_);
}

LRESULT TCalendarForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        BufferedPaint paint(Handle(), nullptr);
        FormPaint(paint.Dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        FormPaint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        // Also what the flat tool bar shows through.
        FormPaint(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_CTLCOLORBTN:
        // Behind the month buttons' rounded corners: the title bar.
        SetDCBrushColor(reinterpret_cast<HDC>(wParam), SystemColour(COLOR_ACTIVECAPTION));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == IDC_CALENDAR_TIME_DATE) {
            DrawLinkButton(*item);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            if (info->hdr.idFrom == IDC_CALENDAR_HELP) {
                info->lpszText = helpHint_.data();
            } else if (info->hdr.idFrom == IDC_CALENDAR_FIXED) {
                info->lpszText = fixedHint_.data();
            }
            return 0;
        }
        break;
    }
    case WM_NCHITTEST:
        // The form's own background drags it, until it is pinned.
        return pinned_ ? HTCLIENT : HTCAPTION;
    case WM_SETCURSOR:
        if (SetCursorFor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam))) {
            return TRUE;
        }
        break;
    case WM_NCACTIVATE: {
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        active_ = wParam != FALSE;
        if (active_ || pinned_) {
            InvalidateFocused();
        }
        return result;
    }
    case WM_ACTIVATE:
        Activated(LOWORD(wParam) != WA_INACTIVE, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_SETFOCUS:
        SetFocus(lastFocus_ != nullptr && IsChild(Handle(), lastFocus_) ? lastFocus_ : grid_);
        return 0;
    case WM_KEYDOWN:
        if (PreviewKey(Handle(), wParam)) {
            return 0;
        }
        break;
    case WM_CLOSE:
        CloseRequest();
        return 0;
    case WM_SYSCOLORCHANGE:
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case WM_DPICHANGED:
        DpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

void TCalendarForm::FormHelp() {
    if (context_.Help != nullptr) {
        Guarded([this] { context_.Help->ShowContext(Handle(), CalendarHelpContext); });
    }
}

void TCalendarForm::Command(int id, int code) {
    switch (id) {
    case IDC_CALENDAR_PREV:
    case IDC_CALENDAR_NEXT:
        if (code == BN_CLICKED) {
            StepMonths(id == IDC_CALENDAR_PREV ? -1 : 1);
            SetFocus(grid_);
        }
        break;
    case IDC_CALENDAR_TIME_DATE:
        if (code == BN_CLICKED) {
            Guarded([] { OpenTimeDatePanel(); });
        }
        break;
    case IDC_CALENDAR_HELP:
        FormHelp();
        break;
    case IDC_CALENDAR_FIXED:
        pinned_ = SendMessageW(toolBar_, TB_ISBUTTONCHECKED, IDC_CALENDAR_FIXED, 0) != 0;
        break;
    default:
        break;
    }
}

template <class Work> void TCalendarForm::Guarded(Work work) {
    ++busy_;
    work();
    --busy_;
    if (busy_ == 0 && std::exchange(closePending_, false)) {
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
    }
}

// Like a menu: another window taking the activation closes the calendar, unless it is pinned or
// the other window is one of its own (a message of the help).
void TCalendarForm::Activated(bool active, HWND other) {
    if (active) {
        SetFocus(lastFocus_ != nullptr && IsChild(Handle(), lastFocus_) ? lastFocus_ : grid_);
        return;
    }
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) {
        lastFocus_ = focus;
    }
    if (!pinned_ && (other == nullptr || GetWindow(other, GW_OWNER) != Handle())) {
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
    }
}

void TCalendarForm::CloseRequest() {
    if (pinned_) {
        return;
    }
    if (busy_ > 0) {
        closePending_ = true;
        return;
    }
    DestroyWindow(Handle());
}

bool TCalendarForm::PreviewKey(HWND from, WPARAM key) {
    if (key == VK_ESCAPE) {
        CloseRequest();
        return true;
    }
    if (key == VK_TAB) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (HWND next = GetNextDlgTabItem(Handle(), from == Handle() ? nullptr : from, back)) {
            SetFocus(next);
        }
        return true;
    }
    return false;
}

bool TCalendarForm::SetCursorFor(HWND target, UINT hit, UINT mouseMessage) {
    if ((target == page_ || target == linkButton_) && hit == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return true;
    }
    if (target == Handle() && hit != HTCLIENT) {
        const bool pressing = mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_NCLBUTTONDOWN;
        SetCursor(LoadCursorW(nullptr, pressing && !pinned_ ? IDC_SIZEALL : IDC_ARROW));
        return true;
    }
    return false;
}

// --- the form's own drawing ----------------------------------------------------------------------

void TCalendarForm::FormPaint(HDC dc) {
    const int width = sizes_.ClientWidth;
    const int stripTop = sizes_.ClientHeight - sizes_.StripHeight;
    Fill(dc, {0, 0, width, stripTop}, SystemColour(COLOR_WINDOW));
    Fill(dc, {0, stripTop, width, sizes_.ClientHeight}, SystemColour(COLOR_BTNFACE));
    RECT bevel{0, stripTop, width, stripTop + 2};
    DrawEdge(dc, &bevel, EDGE_ETCHED, BF_TOP);
    Frame(dc, ToRect(sizes_.CalendarPanel), SystemColour(COLOR_ACTIVECAPTION));
    Frame(dc, ToRect(sizes_.HimekuriPanel), SystemColour(COLOR_BTNSHADOW));
    PaintTitle(dc);
}

void TCalendarForm::PaintTitle(HDC dc) {
    const RECT title = ToRect(sizes_.TitleRect);
    Fill(dc, title, SystemColour(COLOR_ACTIVECAPTION));
    const UniqueFont font = MakeFont(FontName(), sizes_.TitleFontHeight, true);
    SelectedObject selected(dc, font.Get());
    DrawLine(dc, model_.Title(context_.Locale()), title, DT_CENTER | DT_VCENTER, SystemColour(COLOR_CAPTIONTEXT));
}

// A link: underlined text in the hot-track colour on the strip.
void TCalendarForm::DrawLinkButton(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    Fill(dc, item.rcItem, SystemColour(COLOR_BTNFACE));
    LOGFONTW look{};
    GetObjectW(font_.Get(), sizeof(look), &look);
    look.lfUnderline = TRUE;
    const UniqueFont underlined(CreateFontIndirectW(&look));
    SelectedObject selected(dc, underlined.Get());
    wchar_t text[128] = L"";
    GetWindowTextW(item.hwndItem, text, static_cast<int>(std::size(text)));
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    DrawLine(dc, text, item.rcItem, DT_CENTER | DT_VCENTER, SystemColour(disabled ? COLOR_GRAYTEXT : COLOR_HOTLIGHT));
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        DrawFocusRect(dc, &item.rcItem);
    }
}

// --- the parts: grid and tear-off page -------------------------------------------------------------

LRESULT CALLBACK TCalendarForm::PartProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* form = reinterpret_cast<TCalendarForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // No exception may unwind through the system.
    try {
        return form->PartMessage(hwnd, message, wParam, lParam);
    } catch (const std::exception& e) {
        ShowFatalError(e.what());
    } catch (...) {
        ShowFatalError("unknown error");
    }
}

LRESULT CALLBACK TCalendarForm::ButtonKeysProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
    if (message == WM_KEYDOWN) {
        try {
            if (reinterpret_cast<TCalendarForm*>(data)->PreviewKey(hwnd, wParam)) {
                return 0;
            }
        } catch (const std::exception& e) {
            ShowFatalError(e.what());
        } catch (...) {
            ShowFatalError("unknown error");
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, ButtonKeysProc, 0);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT TCalendarForm::PartMessage(HWND part, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool grid = part == grid_;
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        BufferedPaint paint(part, message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
        grid ? GridPaint(paint.Dc()) : PagePaint(paint.Dc());
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        grid ? InvalidateCell(selected_) : InvalidatePageRing();
        return 0;
    case WM_KEYDOWN:
        if (PreviewKey(part, wParam)) {
            return 0;
        }
        if (grid) {
            GridKeyDown(wParam);
        } else if (wParam == VK_SPACE || wParam == VK_RETURN) {
            BackToToday();
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (grid) {
            GridMouseDown(lParam);
        } else {
            SetFocus(page_);
            SetCapture(page_);
            pagePressed_ = true;
        }
        return 0;
    case WM_LBUTTONUP:
        if (!grid) {
            PageMouseUp(lParam);
        }
        return 0;
    case WM_CAPTURECHANGED:
        pagePressed_ = false;
        return 0;
    default:
        return DefWindowProcW(part, message, wParam, lParam);
    }
}

RECT TCalendarForm::CellRect(int row, int column) const {
    RECT rect{};
    for (int c = 0; c < column; ++c) {
        rect.left += layout_.ColumnWidths[c];
    }
    for (int r = 0; r < row; ++r) {
        rect.top += layout_.RowHeights[r];
    }
    rect.right = rect.left + layout_.ColumnWidths[column];
    rect.bottom = rect.top + layout_.RowHeights[row];
    return rect;
}

void TCalendarForm::GridPaint(HDC dc) {
    const std::wstring fontName = FontName();
    const LocaleFacts locale = context_.Locale();
    const COLORREF window = SystemColour(COLOR_WINDOW);
    const COLORREF text = SystemColour(COLOR_WINDOWTEXT);
    const bool focused = GetFocus() == grid_;
    for (int row = 0; row <= CalendarWeeks; ++row) {
        const RECT cellRect = CellRect(row, 0);
        const int height = static_cast<int>((cellRect.bottom - cellRect.top) / 1.25);
        const UniqueFont normal = MakeFont(fontName, height, false);
        const UniqueFont bold = MakeFont(fontName, height, true);
        for (int column = 0; column < CalendarColumns; ++column) {
            const RECT cell = CellRect(row, column);
            const RECT inner{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
            if (row == 0) {
                Fill(dc, cell, window);
                SelectedObject selected(dc, bold.Get());
                DrawLine(dc, locale.ShortDayNames[static_cast<size_t>(column)], inner, DT_CENTER | DT_VCENTER,
                         SystemColour(COLOR_ACTIVECAPTION));
                Fill(dc, {cell.left, cell.bottom - 1, cell.right, cell.bottom}, text);
                continue;
            }
            const int index = (row - 1) * CalendarColumns + column;
            const CalendarCell day = model_.Cell(index);
            const bool isSelected = index == selected_;
            COLORREF background = window;
            COLORREF ink = text;
            if (!day.InShownMonth) {
                ink = SystemColour(COLOR_GRAYTEXT);
            } else if (isSelected) {
                background = SystemColour(active_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
                ink = SystemColour(active_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
            }
            Fill(dc, cell, background);
            if (day.IsToday && !isSelected) {
                Frame(dc, cell, SystemColour(COLOR_HIGHLIGHT));
            }
            SelectedObject selected(dc, day.IsToday ? bold.Get() : normal.Get());
            DrawLine(dc, std::to_wstring(day.Day), inner, DT_CENTER | DT_VCENTER, ink);
            if (isSelected && focused && active_) {
                SetTextColor(dc, text);
                SetBkColor(dc, window);
                DrawFocusRect(dc, &cell);
            }
        }
    }
}

void TCalendarForm::InvalidateCell(int cell) {
    const RECT rect = CellRect(cell / CalendarColumns + 1, cell % CalendarColumns);
    InvalidateRect(grid_, &rect, FALSE);
}

void TCalendarForm::Select(int cell) {
    if (cell < 0 || cell >= CalendarCellCount) {
        return;
    }
    InvalidateCell(selected_);
    selected_ = cell;
    InvalidateCell(selected_);
}

void TCalendarForm::StepMonths(int months) {
    if (model_.StepMonths(months)) {
        Refresh(false, false);
    }
}

void TCalendarForm::GridKeyDown(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const int row = selected_ / CalendarColumns;
    const int column = selected_ % CalendarColumns;
    switch (key) {
    case VK_PRIOR:
        StepMonths(control ? -12 : -1);
        break;
    case VK_NEXT:
        StepMonths(control ? 12 : 1);
        break;
    case VK_HOME:
        Select(control ? model_.FirstDayCell() : row * CalendarColumns);
        break;
    case VK_END:
        Select(control ? model_.LastDayCell() : row * CalendarColumns + CalendarColumns - 1);
        break;
    case VK_LEFT:
        Select(column > 0 ? selected_ - 1 : selected_);
        break;
    case VK_RIGHT:
        Select(column < CalendarColumns - 1 ? selected_ + 1 : selected_);
        break;
    case VK_UP:
        Select(row > 0 ? selected_ - CalendarColumns : selected_);
        break;
    case VK_DOWN:
        Select(row < CalendarWeeks - 1 ? selected_ + CalendarColumns : selected_);
        break;
    default:
        break;
    }
}

void TCalendarForm::GridMouseDown(LPARAM point) {
    SetFocus(grid_);
    const int x = GET_X_LPARAM(point);
    const int y = GET_Y_LPARAM(point);
    for (int row = 1; row <= CalendarWeeks; ++row) {
        for (int column = 0; column < CalendarColumns; ++column) {
            const RECT cell = CellRect(row, column);
            if (x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom) {
                Select((row - 1) * CalendarColumns + column);
                return;
            }
        }
    }
}

// The page, in the form's font: the day large in the middle, the month above, the weekday with
// its ordinal below.
void TCalendarForm::PagePaint(HDC dc) {
    RECT outer{};
    GetClientRect(page_, &outer);
    Frame(dc, outer, SystemColour(COLOR_BTNSHADOW));
    const RECT page{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
    const int width = page.right - page.left;
    const int height = page.bottom - page.top;
    const COLORREF text = SystemColour(COLOR_WINDOWTEXT);
    Fill(dc, page, SystemColour(COLOR_WINDOW));
    const std::wstring fontName = FontName();
    const CalendarPage& texts = model_.Page();
    {
        const UniqueFont dayFont = MakeFont(fontName, height / 2, false);
        SelectedObject selected(dc, dayFont.Get());
        DrawLine(dc, texts.DayText, page, DT_CENTER | DT_VCENTER, text);
    }
    const RECT inner{page.left, page.top + sizes_.PageTextInset, page.right, page.bottom - sizes_.PageTextInset};
    const int boldHeight = height / 8;
    const UniqueFont boldFont = MakeFont(fontName, boldHeight, true);
    const UniqueFont ordinalFont = MakeFont(fontName, static_cast<int>(boldHeight / 1.6), false);
    {
        SelectedObject selected(dc, boldFont.Get());
        DrawLine(dc, texts.YearMonthText, inner, DT_CENTER | DT_TOP, text);
    }
    // The weekday is centred; the ordinal stands before it, sitting on the same base line.
    SIZE weekday{};
    {
        SelectedObject selected(dc, boldFont.Get());
        weekday = TextSize(dc, texts.WeekdayText);
    }
    const int x = page.left + (width - weekday.cx) / 2;
    const int lineTop = inner.bottom - weekday.cy;
    int ordinalWidth = 0;
    {
        SelectedObject selected(dc, ordinalFont.Get());
        const SIZE ordinal = TextSize(dc, texts.OrdinalText);
        ordinalWidth = ordinal.cx;
        const RECT ordinalRect{x - ordinal.cx / 2 - 1, inner.bottom - 1 - ordinal.cy, page.right, inner.bottom - 1};
        DrawLine(dc, texts.OrdinalText, ordinalRect, DT_LEFT | DT_TOP, text);
    }
    {
        SelectedObject selected(dc, boldFont.Get());
        const RECT weekdayRect{x + ordinalWidth / 2 + 1, lineTop, page.right, inner.bottom};
        const COLORREF weekdayInk = texts.WeekdayColour ? static_cast<COLORREF>(*texts.WeekdayColour) : text;
        DrawLine(dc, texts.WeekdayText, weekdayRect, DT_LEFT | DT_TOP, weekdayInk);
    }
    if (GetFocus() == page_ && active_) {
        const RECT focus{page.left + 1, page.top + 1, page.right - 1, page.bottom - 1};
        SetTextColor(dc, text);
        SetBkColor(dc, SystemColour(COLOR_WINDOW));
        DrawFocusRect(dc, &focus);
    }
}

void TCalendarForm::PageMouseUp(LPARAM point) {
    const bool pressed = pagePressed_;
    if (GetCapture() == page_) {
        ReleaseCapture();
    }
    RECT client{};
    GetClientRect(page_, &client);
    const POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (pressed && PtInRect(&client, at)) {
        BackToToday();
    }
}

void TCalendarForm::BackToToday() {
    Refresh(false, true);
    SetFocus(grid_);
}

// Only the ring where the focus rectangle lies.
void TCalendarForm::InvalidatePageRing() {
    RECT client{};
    GetClientRect(page_, &client);
    const RECT sides[] = {
        {client.left, client.top, client.right, client.top + PageRing},
        {client.left, client.bottom - PageRing, client.right, client.bottom},
        {client.left, client.top, client.left + PageRing, client.bottom},
        {client.right - PageRing, client.top, client.right, client.bottom},
    };
    for (const RECT& side : sides) {
        InvalidateRect(page_, &side, FALSE);
    }
}

void TCalendarForm::InvalidateFocused() {
    if (GetFocus() == page_) {
        InvalidatePageRing();
    }
    // The selection's colours follow the activation whether or not the grid has the focus.
    InvalidateCell(selected_);
}

} // namespace lumora
