#include "app/Announcer.h"

#include "shell/Application.h"
#include "shell/MessageBoxes.h"

#include <utility>

namespace lumora {

Announcer::Announcer(HWND master, UINT message, Outlets outlets)
    : afterPass_(master, message), outlets_(std::move(outlets)) {}

bool Announcer::HandleMessage(UINT message) {
    if (message != afterPass_.Message()) {
        return false;
    }
    afterPass_.Run();
    return true;
}

void Announcer::Later(std::function<void()> work) {
    afterPass_.Add(std::move(work));
}

HWND Announcer::BoxOwner() const {
    const HWND owner = MessageBoxOwner(outlets_.ClockWindow());
    return owner != nullptr ? owner : GetDesktopWindow();
}

void Announcer::MessageBoxLater(std::wstring text, std::wstring caption) {
    Later([this, text = std::move(text), caption = std::move(caption)] {
        MessageBoxW(BoxOwner(), text.c_str(), caption.c_str(), MB_ICONINFORMATION | UnaskedBoxFlags);
    });
}

void Announcer::Notify(const std::wstring& text, int balloonKind, int beepKind) const {
    outlets_.Notify(text, balloonKind, beepKind);
}

void Announcer::NotifyLater(std::wstring text, int balloonKind, int beepKind) {
    Later([this, text = std::move(text), balloonKind, beepKind] { Notify(text, balloonKind, beepKind); });
}

void Announcer::Caption(const std::array<std::wstring, 3>& lines, bool allowSound) const {
    outlets_.ShowCaption(lines[0] + L"\r\n" + lines[1] + L"\r\n" + lines[2], allowSound);
}

void Announcer::Announce(const Announcement& hour) {
    SetApplicationHint(hour.Text);
    switch (hour.Kind) {
    case AnnouncementKind::MessageBox:
        MessageBoxLater(hour.Text, hour.BoxCaption);
        break;
    case AnnouncementKind::Balloon:
        NotifyLater(hour.Notification);
        break;
    case AnnouncementKind::Caption:
        Caption(hour.Caption, hour.CaptionSound);
        break;
    case AnnouncementKind::None:
        break;
    }
}

} // namespace lumora
