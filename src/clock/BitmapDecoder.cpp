#include "clock/BitmapDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>

namespace lumora {

namespace {

constexpr uint32_t BiRgb = 0;
constexpr uint32_t BiBitfields = 3;
constexpr uint32_t BiAlphaBitfields = 6;

constexpr size_t FileHeaderSize = 14;
constexpr size_t CoreHeaderSize = 12;
constexpr size_t InfoHeaderSize = 40;

uint16_t ReadU16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}
uint32_t ReadU32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t(bytes[at]) | (uint32_t(bytes[at + 1]) << 8) | (uint32_t(bytes[at + 2]) << 16) |
           (uint32_t(bytes[at + 3]) << 24);
}

constexpr Pixel Opaque(uint32_t r, uint32_t g, uint32_t b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// One channel of a 16- or 32-bit pixel, widened to 0..255 whatever the mask's width.
struct Channel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint64_t Max = 0;

    explicit Channel(uint32_t mask) : Mask(mask) {
        if (mask != 0) {
            Shift = std::countr_zero(mask);
            Max = mask >> Shift;
        }
    }
    uint32_t Of(uint32_t value) const {
        if (Max == 0) {
            return 0;
        }
        const uint64_t v = (value & Mask) >> Shift;
        return static_cast<uint32_t>((v * 255 + Max / 2) / Max);
    }
};

struct Layout {
    int64_t Width = 0;
    int64_t Height = 0; // always positive here
    bool TopDown = false;
    int BitCount = 0;
    uint32_t Compression = BiRgb;
    size_t HeaderSize = 0;
    size_t MasksSize = 0; // masks stored after a 40-byte header
    std::array<uint32_t, 3> Masks{};
    bool CoreTable = false;    // colour table of 3-byte entries
    uint64_t TableEntries = 0; // as declared
};

std::optional<Layout> ReadHeader(std::span<const uint8_t> dib, const BitmapLimits& limits) {
    if (dib.size() < 4) {
        return std::nullopt;
    }
    Layout layout;
    const uint32_t headerSize = ReadU32(dib, 0);
    if (headerSize > dib.size()) {
        return std::nullopt;
    }
    layout.HeaderSize = headerSize;
    uint32_t colorsUsed = 0;
    if (headerSize == CoreHeaderSize) {
        layout.Width = ReadU16(dib, 4);
        layout.Height = ReadU16(dib, 6);
        layout.BitCount = ReadU16(dib, 10);
        layout.CoreTable = true;
        if (layout.BitCount != 1 && layout.BitCount != 4 && layout.BitCount != 8 && layout.BitCount != 24) {
            return std::nullopt;
        }
    } else if (headerSize == InfoHeaderSize || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        layout.Width = static_cast<int32_t>(ReadU32(dib, 4));
        const int64_t height = static_cast<int32_t>(ReadU32(dib, 8));
        layout.TopDown = height < 0;
        layout.Height = height < 0 ? -height : height;
        layout.BitCount = ReadU16(dib, 14);
        layout.Compression = ReadU32(dib, 16);
        colorsUsed = ReadU32(dib, 32);
        if (layout.Compression == BiBitfields || layout.Compression == BiAlphaBitfields) {
            if (layout.BitCount != 16 && layout.BitCount != 32) {
                return std::nullopt;
            }
            // The V2 and later headers carry the masks; a plain info header is followed by them.
            size_t masksAt = InfoHeaderSize;
            if (headerSize == InfoHeaderSize) {
                layout.MasksSize = layout.Compression == BiAlphaBitfields ? 16 : 12;
                if (dib.size() < InfoHeaderSize + layout.MasksSize) {
                    return std::nullopt;
                }
            }
            for (size_t i = 0; i < 3; ++i) {
                layout.Masks[i] = ReadU32(dib, masksAt + 4 * i);
            }
        } else if (layout.Compression != BiRgb) {
            // RLE, JPEG and PNG are refused: a few RLE bytes may claim a canvas of any size, and no
            // tool our users make glyph strips with writes them.
            return std::nullopt;
        }
        if (layout.BitCount != 1 && layout.BitCount != 4 && layout.BitCount != 8 && layout.BitCount != 16 &&
            layout.BitCount != 24 && layout.BitCount != 32) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }

    if (layout.Width <= 0 || layout.Height <= 0 || layout.Width > limits.MaxWidth || layout.Height > limits.MaxHeight) {
        return std::nullopt;
    }
    if (layout.BitCount <= 8) {
        const uint32_t full = 1u << layout.BitCount;
        if (colorsUsed > 256) {
            return std::nullopt;
        }
        layout.TableEntries = colorsUsed == 0 ? full : colorsUsed;
    } else {
        // Deep images may carry an optional table for palette displays; it is only skipped.
        layout.TableEntries = colorsUsed;
    }
    if (layout.Compression == BiRgb) {
        if (layout.BitCount == 16) {
            layout.Masks = {0x7C00, 0x03E0, 0x001F};
        } else if (layout.BitCount == 32) {
            layout.Masks = {0xFF0000, 0x00FF00, 0x0000FF};
        }
    }
    return layout;
}

// bitsAt: where the pixels start in dib; empty for a packed DIB, where they follow the colour table.
std::optional<PixelBuffer> Decode(std::span<const uint8_t> dib, std::optional<uint64_t> bitsAt,
                                  const BitmapLimits& limits) {
    const auto header = ReadHeader(dib, limits);
    if (!header) {
        return std::nullopt;
    }
    const Layout& layout = *header;
    const uint64_t tableAt = uint64_t(layout.HeaderSize) + layout.MasksSize;
    const uint64_t entrySize = layout.CoreTable ? 3 : 4;
    // Counts are below 2^32 and sizes below 2^8, so none of this 64-bit arithmetic can wrap.
    const uint64_t tableEnd = tableAt + layout.TableEntries * entrySize;
    uint64_t pixelsAt = 0;
    uint64_t entries = layout.BitCount <= 8 ? layout.TableEntries : 0;
    if (bitsAt) {
        if (*bitsAt < tableAt || *bitsAt > dib.size()) {
            return std::nullopt;
        }
        pixelsAt = *bitsAt;
        // Some writers declare a full table but store fewer entries; the missing ones read as black.
        entries = std::min(entries, (pixelsAt - tableAt) / entrySize);
    } else {
        if (tableEnd > dib.size()) {
            return std::nullopt;
        }
        pixelsAt = tableEnd;
    }

    const uint64_t stride = ((uint64_t(layout.Width) * uint64_t(layout.BitCount) + 31) / 32) * 4;
    const uint64_t bitsSize = stride * uint64_t(layout.Height);
    if (bitsSize > dib.size() - pixelsAt) {
        return std::nullopt;
    }

    std::array<Pixel, 256> palette{};
    palette.fill(Opaque(0, 0, 0));
    for (uint64_t i = 0; i < entries && i < palette.size(); ++i) {
        const size_t at = static_cast<size_t>(tableAt + i * entrySize);
        palette[i] = Opaque(dib[at + 2], dib[at + 1], dib[at]);
    }
    const Channel red(layout.Masks[0]);
    const Channel green(layout.Masks[1]);
    const Channel blue(layout.Masks[2]);

    const int width = static_cast<int>(layout.Width);
    const int height = static_cast<int>(layout.Height);
    PixelBuffer image(width, height);
    for (int row = 0; row < height; ++row) {
        const auto src =
            dib.subspan(static_cast<size_t>(pixelsAt + uint64_t(row) * stride), static_cast<size_t>(stride));
        const int y = layout.TopDown ? row : height - 1 - row;
        Pixel* dest = &image.At(0, y);
        switch (layout.BitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = layout.BitCount;
            const int perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int x = 0; x < width; ++x) {
                const uint8_t byte = src[static_cast<size_t>(x / perByte)];
                const int shift = 8 - bits * (x % perByte + 1);
                dest[x] = palette[(byte >> shift) & mask];
            }
            break;
        }
        case 16:
            for (int x = 0; x < width; ++x) {
                const uint32_t v = ReadU16(src, static_cast<size_t>(x) * 2);
                dest[x] = Opaque(red.Of(v), green.Of(v), blue.Of(v));
            }
            break;
        case 24:
            for (int x = 0; x < width; ++x) {
                const size_t at = static_cast<size_t>(x) * 3;
                dest[x] = Opaque(src[at + 2], src[at + 1], src[at]);
            }
            break;
        case 32:
            for (int x = 0; x < width; ++x) {
                const uint32_t v = ReadU32(src, static_cast<size_t>(x) * 4);
                dest[x] = Opaque(red.Of(v), green.Of(v), blue.Of(v));
            }
            break;
        }
    }
    return image;
}

} // namespace

std::optional<PixelBuffer> DecodeBitmapFile(std::span<const uint8_t> bytes, const BitmapLimits& limits) {
    if (bytes.size() < FileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    const uint32_t offBits = ReadU32(bytes, 10);
    if (offBits < FileHeaderSize) {
        return std::nullopt;
    }
    return Decode(bytes.subspan(FileHeaderSize), uint64_t(offBits) - FileHeaderSize, limits);
}

int BitmapFileBitCount(std::span<const uint8_t> bytes) {
    if (bytes.size() < FileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return 0;
    }
    const auto layout = ReadHeader(bytes.subspan(FileHeaderSize), {});
    return layout ? layout->BitCount : 0;
}

std::optional<PixelBuffer> DecodeDib(std::span<const uint8_t> bytes, const BitmapLimits& limits) {
    return Decode(bytes, std::nullopt, limits);
}

} // namespace lumora
