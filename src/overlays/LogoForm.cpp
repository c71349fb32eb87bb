#include "overlays/LogoForm.h"

#include "shell/AppNames.h"
#include "clock/BitmapDecoder.h"
#include "overlays/OverlayPlaces.h"
#include "shell/FileIo.h"

#include <optional>

namespace lumora {
namespace {

constexpr uint8_t LogoOpacity = 64;
// Far beyond any watermark; a larger file is refused rather than read.
constexpr size_t MaxLogoFileSize = 64 * 1024 * 1024;

std::optional<LogoPicture> LoadLogo(const std::wstring& file) {
    std::string bytes;
    if (file.empty() || ReadWholeFile(file, MaxLogoFileSize, bytes) != FileReadResult::Read) {
        return std::nullopt;
    }
    const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const std::optional<PixelBuffer> decoded = DecodeBitmapFile(data);
    if (!decoded || decoded->Empty()) {
        return std::nullopt;
    }
    return MakeLogoPicture(*decoded, BitmapFileBitCount(data) == 1);
}

} // namespace

std::unique_ptr<TLogoForm> TLogoForm::Create(const ScreenRect& monitor, const std::wstring& file, int alignment,
                                             int colourDepth, OverlayContext context) {
    std::unique_ptr<TLogoForm> form(new TLogoForm(std::move(context)));
    if (!form->CreateOverlay(names::LogoFormClass, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, {}, true) ||
        !form->Draw(monitor, file, alignment, colourDepth)) {
        return nullptr;
    }
    return form;
}

bool TLogoForm::Draw(const ScreenRect& monitor, const std::wstring& file, int alignment, int colourDepth) {
    const std::optional<LogoPicture> logo = LoadLogo(file);
    if (!logo) {
        return false;
    }
    const PixelBuffer& image = logo->Image;
    const ScreenPoint place = LogoPlace(monitor, image.Width, image.Height, alignment);
    SetWindowPos(Handle(), nullptr, place.X, place.Y, image.Width, image.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetSizeLimits({0, 0, image.Width, image.Height});
    PushKeyed(image, colourDepth > 15 ? LogoOpacity : 255, logo->Key);
    return true;
}

} // namespace lumora
