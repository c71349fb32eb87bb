#pragma once
// Names that other programs and a second start of this one rely on: never translate them.

namespace lumora::names {

inline constexpr wchar_t InstanceMutex[] = L"OrvaneLumora";
inline constexpr wchar_t ShowOptionsMessage[] = L"OrvaneLumora";
inline constexpr wchar_t TickMessage[] = L"MasterForm";

inline constexpr wchar_t MasterFormClass[] = L"TMasterForm";
inline constexpr wchar_t OptionFormClass[] = L"TOptionForm";

inline constexpr wchar_t ProductName[] = L"Lumora";

} // namespace lumora::names
