#include "shell/TextFill.h"

namespace lumora {

std::wstring FillText(std::wstring_view text, std::initializer_list<std::wstring_view> args) {
    std::wstring result;
    auto next = args.begin();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && text[i + 1] == L's' && next != args.end()) {
            result += *next++;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

} // namespace lumora
