#pragma once
// The settings file in memory: sections of key lines, looked up without regard to case.
// Text arrives already decoded (the shell converts from the ANSI code page); this class never
// touches a file. Unknown sections, keys and comment lines survive a rewrite.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

class IniDocument {
public:
    IniDocument() = default;

    // Reads INI text. Never fails: lines that are neither a section header, a key line nor a
    // ';' comment are dropped, as are lines holding a NUL character or longer than MaxLineLength.
    static IniDocument Parse(std::wstring_view text);

    // The whole document, lines ended by CR LF.
    std::wstring Serialize() const;

    // Value of the first line with that key in that section, or nothing.
    std::optional<std::wstring> Find(std::wstring_view section, std::wstring_view key) const;
    std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view fallback) const;

    // Replaces the value of an existing key, else appends the key to its section; a missing
    // section is appended at the end of the document.
    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);

    bool HasSection(std::wstring_view section) const;
    // The values of all key lines of a section in file order (key names ignored).
    std::vector<std::wstring> SectionValues(std::wstring_view section) const;
    void EraseSection(std::wstring_view section);

    static constexpr size_t MaxLineLength = 65536;

    // Same sections, lines and comments in the same order, names compared exactly.
    bool operator==(const IniDocument&) const = default;

private:
    struct Line {
        std::wstring Key;   // empty for a comment line
        std::wstring Value; // comment text (with its ';') for a comment line
        bool IsComment = false;
        bool operator==(const Line&) const = default;
    };
    struct Section {
        std::wstring Name;
        std::vector<Line> Lines;
        bool operator==(const Section&) const = default;
    };

    Section* FindSection(std::wstring_view name);
    const Section* FindSection(std::wstring_view name) const;

    std::vector<Line> preamble_; // comments before the first section header
    std::vector<Section> sections_;
};

// ASCII case-insensitive comparison, as section and key names are compared.
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

} // namespace lumora
