#include "options/SoundOpenDialog.h"

#include "options/FilePicks.h"
#include "options/SoundOpenDialogRes.h"
#include "shell/FileIo.h"
#include "sound/SoundPlayer.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace lumora {
namespace {

constexpr wchar_t ChooseCaption[] = L"選択(&L)";
constexpr wchar_t PreviewCaption[] = L"試聴(&S)";
constexpr wchar_t AutoPlayCaption[] = L"自動的に試聴する(&A)";

// Each description is followed by the patterns it names in its last parentheses ("*.*" when
// it names none).
std::wstring Filter(std::initializer_list<std::wstring_view> descriptions) {
    std::wstring filter;
    for (const std::wstring_view description : descriptions) {
        const size_t open = description.rfind(L'(');
        const size_t close = description.rfind(L')');
        const std::wstring_view patterns = open != std::wstring_view::npos && close > open
                                               ? description.substr(open + 1, close - open - 1)
                                               : std::wstring_view(L"*.*");
        filter.append(description).push_back(L'\0');
        filter.append(patterns).push_back(L'\0');
    }
    return filter;
}

const std::wstring& SoundFilter() {
    static const std::wstring filter = Filter({
        L"サウンド (*.wav;*.mp1;*.mp2;*.mp3;*.m1a;*.m2a;*.m4a;*.wma;*.mid;*.midi;*.rmi;*.au;*.snd;*.aif;*.aifc;*.aiff;"
        L"*.cda;*.avi;*.mpg;*.mpe;*.mpeg;*.m1v;*.mp2;*.mp4;*.3gp;*.asf;*.wm;*.wmv;)",
        L"Microsoft WAVE サウンド (*.wav)",
        L"MPEG オーディオ (*.mp1;*.mp2;*.mp3;*.m1a;*.m2a;*.m4a)",
        L"Windows Media オーディオ (*.wma)",
        L"MIDI (*.mid;*.midi;*.rmi)",
        L"SUN Java AU/SND (*.au;*.snd)",
        L"Macintosh AIFF (*.aif;*.aifc;*.aiff)",
        L"CD オーディオ トラック (*.cda)",
        L"Microsoft AVI (*.avi)",
        L"MPEG ビデオ (*.mpg;*.mpe;*.mpeg;*.m1v;*.mp2;*.mp4;*.3gp)",
        L"Windows Media ビデオ (*.asf;*.wm;*.wmv)",
        L"すべてのファイル",
    });
    return filter;
}

const std::wstring& ImageFilter() {
    static const std::wstring filter = Filter({L"ビットマップ (*.bmp)", L"すべてのファイル"});
    return filter;
}

// What the open dialog is given: the buffer holds the preset name, the folder is kept alive.
struct OpenDialogSetup {
    OPENFILENAMEW Open{};
    std::wstring Buffer;
    std::wstring Folder;
};

// The field's folder and name are offered when the folder exists.
void Prepare(OpenDialogSetup& setup, const FileOpenRequest& request, const wchar_t* title, const std::wstring& filter) {
    constexpr size_t severalFilesLength = 32768; // many names of one folder
    setup.Buffer.assign(request.Several ? severalFilesLength : MAX_PATH * 4, L'\0');
    std::error_code error;
    const std::filesystem::path preset(request.Preset);
    const std::filesystem::path folder = preset.parent_path();
    if (!request.Preset.empty() && !folder.empty() && std::filesystem::is_directory(folder, error)) {
        setup.Folder = folder.wstring();
        const std::wstring name = preset.filename().wstring();
        name.copy(setup.Buffer.data(), std::min(name.size(), setup.Buffer.size() - 1));
    }
    OPENFILENAMEW& open = setup.Open;
    open.lStructSize = sizeof(open);
    open.hwndOwner = request.Owner;
    open.hInstance = GetModuleHandleW(nullptr);
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = setup.Buffer.data();
    open.nMaxFile = static_cast<DWORD>(setup.Buffer.size());
    open.lpstrInitialDir = setup.Folder.empty() ? nullptr : setup.Folder.c_str();
    open.lpstrTitle = title;
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_EXPLORER |
                 OFN_ENABLESIZING | OFN_ENABLEHOOK | (request.Several ? OFN_ALLOWMULTISELECT : 0);
}

std::vector<std::wstring> Run(OpenDialogSetup& setup) {
    if (!GetOpenFileNameW(&setup.Open)) {
        return {};
    }
    return ChosenFiles(setup.Buffer);
}

// The open dialog itself is the hook's parent; the hook is its (empty) child dialog.
HWND OpenDialogOf(HWND hook) {
    return GetParent(hook);
}

UINT_PTR CALLBACK ImageHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE) {
        SendMessageW(OpenDialogOf(hook), CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>(ChooseCaption));
    }
    return 0;
}

// The sound dialog while it is open; it hears the end of its own previews.
class SoundOpenDialog final : private SoundListener {
public:
    SoundOpenDialog(SoundPlayer* sound, bool& autoPlay) : sound_(sound), autoPlay_(autoPlay) {}

    std::vector<std::wstring> Choose(const FileOpenRequest& request) {
        OpenDialogSetup setup;
        Prepare(setup, request, L"サウンドの選択", SoundFilter());
        setup.Open.Flags |= OFN_ENABLETEMPLATE;
        setup.Open.lpTemplateName = MAKEINTRESOURCEW(IDD_SOUND_OPEN_ROW);
        setup.Open.lpfnHook = Hook;
        setup.Open.lCustData = reinterpret_cast<LPARAM>(this);
        owner_ = request.Owner;
        return Run(setup);
    }

private:
    static constexpr UINT_PTR SubclassId = 1;

    static UINT_PTR CALLBACK Hook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            const auto& open = *reinterpret_cast<const OPENFILENAMEW*>(lParam);
            SetWindowLongPtrW(hook, DWLP_USER, open.lCustData);
            return TRUE;
        }
        auto* self = reinterpret_cast<SoundOpenDialog*>(GetWindowLongPtrW(hook, DWLP_USER));
        if (self == nullptr || message != WM_NOTIFY) {
            return 0;
        }
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case CDN_INITDONE:
            self->Shown(hook);
            break;
        case CDN_SELCHANGE:
            self->SelectionChanged();
            break;
        default:
            break;
        }
        return 0;
    }

    static LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
        auto& self = *reinterpret_cast<SoundOpenDialog*>(data);
        switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_SOUND_OPEN_PREVIEW && HIWORD(wParam) == BN_CLICKED) {
                self.PreviewClicked();
                return 0;
            }
            break;
        case WM_SIZE: {
            const LRESULT result = DefSubclassProc(dialog, message, wParam, lParam);
            self.Layout();
            return result;
        }
        case WM_DESTROY:
            self.Closing();
            RemoveWindowSubclass(dialog, DialogProc, SubclassId);
            break;
        default:
            break;
        }
        return DefSubclassProc(dialog, message, wParam, lParam);
    }

    void Shown(HWND hook) {
        dialog_ = OpenDialogOf(hook);
        SendMessageW(dialog_, CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>(ChooseCaption));
        const auto font = SendMessageW(dialog_, WM_GETFONT, 0, 0);
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        preview_ =
            CreateWindowExW(0, WC_BUTTONW, PreviewCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0,
                            0, dialog_, reinterpret_cast<HMENU>(IDC_SOUND_OPEN_PREVIEW), instance, nullptr);
        autoPlayBox_ =
            CreateWindowExW(0, WC_BUTTONW, AutoPlayCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0,
                            0, 0, dialog_, reinterpret_cast<HMENU>(IDC_SOUND_OPEN_AUTOPLAY), instance, nullptr);
        for (HWND control : {preview_, autoPlayBox_}) {
            SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
        }
        SendMessageW(autoPlayBox_, BM_SETCHECK, autoPlay_ ? BST_CHECKED : BST_UNCHECKED, 0);
        EnableWindow(preview_, SelectedFileExists());
        SetWindowSubclass(dialog_, DialogProc, SubclassId, reinterpret_cast<DWORD_PTR>(this));
        Layout();
        state_.Opened();
        // The options dialog's own preview stops.
        if (sound_ != nullptr && sound_->CaptionButton() != nullptr && IsChild(owner_, sound_->CaptionButton())) {
            sound_->Stop();
        }
    }

    // The added row lies below the help button, one button's gap under it (the open dialog keeps
    // its controls at the bottom as it is resized): the box lines up with the file-type box, the
    // button with the help button.
    void Layout() const {
        if (preview_ == nullptr) {
            return;
        }
        const RECT type = PlaceOf(GetDlgItem(dialog_, cmb1));
        const RECT cancel = PlaceOf(GetDlgItem(dialog_, IDCANCEL));
        HWND help = GetDlgItem(dialog_, pshHelp);
        // Its own style: the dialog is not shown yet at the first layout.
        const bool helpShown = help != nullptr && (GetWindowLongPtrW(help, GWL_STYLE) & WS_VISIBLE) != 0;
        HWND aboveButton = helpShown ? help : GetDlgItem(dialog_, IDCANCEL);
        const RECT above = PlaceOf(aboveButton);
        const int gap = above.top > cancel.bottom ? static_cast<int>(above.top - cancel.bottom) : 4;
        const int top = static_cast<int>(above.bottom) + gap;
        const int height = static_cast<int>(above.bottom - above.top);
        // After the buttons in the tab order, and above the hook's dialog, which Wine spreads
        // over the whole dialog.
        const int boxWidth = std::max(static_cast<int>(above.left - type.left) - gap * 2, 0);
        SetWindowPos(autoPlayBox_, aboveButton, type.left, top, boxWidth, height, SWP_NOACTIVATE);
        SetWindowPos(preview_, autoPlayBox_, above.left, top, above.right - above.left, height, SWP_NOACTIVATE);
    }

    RECT PlaceOf(HWND control) const {
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    std::wstring SelectedFile() const {
        wchar_t path[MAX_PATH * 2] = {};
        const auto length = SendMessageW(dialog_, CDM_GETFILEPATH, static_cast<WPARAM>(std::size(path)),
                                         reinterpret_cast<LPARAM>(path));
        return length > 0 ? path : L"";
    }

    bool SelectedFileExists() const {
        const std::wstring file = SelectedFile();
        return !file.empty() && FileExists(file);
    }

    bool AutoPlayChecked() const { return SendMessageW(autoPlayBox_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    void SelectionChanged() {
        if (preview_ == nullptr) {
            return;
        }
        const bool exists = SelectedFileExists();
        const auto selection = state_.SelectionChanged(exists, AutoPlayChecked());
        if (selection.SetEnabled) {
            EnableWindow(preview_, selection.Enabled);
        }
        if (selection.Play && sound_ != nullptr) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            sound_->Play(*this, dialog_, preview_, SelectedFile(), false, true);
            state_.AutoPlayStarted();
        }
    }

    void PreviewClicked() {
        if (sound_ != nullptr) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            sound_->Play(*this, dialog_, preview_, SelectedFile(), true, true);
        }
    }

    void SoundEnded(bool) override {
        SetWindowTextW(preview_, PreviewCaption);
        EnableWindow(preview_, state_.PlaybackEnded(SelectedFileExists()));
    }

    // The box is kept for the next time; a preview does not outlive the dialog.
    void Closing() {
        autoPlay_ = AutoPlayChecked();
        if (sound_ != nullptr) {
            sound_->StopFor(*this);
        }
        preview_ = nullptr;
    }

    SoundPlayer* sound_;
    bool& autoPlay_;
    HWND owner_ = nullptr;
    HWND dialog_ = nullptr;
    HWND preview_ = nullptr;
    HWND autoPlayBox_ = nullptr;
    SoundDialogPreview state_;
};

} // namespace

std::vector<std::wstring> ChooseImageFile(const FileOpenRequest& request) {
    OpenDialogSetup setup;
    Prepare(setup, request, L"画像の選択", ImageFilter());
    setup.Open.lpfnHook = ImageHook;
    return Run(setup);
}

std::vector<std::wstring> ChooseSoundFiles(const FileOpenRequest& request, SoundPlayer* sound, bool& autoPlay) {
    SoundOpenDialog dialog(sound, autoPlay);
    return dialog.Choose(request);
}

} // namespace lumora
