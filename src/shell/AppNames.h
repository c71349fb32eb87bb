#pragma once
// Names that other programs, a second start of this one and the tests rely on: window classes,
// registered messages and the instance mutex. Never translate them.

namespace lumora::names {

inline constexpr wchar_t InstanceMutex[] = L"OrvaneLumora";
inline constexpr wchar_t ShowOptionsMessage[] = L"OrvaneLumora";
inline constexpr wchar_t TickMessage[] = L"MasterForm";

inline constexpr wchar_t MasterFormClass[] = L"TMasterForm";
inline constexpr wchar_t MasterStandInClass[] = L"TMasterStandIn";
inline constexpr wchar_t OptionFormClass[] = L"TOptionForm";
inline constexpr wchar_t LumoraFormClass[] = L"TLumoraForm";
inline constexpr wchar_t SplashFormClass[] = L"TSplashForm";
inline constexpr wchar_t TelopFormClass[] = L"TTelopForm";
inline constexpr wchar_t CallSignFormClass[] = L"TCallSignForm";
inline constexpr wchar_t LogoFormClass[] = L"TLogoForm";
inline constexpr wchar_t OmakeFormClass[] = L"TOmakeForm";
inline constexpr wchar_t TestPatternFormClass[] = L"TTestPatternForm";
inline constexpr wchar_t FatalErrorFormClass[] = L"TFatalErrorForm";
// Also the CLASS of their dialog templates.
inline constexpr wchar_t WorldClockFormClass[] = L"TWorldClockForm";
inline constexpr wchar_t AlphaBlendFormClass[] = L"TAlphaBlendForm";
inline constexpr wchar_t AboutFormClass[] = L"TAboutForm";
inline constexpr wchar_t CalendarFormClass[] = L"TCalendarForm";
inline constexpr wchar_t WindowFinderFormClass[] = L"TWindowFinderForm";
inline constexpr wchar_t TimerFormClass[] = L"TTimerForm"; // also the CLASS of its dialog template
inline constexpr wchar_t TaskTrayIconClass[] = L"TKZTaskTrayIconWindow";
inline constexpr wchar_t TaskTrayIconTitle[] = L"TaskBarIconWindow";
inline constexpr wchar_t TaskTrayIconMessage[] = L"TaskTrayIcon";
// Sent by Explorer to every top-level window when the taskbar was created again.
inline constexpr wchar_t TaskbarCreatedMessage[] = L"TaskbarCreated";

inline constexpr wchar_t ProductName[] = L"Lumora";
inline constexpr wchar_t WebSite[] = L"https://lumora.orvane.jp/";

} // namespace lumora::names
