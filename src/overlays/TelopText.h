#pragma once
// The caption's lines: the text a feature hands over, one line per CR LF, the first line the
// title, the last the closing line, everything between the message.

#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// Splits text into lines (a lone CR or LF also ends one) and drops the empty ones; a line of
// blanks is kept. No line at all means there is no caption to show.
std::vector<std::wstring> TelopLines(std::wstring_view text);

// Only the message lines are typed out, and only when there is a title and a closing line apart
// from them; the title and the closing line are always drawn whole.
bool IsTypedLine(size_t index, size_t lineCount, bool scroll);

// The characters of a line as they are typed, one at a time; a surrogate pair stays together.
std::vector<std::wstring> TelopCharacters(std::wstring_view line);

} // namespace lumora
