// Glyph, background and logo bitmaps come from the user's disk: decoding must never crash, read
// outside the input or hand back an image that breaks its own size promises.

#include "FuzzCheck.h"
#include "clock/BitmapDecoder.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace lumora;

namespace {

void CheckImage(const std::optional<PixelBuffer>& image, const BitmapLimits& limits) {
    if (!image) {
        return;
    }
    Check(image->Width > 0 && image->Height > 0);
    Check(image->Width <= limits.MaxWidth && image->Height <= limits.MaxHeight);
    Check(image->Pixels.size() == static_cast<size_t>(image->Width) * static_cast<size_t>(image->Height));
    for (Pixel p : image->Pixels) {
        Check(AlphaOf(p) == 255);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (const BitmapLimits& limits : {BitmapLimits{1056, 192}, BitmapLimits{}}) {
        CheckImage(DecodeBitmapFile(bytes, limits), limits);
        CheckImage(DecodeDib(bytes, limits), limits);
        // The same bytes as the DIB inside a file, so header mutations reach the packed reader too.
        if (size > 14) {
            CheckImage(DecodeDib(bytes.subspan(14), limits), limits);
        }
    }
    return 0;
}
