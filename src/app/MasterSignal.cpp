// The master's part in the hourly signal: it asks the signal on every pass and announces the
// hour the way the settings say, any message box only after the pass.

#include "app/MasterForm.h"

#include "shell/Application.h"
#include "shell/MessageBoxes.h"

namespace lumora {
void TMasterForm::SoundTheHour(const PassContext& pass) {
    if (const auto announcement = signal_->Tick(pass.Displayed, settings_, facts_)) {
        AnnounceTheHour(*announcement);
    }
}

void TMasterForm::AnnounceTheHour(const Announcement& announcement) {
    SetApplicationHint(announcement.Text);
    switch (announcement.Kind) {
    case AnnouncementKind::MessageBox:
        afterPass_->Add([this, text = announcement.Text, caption = announcement.BoxCaption] {
            const HWND owner = MessageBoxOwner(clock_->Window());
            MessageBoxW(owner != nullptr ? owner : GetDesktopWindow(), text.c_str(), caption.c_str(),
                        MB_ICONINFORMATION | UnaskedBoxFlags);
        });
        break;
    case AnnouncementKind::Balloon:
        // Where no balloon can show, the notification is a message box.
        afterPass_->Add([this, text = announcement.Notification] {
            constexpr int Information = 1;
            tray_->ShowNotification(text, Information, Information, clock_->Window());
        });
        break;
    case AnnouncementKind::Caption: {
        const auto& lines = announcement.Caption;
        ShowTelop(lines[0] + L"\r\n" + lines[1] + L"\r\n" + lines[2], announcement.CaptionSound);
        break;
    }
    case AnnouncementKind::None:
        break;
    }
}

} // namespace lumora
