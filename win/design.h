// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window of the form table built from native controls: every control at its
// place and in its font for the window's DPI, in its colours (or the system's
// in high contrast), laid out again when the DPI or the colours change.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "form.h"
#include "placement.h"

namespace drill::win {

// Control identifiers: this plus the control's place in the table. IDOK and
// IDCANCEL, which the dialog manager sends for Enter and Esc, name none.
inline constexpr int kFirstControlId = 100;

class DesignedWindow {
public:
    explicit DesignedWindow(const form::Window& design);
    virtual ~DesignedWindow();
    DesignedWindow(const DesignedWindow&) = delete;
    DesignedWindow& operator=(const DesignedWindow&) = delete;

    HWND Handle() const { return window_; }
    // The native control of a control of this window's table.
    HWND ControlWindow(const form::Control& control) const;
    // The table's control behind a native one; null if it is none of them.
    const form::Control* ControlOf(HWND control) const;

protected:
    // Makes the window with its controls, placed as designed. Null if it is
    // made, else why not, in words for a message box.
    const wchar_t* Create(DWORD style, DWORD exStyle);
    // Moves a control to a place in twips, keeping its size.
    void MoveControl(const form::Control& control, form::Point twips);
    int Dpi() const { return dpi_; }
    bool HighContrastOn() const { return highContrast_; }

    // This window's messages; what it does not handle goes to Handle below.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // The client area under the controls; the background colour by default.
    virtual void PaintBackground(HDC dc, const RECT& area);
    virtual void DpiChanged() {}

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK AnswerBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR, DWORD_PTR self);

    std::size_t IndexOf(HWND control) const;
    // The frame around the designed client area at the window's DPI.
    RECT DesignedFrame() const;
    void Place();
    void Layout();
    void MakeFonts();
    void MakeBrushes();
    bool SetIcons();
    // Owner-drawn controls: the buttons, and the labels that wrap.
    void DrawItem(const DRAWITEMSTRUCT& item);
    void DrawLabel(const DRAWITEMSTRUCT& item, const form::Control& control, HBRUSH brush);
    LRESULT Colour(HDC dc, HWND control);
    COLORREF TextColour(const form::Control& control) const;
    COLORREF Background(const form::Control& control) const;
    void FreeResources();

    const form::Window& design_;
    HWND window_ = nullptr;
    std::vector<HWND> controls_;       // in table order
    std::vector<form::TwipBox> boxes_; // where each stands now
    std::vector<std::pair<form::Font, HFONT>> fonts_;
    std::vector<HBRUSH> brushes_; // each control's background
    HBRUSH windowBrush_ = nullptr;
    HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool highContrast_ = false;
};

} // namespace drill::win
