#include "clock/BitmapDecoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace lumora;

namespace {

// Writes bitmaps the way the various tools out there do, so each test states only what it varies.
struct TestBitmap {
    int32_t Width = 3;
    int32_t Height = 2; // negative: top-down
    uint16_t BitCount = 24;
    uint32_t Compression = 0;
    uint32_t HeaderSize = 40;
    uint32_t ColorsUsed = 0;
    std::vector<uint32_t> Palette;          // 0xRRGGBB
    std::vector<uint32_t> Masks;            // after a 40-byte header, or inside a larger one
    std::vector<std::vector<uint8_t>> Rows; // as stored, unpadded

    static void Put16(std::vector<uint8_t>& out, uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    }
    static void Put32(std::vector<uint8_t>& out, uint32_t v) {
        Put16(out, v & 0xFFFF);
        Put16(out, v >> 16);
    }

    std::vector<uint8_t> HeaderAndTable() const {
        std::vector<uint8_t> out;
        Put32(out, HeaderSize);
        if (HeaderSize == 12) {
            Put16(out, uint16_t(Width));
            Put16(out, uint16_t(Height));
            Put16(out, 1);
            Put16(out, BitCount);
        } else {
            Put32(out, uint32_t(Width));
            Put32(out, uint32_t(Height));
            Put16(out, 1);
            Put16(out, BitCount);
            Put32(out, Compression);
            Put32(out, 0);
            Put32(out, 2835);
            Put32(out, 2835);
            Put32(out, ColorsUsed);
            Put32(out, 0);
            for (uint32_t m : Masks) {
                Put32(out, m);
            }
            out.resize(std::max<size_t>(out.size(), HeaderSize), 0);
        }
        for (uint32_t c : Palette) {
            out.push_back(uint8_t(c));
            out.push_back(uint8_t(c >> 8));
            out.push_back(uint8_t(c >> 16));
            if (HeaderSize != 12) {
                out.push_back(0);
            }
        }
        return out;
    }

    std::vector<uint8_t> Dib() const {
        std::vector<uint8_t> out = HeaderAndTable();
        for (const auto& row : Rows) {
            out.insert(out.end(), row.begin(), row.end());
            out.resize((out.size() + 3) / 4 * 4, 0);
        }
        return out;
    }

    std::vector<uint8_t> File() const {
        const std::vector<uint8_t> dib = Dib();
        std::vector<uint8_t> out{'B', 'M'};
        Put32(out, uint32_t(14 + dib.size()));
        Put32(out, 0);
        Put32(out, uint32_t(14 + HeaderAndTable().size()));
        out.insert(out.end(), dib.begin(), dib.end());
        return out;
    }
};

constexpr Pixel Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF, Black = 0xFF000000;

PixelBuffer Expected(std::vector<std::vector<Pixel>> rows) {
    PixelBuffer image(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            image.At(x, y) = rows[size_t(y)][size_t(x)];
        }
    }
    return image;
}

struct DepthCase {
    std::string Name;
    TestBitmap Bitmap;
    PixelBuffer Image;
};

// Each is 3 x 2, bottom-up: the first stored row is the bottom one. Odd widths make rows need padding.
std::vector<DepthCase> DepthCases() {
    const std::vector<uint32_t> rgbw{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    const PixelBuffer rgbImage = Expected({{White, Blue, Red}, {Red, Green, Blue}});
    std::vector<DepthCase> cases;
    {
        TestBitmap b;
        b.BitCount = 1;
        b.Palette = {0x000000, 0xFFFFFF};
        b.Rows = {{0b10100000}, {0b01000000}};
        cases.push_back({"1 bpp", b, Expected({{Black, White, Black}, {White, Black, White}})});
    }
    {
        TestBitmap b;
        b.BitCount = 4;
        b.ColorsUsed = 4;
        b.Palette = rgbw;
        b.Rows = {{0x01, 0x20}, {0x32, 0x00}};
        cases.push_back({"4 bpp, short table", b, rgbImage});
    }
    {
        TestBitmap b;
        b.BitCount = 8;
        b.Palette = rgbw;
        b.Palette.resize(256, 0x123456);
        b.Rows = {{0, 1, 2}, {3, 2, 0}};
        cases.push_back({"8 bpp, full table", b, rgbImage});
    }
    {
        TestBitmap b;
        b.BitCount = 16;
        b.Rows = {{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00}, {0xFF, 0x7F, 0x1F, 0x00, 0x00, 0x7C}};
        cases.push_back({"16 bpp 555", b, rgbImage});
    }
    {
        TestBitmap b;
        b.BitCount = 16;
        b.Compression = 3;
        b.Masks = {0xF800, 0x07E0, 0x001F};
        b.Rows = {{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00}, {0xFF, 0xFF, 0x1F, 0x00, 0x00, 0xF8}};
        cases.push_back({"16 bpp 565 bitfields", b, rgbImage});
    }
    {
        TestBitmap b;
        b.Rows = {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {255, 255, 255, 255, 0, 0, 0, 0, 255}};
        cases.push_back({"24 bpp", b, rgbImage});
    }
    {
        TestBitmap b;
        b.HeaderSize = 12;
        b.Rows = {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {255, 255, 255, 255, 0, 0, 0, 0, 255}};
        cases.push_back({"24 bpp core header", b, rgbImage});
    }
    {
        TestBitmap b;
        b.HeaderSize = 12;
        b.BitCount = 8;
        b.Palette = rgbw;
        b.Palette.resize(256, 0);
        b.Rows = {{0, 1, 2}, {3, 2, 0}};
        cases.push_back({"8 bpp core header", b, rgbImage});
    }
    {
        TestBitmap b;
        b.BitCount = 32;
        // The fourth byte is not alpha in a plain 32-bit bitmap: the result is opaque whatever it holds.
        b.Rows = {{0, 0, 255, 0, 0, 255, 0, 7, 255, 0, 0, 0x80}, {255, 255, 255, 0xFF, 255, 0, 0, 1, 0, 0, 255, 0}};
        cases.push_back({"32 bpp", b, rgbImage});
    }
    for (uint32_t header : {40u, 108u, 124u}) {
        TestBitmap b;
        b.HeaderSize = header;
        b.BitCount = 32;
        b.Compression = 3;
        b.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000}; // RGBX byte order
        b.Rows = {{255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0}, {255, 255, 255, 0, 0, 0, 255, 0, 255, 0, 0, 0}};
        cases.push_back({"32 bpp bitfields, header " + std::to_string(header), b, rgbImage});
    }
    return cases;
}

TEST(BitmapDecoderTest, DecodesEveryDepthFromFilesAndPackedDibs) {
    for (const auto& c : DepthCases()) {
        SCOPED_TRACE(c.Name);
        const auto fromFile = DecodeBitmapFile(c.Bitmap.File());
        ASSERT_TRUE(fromFile);
        EXPECT_EQ(*fromFile, c.Image);
        const auto fromDib = DecodeDib(c.Bitmap.Dib());
        ASSERT_TRUE(fromDib);
        EXPECT_EQ(*fromDib, c.Image);
    }
}

TEST(BitmapDecoderTest, NegativeHeightMeansTopRowFirst) {
    for (auto c : DepthCases()) {
        if (c.Bitmap.HeaderSize == 12) {
            continue; // the old header has no sign
        }
        SCOPED_TRACE(c.Name);
        c.Bitmap.Height = -c.Bitmap.Height;
        const auto image = DecodeBitmapFile(c.Bitmap.File());
        ASSERT_TRUE(image);
        EXPECT_EQ(image->At(0, 0), c.Image.At(0, 1));
        EXPECT_EQ(image->At(2, 1), c.Image.At(2, 0));
    }
}

TEST(BitmapDecoderTest, GlyphFileSizeLimit) {
    const BitmapLimits glyphLimits{1056, 192};
    struct Case {
        int Width, Height;
        bool Accepted;
    };
    for (const auto& c : {Case{1056, 192, true}, Case{1057, 192, false}, Case{1056, 193, false}, Case{1056, -192, true},
                          Case{1056, -193, false}}) {
        SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
        TestBitmap b;
        b.Width = c.Width;
        b.Height = c.Height;
        b.BitCount = 1;
        b.Palette = {0x000000, 0xFFFFFF};
        b.Rows.assign(size_t(std::abs(c.Height)), std::vector<uint8_t>(size_t(c.Width + 7) / 8, 0xFF));
        const auto image = DecodeBitmapFile(b.File(), glyphLimits);
        EXPECT_EQ(image.has_value(), c.Accepted);
        if (image) {
            EXPECT_EQ(image->Width, c.Width);
            EXPECT_EQ(image->Height, std::abs(c.Height));
            EXPECT_EQ(image->At(c.Width - 1, std::abs(c.Height) - 1), White);
        }
        EXPECT_TRUE(DecodeBitmapFile(b.File()).has_value()); // the default limits are roomier
    }
}

TEST(BitmapDecoderTest, EveryTruncationIsRefused) {
    for (const auto& c : DepthCases()) {
        SCOPED_TRACE(c.Name);
        const std::vector<uint8_t> file = c.Bitmap.File();
        const std::vector<uint8_t> dib = c.Bitmap.Dib();
        for (size_t n = 0; n < file.size(); ++n) {
            EXPECT_FALSE(DecodeBitmapFile(std::span(file.data(), n))) << n << " bytes";
        }
        for (size_t n = 0; n < dib.size(); ++n) {
            EXPECT_FALSE(DecodeDib(std::span(dib.data(), n))) << n << " bytes";
        }
    }
}

TEST(BitmapDecoderTest, MalformedFilesAreRefused) {
    TestBitmap base;
    base.BitCount = 8;
    base.Palette.assign(256, 0xFFFFFF);
    base.Rows = {{1, 2, 3}, {4, 5, 6}};
    const auto setU32 = [](std::vector<uint8_t>& f, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            f[at + size_t(i)] = uint8_t(v >> (8 * i));
        }
    };
    struct Case {
        std::string Name;
        std::function<void(TestBitmap&)> Change;
        std::function<void(std::vector<uint8_t>&)> Damage;
        bool FileHeaderOnly = false; // the DIB inside is still sound
    };
    const std::vector<Case> cases{
        {"wrong magic", {}, [](auto& f) { f[1] = 'A'; }, true},
        {"pixels offset past the end", {}, [&](auto& f) { setU32(f, 10, uint32_t(f.size() + 1)); }, true},
        {"pixels offset inside the header", {}, [&](auto& f) { setU32(f, 10, 30); }, true},
        {"pixels offset far out", {}, [&](auto& f) { setU32(f, 10, 0xFFFFFFFF); }, true},
        {"unknown header size", {}, [&](auto& f) { setU32(f, 14, 64); }},
        {"header size past the end", {}, [&](auto& f) { setU32(f, 14, 0x7FFFFFFF); }},
        {"zero width", [](auto& b) { b.Width = 0; }, {}},
        {"negative width", [](auto& b) { b.Width = -3; }, {}},
        {"zero height", [](auto& b) { b.Height = 0; }, {}},
        {"most negative height", [](auto& b) { b.Height = INT32_MIN; }, {}},
        {"too many colours", [](auto& b) { b.ColorsUsed = 257; }, {}},
        {"colour count far out", [](auto& b) { b.ColorsUsed = 0xFFFFFFFF; }, {}},
        {"2 bpp", [](auto& b) { b.BitCount = 2; }, {}},
        {"0 bpp", [](auto& b) { b.BitCount = 0; }, {}},
        {"RLE8", [](auto& b) { b.Compression = 1; }, {}},
        {"JPEG", [](auto& b) { b.Compression = 4; }, {}},
        {"bitfields on 8 bpp", [](auto& b) { b.Compression = 3; }, {}},
        {"rows claimed beyond the data", [](auto& b) { b.Height = 3; }, {}},
        {"width whose row size overflows 32 bits", [](auto& b) { b.Width = INT32_MAX; }, {}},
    };
    const BitmapLimits unlimited{INT_MAX, INT_MAX};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TestBitmap b = base;
        if (c.Change) {
            c.Change(b);
        }
        std::vector<uint8_t> file = b.File();
        if (c.Damage) {
            c.Damage(file);
        }
        EXPECT_FALSE(DecodeBitmapFile(file, unlimited));
        if (!c.FileHeaderOnly) {
            EXPECT_FALSE(DecodeDib(std::span(file).subspan(14), unlimited));
        }
    }
}

TEST(BitmapDecoderTest, ColourTableCutShortByThePixelOffsetReadsBlack) {
    // Some writers declare a full table but store only the colours they use.
    TestBitmap b;
    b.BitCount = 8;
    b.Palette = {0xFF0000, 0x00FF00};
    b.Rows = {{0, 1, 200}};
    b.Height = 1;
    const auto image = DecodeBitmapFile(b.File());
    ASSERT_TRUE(image);
    EXPECT_EQ(*image, Expected({{Red, Green, Black}}));
    // Packed, the table's size decides where the pixels start, so a short one is truncation.
    EXPECT_FALSE(DecodeDib(b.Dib()));
}

TEST(BitmapDecoderTest, PixelsMayStartAfterAGap) {
    TestBitmap b;
    b.Height = 1;
    b.Rows = {{0, 0, 255, 0, 255, 0, 255, 0, 0}};
    std::vector<uint8_t> file = b.File();
    file.insert(file.begin() + 54, 10, 0xEE);
    file[10] = 54 + 10;
    const auto image = DecodeBitmapFile(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(*image, Expected({{Red, Green, Blue}}));
}

} // namespace
