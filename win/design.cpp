// SPDX-License-Identifier: GPL-3.0-or-later
#include "design.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "placement.h"
#include "resource_ids.h"
#include "system.h"

namespace drill::win {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

COLORREF Ref(form::Rgb colour) {
    return RGB(colour.r, colour.g, colour.b);
}

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

DWORD ControlStyle(const form::Control& control) {
    // Each control its own group, so that arrow keys never move the focus:
    // only Tab walks the chain.
    const DWORD focusable = WS_TABSTOP | WS_GROUP;
    switch (control.kind) {
    case form::Kind::Button:
        return focusable | BS_OWNERDRAW;
    case form::Kind::TextBox:
        return focusable | ES_AUTOHSCROLL |
               (control.align == form::Align::Centre ? ES_CENTER : ES_LEFT);
    case form::Kind::Label:
        break;
    }
    DWORD style = SS_NOPREFIX | (control.border ? WS_BORDER : 0);
    if (control.wordWrap) {
        // Wrapped by DrawLabel: the system's wrapping keeps the blanks at a
        // line's end inside the box, which pushes a word of the rule onto a
        // fourth line where its box has room for three.
        style |= SS_OWNERDRAW;
    } else if (control.align == form::Align::Centre) {
        style |= SS_CENTER;
    } else {
        style |= SS_LEFTNOWORDWRAP;
    }
    return style;
}

const wchar_t* ControlClass(form::Kind kind) {
    switch (kind) {
    case form::Kind::Button:
        return L"BUTTON";
    case form::Kind::TextBox:
        return L"EDIT";
    case form::Kind::Label:
        break;
    }
    return L"STATIC";
}

// The answer box's text is centred from top to bottom as well: its client
// area is cut to one line in the middle of its box, the rest painted as frame.
RECT AnswerBoxClient(HWND box, RECT frame) {
    int lineHeight = frame.bottom - frame.top;
    if (HDC dc = GetDC(box)) {
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(dc, &metrics)) {
            lineHeight = metrics.tmHeight;
        }
        SelectObject(dc, old);
        ReleaseDC(box, dc);
    }
    InflateRect(&frame, -1, -1);
    const int room = frame.bottom - frame.top;
    if (lineHeight < room) {
        frame.top += (room - lineHeight) / 2;
        frame.bottom = frame.top + lineHeight;
    }
    return frame;
}

// The lines of `text` wrapped at its blanks to `width`: as many words as fit
// a line, the blanks after its last word not counted.
std::vector<std::wstring_view> Wrap(HDC dc, std::wstring_view text, int width) {
    std::vector<std::wstring_view> lines;
    const auto extent = [dc](std::wstring_view part) {
        SIZE size{};
        GetTextExtentPoint32W(dc, part.data(), static_cast<int>(part.size()), &size);
        return size.cx;
    };
    while (!text.empty()) {
        std::size_t end = text.find(L' ');
        for (std::size_t next = end; next != std::wstring_view::npos;) {
            const std::size_t word = text.find_first_not_of(L' ', next);
            if (word == std::wstring_view::npos) {
                break;
            }
            next = text.find(L' ', word);
            if (extent(text.substr(0, next)) > width) {
                break;
            }
            end = next;
        }
        lines.push_back(text.substr(0, end));
        const std::size_t rest = end == std::wstring_view::npos ? std::wstring_view::npos
                                                                : text.find_first_not_of(L' ', end);
        text = rest == std::wstring_view::npos ? std::wstring_view{} : text.substr(rest);
    }
    return lines;
}

} // namespace

DesignedWindow::DesignedWindow(const form::Window& design) : design_(design) {}

DesignedWindow::~DesignedWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    FreeResources();
}

void DesignedWindow::FreeResources() {
    for (auto& [font, handle] : fonts_) {
        DeleteObject(handle);
    }
    fonts_.clear();
    for (HBRUSH brush : brushes_) {
        DeleteObject(brush);
    }
    brushes_.clear();
    if (windowBrush_ != nullptr) {
        DeleteObject(windowBrush_);
        windowBrush_ = nullptr;
    }
    for (HICON* icon : {&bigIcon_, &smallIcon_}) {
        if (*icon != nullptr) {
            DestroyIcon(*icon);
            *icon = nullptr;
        }
    }
}

HWND DesignedWindow::ControlWindow(const form::Control& control) const {
    const std::size_t index = design_.IndexOf(control);
    return index < controls_.size() ? controls_[index] : nullptr;
}

const form::Control* DesignedWindow::ControlOf(HWND control) const {
    const std::size_t index = IndexOf(control);
    return index == kNone ? nullptr : &design_.controls[index];
}

std::size_t DesignedWindow::IndexOf(HWND control) const {
    if (control == nullptr) {
        return kNone;
    }
    const auto found = std::find(controls_.begin(), controls_.end(), control);
    return found == controls_.end() ? kNone : static_cast<std::size_t>(found - controls_.begin());
}

const wchar_t* DesignedWindow::Create(DWORD style, DWORD exStyle) {
    constexpr const wchar_t* kNoWindow = L"не удалось создать окно";
    const std::wstring className = Wide(design_.name);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(Instance(), className.c_str(), &windowClass)) {
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = Instance();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = className.c_str();
        if (!RegisterClassExW(&windowClass)) {
            return kNoWindow;
        }
    }
    FreeResources();
    boxes_.clear();
    for (const form::Control& control : design_.controls) {
        boxes_.push_back(control.box);
    }
    // The size and place follow once the window knows its DPI.
    if (!CreateWindowExW(exStyle, className.c_str(), Wide(design_.caption).c_str(),
                         style | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                         nullptr, Instance(), this)) {
        return kNoWindow;
    }
    dpi_ = WindowDpi(window_);
    highContrast_ = HighContrast();
    if (!SetIcons()) {
        return L"в ней не найден её значок";
    }
    MakeFonts();
    MakeBrushes();

    controls_.clear();
    for (std::size_t i = 0; i < design_.controls.size(); ++i) {
        const form::Control& control = design_.controls[i];
        HWND handle = CreateWindowExW(
            0, ControlClass(control.kind), Wide(control.text).c_str(),
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ControlStyle(control), 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), Instance(),
            nullptr);
        if (handle == nullptr) {
            return kNoWindow;
        }
        if (control.kind == form::Kind::TextBox) {
            SendMessageW(handle, EM_SETLIMITTEXT, form::kAnswerMaxLength, 0);
            SetWindowSubclass(handle, AnswerBoxProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
        }
        controls_.push_back(handle);
    }
    // Tab walks the controls in their order among siblings: the focusable
    // ones go last, in the table's tab order (no two of them overlap, so the
    // order changes nothing drawn).
    for (const form::Control* control : design_.TabOrder()) {
        SetWindowPos(ControlWindow(*control), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    Place();
    Layout();
    return nullptr;
}

RECT DesignedWindow::DesignedFrame() const {
    const form::PixelBox client = form::Px(design_.client, dpi_);
    return Frame({client.width, client.height},
                 static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
                 static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)), dpi_);
}

void DesignedWindow::Place() {
    const form::PixelBox client = form::Px(design_.client, dpi_);
    const RECT frame = DesignedFrame();
    const form::FrameMargins margins{-frame.left, -frame.top, frame.right - client.width,
                                     frame.bottom - client.height};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({client.left, client.top}, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    const RECT& work = monitor.rcWork;
    const form::Point at = form::ClientPosition(
        client, margins, {work.left, work.top, work.right - work.left, work.bottom - work.top});
    SetWindowPos(window_, nullptr, at.x - margins.left, at.y - margins.top,
                 frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DesignedWindow::Layout() {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const form::Control& control = design_.controls[i];
        for (const auto& [font, handle] : fonts_) {
            if (font == control.font) {
                SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(handle), FALSE);
            }
        }
        const form::PixelBox box = form::Px(boxes_[i], dpi_);
        SetWindowPos(controls_[i], nullptr, box.left, box.top, box.width, box.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void DesignedWindow::MoveControl(const form::Control& control, form::Point twips) {
    const std::size_t index = design_.IndexOf(control);
    if (index >= controls_.size()) {
        return;
    }
    boxes_[index].left = twips.x;
    boxes_[index].top = twips.y;
    const form::PixelBox box = form::Px(boxes_[index], dpi_);
    SetWindowPos(controls_[index], nullptr, box.left, box.top, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void DesignedWindow::MakeFonts() {
    std::vector<std::pair<form::Font, HFONT>> made;
    for (const form::Control& control : design_.controls) {
        if (std::none_of(made.begin(), made.end(),
                         [&](const auto& have) { return have.first == control.font; })) {
            const HFONT font =
                CreateFontW(-control.font.PixelSize(dpi_), 0, 0, 0,
                            control.font.weight == form::Weight::Bold ? FW_BOLD : FW_NORMAL, FALSE,
                            FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
            made.emplace_back(control.font, font);
        }
    }
    // The old fonts go only once the controls hold the new ones.
    std::swap(made, fonts_);
    if (!made.empty()) {
        Layout();
    }
    for (auto& [font, handle] : made) {
        DeleteObject(handle);
    }
}

COLORREF DesignedWindow::TextColour(const form::Control& control) const {
    if (highContrast_) {
        return GetSysColor(control.kind == form::Kind::Button ? COLOR_BTNTEXT : COLOR_WINDOWTEXT);
    }
    // The design's default is black: its fields' colours are fixed, so a
    // light system text colour would vanish into them.
    return Ref(control.textColour.value_or(form::kBlack));
}

COLORREF DesignedWindow::Background(const form::Control& control) const {
    if (highContrast_) {
        return GetSysColor(control.kind == form::Kind::Button ? COLOR_BTNFACE : COLOR_WINDOW);
    }
    return Ref(control.background);
}

void DesignedWindow::MakeBrushes() {
    for (HBRUSH brush : brushes_) {
        DeleteObject(brush);
    }
    brushes_.clear();
    for (const form::Control& control : design_.controls) {
        brushes_.push_back(CreateSolidBrush(Background(control)));
    }
    if (windowBrush_ != nullptr) {
        DeleteObject(windowBrush_);
    }
    windowBrush_ =
        CreateSolidBrush(highContrast_ ? GetSysColor(COLOR_WINDOW) : Ref(design_.background));
}

bool DesignedWindow::SetIcons() {
    const auto load = [this](int width, int height) {
        return static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(DRILL_ICON), IMAGE_ICON,
                                             SystemMetric(width, dpi_), SystemMetric(height, dpi_),
                                             LR_DEFAULTCOLOR));
    };
    const HICON big = load(SM_CXICON, SM_CYICON);
    const HICON small = load(SM_CXSMICON, SM_CYSMICON);
    if (big == nullptr || small == nullptr) {
        for (HICON icon : {big, small}) {
            if (icon != nullptr) {
                DestroyIcon(icon);
            }
        }
        return false;
    }
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    for (HICON icon : {bigIcon_, smallIcon_}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
    bigIcon_ = big;
    smallIcon_ = small;
    return true;
}

void DesignedWindow::DrawLabel(const DRAWITEMSTRUCT& item, const form::Control& control,
                               HBRUSH brush) {
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    FillRect(dc, &area, brush);
    const std::wstring text = TextOf(item.hwndItem);
    const HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColour(control));
    RECT line = area;
    for (std::wstring_view part : Wrap(dc, text, area.right - area.left)) {
        DrawTextW(dc, part.data(), static_cast<int>(part.size()), &line,
                  DT_SINGLELINE | DT_NOPREFIX |
                      (control.align == form::Align::Centre ? DT_CENTER : DT_LEFT));
        line.top += metrics.tmHeight;
    }
    SelectObject(dc, oldFont);
}

void DesignedWindow::DrawItem(const DRAWITEMSTRUCT& item) {
    const std::size_t index = IndexOf(item.hwndItem);
    if (index == kNone) {
        return;
    }
    const form::Control& control = design_.controls[index];
    if (item.CtlType == ODT_STATIC) {
        DrawLabel(item, control, brushes_[index]);
        return;
    }
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &area, brushes_[index]);
    DrawEdge(dc, &area, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

    std::array<wchar_t, 64> text{};
    GetWindowTextW(item.hwndItem, text.data(), static_cast<int>(text.size()));
    RECT textArea = area;
    if (pressed) {
        OffsetRect(&textArea, 1, 1);
    }
    const HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColour(control));
    DrawTextW(dc, text.data(), -1, &textArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        InflateRect(&area, -1, -1);
        DrawFocusRect(dc, &area);
    }
}

LRESULT DesignedWindow::Colour(HDC dc, HWND control) {
    const std::size_t index = IndexOf(control);
    if (index == kNone) {
        return 0;
    }
    SetTextColor(dc, TextColour(design_.controls[index]));
    SetBkColor(dc, Background(design_.controls[index]));
    return reinterpret_cast<LRESULT>(brushes_[index]);
}

void DesignedWindow::PaintBackground(HDC dc, const RECT& area) {
    FillRect(dc, &area, windowBrush_);
}

LRESULT CALLBACK DesignedWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* self = reinterpret_cast<DesignedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self =
            static_cast<DesignedWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->controls_.clear();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT DesignedWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Handle(message, wParam, lParam);
}

LRESULT DesignedWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(window_, &paint)) {
            PaintBackground(dc, paint.rcPaint);
            EndPaint(window_, &paint);
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (const LRESULT brush =
                Colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
            return brush;
        }
        break;
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        const auto& suggested = *reinterpret_cast<const RECT*>(lParam);
        const RECT frame = DesignedFrame();
        // The suggested place, at the exact size the design asks for.
        SetWindowPos(window_, nullptr, suggested.left, suggested.top, frame.right - frame.left,
                     frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SetIcons();
        DpiChanged();
        MakeFonts();
        return 0;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        highContrast_ = HighContrast();
        MakeBrushes();
        RedrawWindow(window_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        break;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK DesignedWindow::AnswerBoxProcedure(HWND box, UINT message, WPARAM wParam,
                                                    LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto& owner = *reinterpret_cast<DesignedWindow*>(self);
    switch (message) {
    case WM_NCCALCSIZE: {
        RECT& area = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                            : *reinterpret_cast<RECT*>(lParam);
        area = AnswerBoxClient(box, area);
        return 0;
    }
    case WM_NCHITTEST:
        // The margins above and below the line are the box's too.
        return HTCLIENT;
    case WM_NCPAINT: {
        if (HDC dc = GetWindowDC(box)) {
            RECT window, client;
            GetWindowRect(box, &window);
            GetClientRect(box, &client);
            MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
            OffsetRect(&client, -window.left, -window.top);
            OffsetRect(&window, -window.left, -window.top);
            ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
            const std::size_t index = owner.IndexOf(box);
            FillRect(dc, &window,
                     index == kNone ? GetSysColorBrush(COLOR_WINDOW) : owner.brushes_[index]);
            SetDCBrushColor(dc,
                            GetSysColor(owner.highContrast_ ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW));
            FrameRect(dc, &window, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            ReleaseDC(box, dc);
        }
        return 0;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, AnswerBoxProcedure, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

} // namespace drill::win
