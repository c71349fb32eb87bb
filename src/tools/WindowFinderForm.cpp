#include "tools/WindowFinderForm.h"

#include "shell/AppNames.h"
#include "resources/ResourceIds.h"
#include "shell/GdiObjects.h"
#include "shell/HelpViewer.h"
#include "shell/Monitors.h"
#include "shell/MessageBoxes.h"
#include "tools/WindowFinderFormRes.h"
#include "tools/WindowFinderRules.h"

#include <iterator>

namespace lumora {
namespace {

constexpr int WindowFinderHelpContext = 52;
constexpr int MaxTextLength = 255;
constexpr int BevelSize = 44; // pixels at 96 DPI
constexpr int ImageSize = 32;
constexpr int FrameWidth = 3;

UINT RefusalMessage(FinderRefusal refusal) {
    switch (refusal) {
    case FinderRefusal::PairTaken:
        return IDS_FINDER_PAIR_TAKEN;
    case FinderRefusal::ClassCoveredForTitle:
        return IDS_FINDER_CLASS_COVERED_FOR_TITLE;
    case FinderRefusal::ClassTaken:
        return IDS_FINDER_CLASS_TAKEN;
    case FinderRefusal::TitleCoveredForClass:
        return IDS_FINDER_TITLE_COVERED_FOR_CLASS;
    case FinderRefusal::TitleTaken:
        return IDS_FINDER_TITLE_TAKEN;
    case FinderRefusal::ClassNeeded:
        return IDS_FINDER_CLASS_NEEDED;
    case FinderRefusal::None:
        break;
    }
    return 0;
}

// The top-level window under the pointer; none over a window of this program, which the clock
// itself never has to stay behind.
HWND WindowUnderPointer() {
    POINT point{};
    if (!GetCursorPos(&point)) {
        return nullptr;
    }
    HWND window = WindowFromPoint(point);
    if (window == nullptr) {
        return nullptr;
    }
    POINT inside = point;
    ScreenToClient(window, &inside);
    if (HWND child = ChildWindowFromPoint(window, inside); child != nullptr) {
        window = child;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        return nullptr;
    }
    while ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) {
        HWND parent = GetParent(window);
        if (parent == nullptr) {
            break;
        }
        window = parent;
    }
    return window;
}

// The mark around a window's rectangle, three pixels wide. It leaves out this program's own windows:
// they repaint while the mark is up (the finder's texts, the clock's seconds), and inverting a
// repainted spot once more to take the mark away would leave a trace there.
UniqueRegion FrameRegion(const RECT& rect) {
    UniqueRegion frame(CreateRectRgnIndirect(&rect));
    const UniqueRegion inner(CreateRectRgn(rect.left + FrameWidth, rect.top + FrameWidth, rect.right - FrameWidth,
                                           rect.bottom - FrameWidth));
    if (!frame || !inner) {
        return {};
    }
    CombineRgn(frame.Get(), frame.Get(), inner.Get(), RGN_XOR);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            RECT own{};
            if (IsWindowVisible(window) && GetWindowRect(window, &own)) {
                const UniqueRegion ownRegion(CreateRectRgnIndirect(&own));
                const auto mark = reinterpret_cast<HRGN>(data);
                CombineRgn(mark, mark, ownRegion.Get(), RGN_DIFF);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(frame.Get()));
    return frame;
}

// Drawn straight onto the screen by inversion, so that drawing it again takes it away.
void InvertOnScreen(const UniqueRegion& region) {
    const WindowDC screen(nullptr);
    if (screen.Get() != nullptr && region) {
        InvertRgn(screen.Get(), region.Get());
    }
}

std::wstring WindowText(HWND window) {
    wchar_t text[MaxTextLength + 1] = L"";
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

std::wstring ClassText(HWND window) {
    wchar_t text[MaxTextLength + 1] = L"";
    GetClassNameW(window, text, static_cast<int>(std::size(text)));
    return text;
}

} // namespace

TWindowFinderForm::TWindowFinderForm(WindowFinderRequest& request, const HelpViewer* help)
    : request_(request), help_(help) {}

TWindowFinderForm::~TWindowFinderForm() {
    if (Handle() != nullptr) {
        DestroyWindow(Handle()); // while this object still hears WM_DESTROY and takes the mark away
    }
}

bool TWindowFinderForm::ShowModal(HWND owner, WindowFinderRequest& request, const HelpViewer* help) {
    TWindowFinderForm form(request, help);
    if (!form.CreateDialogForm(names::WindowFinderFormClass, IDD_WINDOW_FINDER, owner)) {
        return false;
    }
    // The owner takes no input while the finder is open.
    const bool ownerEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerEnabled) {
        EnableWindow(owner, FALSE);
    }
    ShowWindow(form.Handle(), SW_SHOW);
    MSG message{};
    while (!form.done_ && form.Handle() != nullptr) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                PostQuitMessage(static_cast<int>(message.wParam)); // the program's own loop ends too
            }
            break;
        }
        if (!PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // Enabled before the finder goes, so that the owner becomes the active window again.
    if (ownerEnabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
    }
    if (form.Handle() != nullptr) {
        DestroyWindow(form.Handle());
    }
    return form.ok_;
}

bool TWindowFinderForm::OnInitDialog() {
    remote_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDCUR_REMOTE));
    for (const int id : {IDC_WF_TITLE, IDC_WF_CLASS}) {
        SendDlgItemMessageW(Handle(), id, EM_LIMITTEXT, MaxTextLength, 0);
    }
    // The bevel gets its pixel size, the picture its place in the bevel's middle.
    const int dpi = WindowDpi(Handle());
    HWND bevel = GetDlgItem(Handle(), IDC_WF_BEVEL);
    RECT place{};
    GetWindowRect(bevel, &place);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&place), 2);
    const int bevelSize = MulDiv(BevelSize, dpi, 96);
    const int imageSize = MulDiv(ImageSize, dpi, 96);
    SetWindowPos(bevel, nullptr, place.left, place.top, bevelSize, bevelSize, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(Handle(), IDC_WF_IMAGE), nullptr, place.left + (bevelSize - imageSize) / 2,
                 place.top + (bevelSize - imageSize) / 2, imageSize, imageSize, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowRemote(true);

    SetDlgItemTextW(Handle(), IDC_WF_TITLE, request_.Title.c_str());
    SetDlgItemTextW(Handle(), IDC_WF_CLASS, request_.ClassName.c_str());
    EditChanged();

    // Centred on the owner; the first show pulls it back into the work area.
    HWND owner = GetWindow(Handle(), GW_OWNER);
    RECT ownerRect{};
    RECT own{};
    if (owner != nullptr && GetWindowRect(owner, &ownerRect) && GetWindowRect(Handle(), &own)) {
        const int width = own.right - own.left;
        const int height = own.bottom - own.top;
        SetWindowPos(Handle(), nullptr, (ownerRect.left + ownerRect.right - width) / 2,
                     (ownerRect.top + ownerRect.bottom - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

std::wstring TWindowFinderForm::Text(int id) const {
    HWND edit = GetDlgItem(Handle(), id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TWindowFinderForm::EditChanged() {
    const bool any = GetWindowTextLengthW(GetDlgItem(Handle(), IDC_WF_TITLE)) > 0 ||
                     GetWindowTextLengthW(GetDlgItem(Handle(), IDC_WF_CLASS)) > 0;
    EnableWindow(GetDlgItem(Handle(), IDOK), any ? TRUE : FALSE);
}

void TWindowFinderForm::OnOk() {
    if (!IsWindowEnabled(GetDlgItem(Handle(), IDOK))) {
        return; // Enter while there is nothing to name
    }
    std::wstring title = Text(IDC_WF_TITLE);
    std::wstring className = Text(IDC_WF_CLASS);
    const FinderVerdict verdict =
        CheckFinderEntry(request_.Entries, request_.Selected, request_.Editing, title, className);
    if (!verdict.Accepted()) {
        const auto& a = verdict.Arguments;
        const UINT id = RefusalMessage(verdict.Refusal);
        if (a.size() >= 2) {
            ShowResourceMessage(Handle(), id, MB_OK | MB_ICONWARNING, {a[0], a[1]});
        } else {
            ShowResourceMessage(Handle(), id, MB_OK | MB_ICONWARNING, {a.empty() ? std::wstring() : a[0]});
        }
        return; // the dialog stays open
    }
    request_.Title = std::move(title);
    request_.ClassName = std::move(className);
    Finish(true);
}

void TWindowFinderForm::Finish(bool ok) {
    ImageMouseUp();
    ok_ = ok;
    done_ = true;
}

void TWindowFinderForm::FormHelp() {
    if (help_ != nullptr) {
        help_->ShowContext(Handle(), WindowFinderHelpContext);
    }
}

bool TWindowFinderForm::OverImage() const {
    POINT point{};
    RECT image{};
    return GetCursorPos(&point) && GetWindowRect(GetDlgItem(Handle(), IDC_WF_IMAGE), &image) && PtInRect(&image, point);
}

void TWindowFinderForm::ShowRemote(bool shown) {
    // Shared: the picture is freed with the program, not with the dialog.
    const HANDLE picture = shown ? LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDCUR_REMOTE), IMAGE_CURSOR,
                                              ImageSize, ImageSize, LR_SHARED)
                                 : nullptr;
    SendDlgItemMessageW(Handle(), IDC_WF_IMAGE, STM_SETIMAGE, IMAGE_CURSOR, reinterpret_cast<LPARAM>(picture));
}

// The remote control is picked up: the picture stays empty and the pointer carries it.
void TWindowFinderForm::ImageMouseDown() {
    ShowRemote(false);
    SetCursor(remote_);
    dragging_ = true;
    SetCapture(Handle());
}

void TWindowFinderForm::ImageMouseMove(WPARAM keys) {
    if (!dragging_ || GetActiveWindow() != Handle() || (keys & (MK_RBUTTON | MK_MBUTTON)) != 0) {
        return;
    }
    TakeTarget(WindowUnderPointer());
}

void TWindowFinderForm::TakeTarget(HWND target) {
    if (target == target_) {
        return;
    }
    target_ = target;
    InvertOnScreen(marked_);
    marked_.Reset();
    const std::wstring title = target != nullptr ? WindowText(target) : std::wstring();
    const std::wstring className = target != nullptr ? ClassText(target) : std::wstring();
    SetDlgItemTextW(Handle(), IDC_WF_TITLE, title.c_str());
    SetDlgItemTextW(Handle(), IDC_WF_CLASS, className.c_str());
    RECT rect{};
    if (target != nullptr && GetWindowRect(target, &rect)) {
        marked_ = FrameRegion(rect);
        InvertOnScreen(marked_);
    }
}

// Also when the dialog closes or the capture is lost: the mark never stays behind.
void TWindowFinderForm::ImageMouseUp() {
    if (!dragging_) {
        return;
    }
    dragging_ = false; // first: releasing the capture comes back here
    ShowRemote(true);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    InvertOnScreen(marked_);
    marked_.Reset();
    target_ = nullptr;
    if (GetCapture() == Handle()) {
        ReleaseCapture();
    }
}

void TWindowFinderForm::OnCommand(int id, int code) {
    if ((id == IDC_WF_TITLE || id == IDC_WF_CLASS) && code == EN_CHANGE) {
        EditChanged();
    }
}

LRESULT TWindowFinderForm::OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        // The picture lets the mouse through to the dialog, which answers for it.
        if (dragging_) {
            SetCursor(remote_);
            return TRUE;
        }
        if (LOWORD(lParam) == HTCLIENT && OverImage()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        if (!dragging_ && OverImage()) {
            ImageMouseDown();
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (dragging_) {
            ImageMouseMove(wParam);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (dragging_) {
            ImageMouseUp();
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (dragging_ && reinterpret_cast<HWND>(lParam) != Handle()) {
            ImageMouseUp();
        }
        break;
    case WM_DESTROY:
        ImageMouseUp();
        done_ = true;
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace lumora
