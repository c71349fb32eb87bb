#include "settings/IniDocument.h"

#include "settings/AsciiText.h"
#include "settings/Blanks.h"

#include <algorithm>
#include <unordered_map>

namespace lumora {

namespace {

// A value is one line of the file: a line break or NUL inside it would forge or hide keys.
std::wstring OneLineValue(std::wstring_view value) {
    std::wstring line(value);
    for (wchar_t& c : line) {
        if (c == L'\r' || c == L'\n' || c == L'\0') {
            c = L' ';
        }
    }
    return line;
}

std::wstring FoldedKey(std::wstring_view s) {
    std::wstring folded(s);
    for (wchar_t& c : folded) {
        c = AsciiLower(c);
    }
    return folded;
}

} // namespace

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

IniDocument IniDocument::Parse(std::wstring_view text) {
    IniDocument doc;
    // A file may repeat a section header many times; the map keeps the merge linear.
    std::unordered_map<std::wstring, size_t> sectionIndex;
    Section* current = nullptr;

    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring_view::npos) {
            end = text.size();
        }
        const std::wstring_view raw = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) {
            pos += (text[pos] == L'\r' && pos + 1 < text.size() && text[pos + 1] == L'\n') ? 2 : 1;
        }

        if (raw.size() > MaxLineLength || raw.find(L'\0') != std::wstring_view::npos) {
            continue;
        }
        const std::wstring_view line = Trim(raw);
        if (line.empty()) {
            continue;
        }

        if (line.front() == L'[') {
            const std::wstring_view inner = line.substr(1);
            const std::wstring_view name = Trim(inner.substr(0, inner.find(L']')));
            auto [it, inserted] = sectionIndex.try_emplace(FoldedKey(name), doc.sections_.size());
            if (inserted) {
                doc.sections_.push_back(Section{std::wstring(name), {}});
            }
            current = &doc.sections_[it->second];
            continue;
        }

        if (line.front() == L';') {
            Line comment{{}, std::wstring(line), true};
            (current != nullptr ? current->Lines : doc.preamble_).push_back(std::move(comment));
            continue;
        }

        const size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos || current == nullptr) {
            continue;
        }
        const std::wstring_view key = Trim(line.substr(0, equals));
        if (key.empty()) {
            continue;
        }
        current->Lines.push_back(Line{std::wstring(key), std::wstring(Trim(line.substr(equals + 1))), false});
    }
    return doc;
}

std::wstring IniDocument::Serialize() const {
    size_t size = 0;
    for (const Line& line : preamble_) {
        size += line.Value.size() + 2;
    }
    for (const Section& section : sections_) {
        size += section.Name.size() + 6;
        for (const Line& line : section.Lines) {
            size += line.Key.size() + line.Value.size() + 3;
        }
    }

    std::wstring out;
    out.reserve(size);
    for (const Line& line : preamble_) {
        out += line.Value;
        out += L"\r\n";
    }
    for (const Section& section : sections_) {
        // An empty line between sections, for whoever reads the file by hand.
        if (!out.empty()) {
            out += L"\r\n";
        }
        out += L'[';
        out += section.Name;
        out += L"]\r\n";
        for (const Line& line : section.Lines) {
            if (!line.IsComment) {
                out += line.Key;
                out += L'=';
            }
            out += line.Value;
            out += L"\r\n";
        }
    }
    return out;
}

std::optional<std::wstring> IniDocument::Find(std::wstring_view section, std::wstring_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    for (const Line& line : found->Lines) {
        if (!line.IsComment && EqualsIgnoreCase(line.Key, key)) {
            return line.Value;
        }
    }
    return std::nullopt;
}

std::wstring IniDocument::ReadString(std::wstring_view section, std::wstring_view key,
                                     std::wstring_view fallback) const {
    std::optional<std::wstring> value = Find(section, key);
    return value ? std::move(*value) : std::wstring(fallback);
}

void IniDocument::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    Section* target = FindSection(section);
    if (target == nullptr) {
        target = &sections_.emplace_back(Section{std::wstring(section), {}});
    }
    for (Line& line : target->Lines) {
        if (!line.IsComment && EqualsIgnoreCase(line.Key, key)) {
            line.Value = OneLineValue(value);
            return;
        }
    }
    target->Lines.push_back(Line{std::wstring(key), OneLineValue(value), false});
}

bool IniDocument::HasSection(std::wstring_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::wstring> IniDocument::SectionValues(std::wstring_view section) const {
    std::vector<std::wstring> values;
    if (const Section* found = FindSection(section)) {
        for (const Line& line : found->Lines) {
            if (!line.IsComment) {
                values.push_back(line.Value);
            }
        }
    }
    return values;
}

void IniDocument::EraseSection(std::wstring_view section) {
    std::erase_if(sections_, [section](const Section& s) { return EqualsIgnoreCase(s.Name, section); });
}

IniDocument::Section* IniDocument::FindSection(std::wstring_view name) {
    for (Section& section : sections_) {
        if (EqualsIgnoreCase(section.Name, name)) {
            return &section;
        }
    }
    return nullptr;
}

const IniDocument::Section* IniDocument::FindSection(std::wstring_view name) const {
    return const_cast<IniDocument*>(this)->FindSection(name);
}

} // namespace lumora
