#pragma once
// Where the caption sits and where each typed character goes: the window is three rows of text
// at the top centre of the primary display, and a message too long for three rows continues on
// a fresh page.

#include "clock/FaceComposer.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

constexpr int TelopRows = 3;
constexpr int TelopTop = 16;

struct TelopBox {
    int FontHeight = 0;      // cell height of the caption font
    int OutlineWidth = 0;    // the whole rim band; the rim on each side is half of it
    int Width = 0;           // window and text width
    int TextHeightLimit = 0; // a line drawn whole is cut off below this

    // Room for a typed row: the rim of its last character stays inside the window.
    int RowWidth() const { return Width - OutlineWidth; }
};

TelopBox TelopBoxFor(int displayWidth, int displayHeight);

// rowHeight: the measured height of one row of text in the caption font.
Rect TelopWindowRect(const TelopBox& box, int displayWidth, int rowHeight);

// A typed character's place on its page: x in pixels from the left, and its row; rows are
// a third of the window's height apart.
struct TelopPlace {
    int X = 0;
    int Row = 0;

    bool operator==(const TelopPlace&) const = default;
};

struct TelopPaging {
    std::vector<size_t> PageStarts; // first character of each page
    std::vector<TelopPlace> Places; // one per character, on its own page
};

// Lays characters of the given widths into rows of rowWidth, rowCount rows a page. A character
// that does not fit the rest of its row starts the next one, and one that would leave the last
// row starts a new page. A character wider than a row gets a row of its own.
TelopPaging PageCharacters(std::span<const int> widths, int rowWidth, int rowCount);

struct TelopLine {
    std::wstring Text;                    // what is drawn when the line is shown whole
    std::vector<std::wstring> Characters; // typed lines only: typed one by one at Places
    std::vector<TelopPlace> Places;

    bool operator==(const TelopLine&) const = default;
};

// The caption's lines as shown: with scrolling, each message line is cut into pages of typed
// characters, and every page becomes a line of its own. measure gives a character's width.
std::vector<TelopLine> LayOutTelop(const std::vector<std::wstring>& lines, bool scroll, int rowWidth, int rowCount,
                                   const std::function<int(std::wstring_view)>& measure);

// What the sequencer counts per line: typed characters, or the characters of a whole line.
std::vector<size_t> CharacterCounts(const std::vector<TelopLine>& lines);

} // namespace lumora
