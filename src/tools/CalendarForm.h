#pragma once
// The calendar: a month grid under a title bar with the month, and a tear-off page with today.
// It opens beside the notification area and, like a menu, closes when it loses activation or on
// Esc unless it is pinned. The master places it, shows it and refreshes it when the time or the
// settings change.

#include "clock/DateTimeFormat.h"
#include "clock/PixelBuffer.h"
#include "shell/GdiObjects.h"
#include "shell/HelpViewer.h"
#include "shell/KZForm.h"
#include "tools/CalendarModel.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumora {

struct CalendarFormContext {
    // The clock's date and time now.
    std::function<double()> Today;
    // The system's locale facts and the settings' CalendarFontName, as they are now.
    std::function<LocaleFacts()> Locale;
    std::function<std::wstring()> FontName;
    int ColourDepth = 32; // picks the set of button images
    const HelpViewer* Help = nullptr;
};

class TCalendarForm final : public TKZForm {
public:
    // Built hidden, showing today's month; null when the window cannot be made.
    static std::unique_ptr<TCalendarForm> Create(HWND owner, CalendarFormContext context);
    ~TCalendarForm() override;

    // Puts the window's top-left corner at point and shows it as a menu appears.
    void ShowAt(POINT topLeft);
    // updateToday: take the clock's date again; resetMonth: back to today's month.
    void Refresh(bool updateToday, bool resetMonth);

private:
    explicit TCalendarForm(CalendarFormContext context) : context_(std::move(context)) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormHelp() override;
    bool FormCreate();
    void CreateButtons();
    void CreateToolBar();
    void CreateHints();
    void LayOut();
    void LayOutToolBar();
    void DpiChanged(int dpi, const RECT* suggested);
    void ApplyFont();
    std::wstring FontName() const;

    // The grid and the tear-off page are windows of their own, drawn here.
    static LRESULT CALLBACK PartProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT PartMessage(HWND part, UINT message, WPARAM wParam, LPARAM lParam);
    // The buttons' keys pass the form first, as they would with KeyPreview.
    static LRESULT CALLBACK ButtonKeysProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR data);
    // Esc and Tab anywhere in the form; true when the key was taken.
    bool PreviewKey(HWND from, WPARAM key);

    void FormPaint(HDC dc);
    void PaintTitle(HDC dc);
    void GridPaint(HDC dc);
    void PagePaint(HDC dc);
    void DrawLinkButton(const DRAWITEMSTRUCT& item);
    void Command(int id, int code);

    void GridKeyDown(WPARAM key);
    void GridMouseDown(LPARAM point);
    void Select(int cell);
    void StepMonths(int months);
    RECT CellRect(int row, int column) const;
    void InvalidateCell(int cell);
    void PageMouseUp(LPARAM point);
    void BackToToday();
    void InvalidatePageRing();
    void InvalidateFocused();

    bool SetCursorFor(HWND target, UINT hit, UINT mouseMessage);
    void Activated(bool active, HWND other);
    void CloseRequest();
    // Runs work that may take the foreground or show a message; a close asked for meanwhile
    // waits until it is done, so the form outlives its own handler.
    template <class Work> void Guarded(Work work);

    CalendarFormContext context_;
    CalendarModel model_;
    int dpi_ = 96;
    CalendarFormLayout sizes_; // at dpi_
    CalendarGridLayout layout_;
    UniqueFont font_;      // the form's font: CalendarFontName
    UniqueFont arrowFont_; // Marlett, for the month buttons
    HWND grid_ = nullptr;
    HWND page_ = nullptr;
    HWND prevButton_ = nullptr;
    HWND nextButton_ = nullptr;
    HWND linkButton_ = nullptr;
    HWND toolBar_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::vector<PixelBuffer> pictures_; // the tool bar's, for 96 DPI
    HWND lastFocus_ = nullptr;
    std::wstring helpHint_;
    std::wstring fixedHint_;
    int selected_ = 0; // the grid's current cell, 0..41
    bool active_ = false;
    bool pinned_ = false;
    bool pagePressed_ = false;
    int busy_ = 0;
    bool closePending_ = false;
};

} // namespace lumora
