// SPDX-License-Identifier: GPL-3.0-or-later
#include "system.h"

#include <array>

namespace drill::win {

namespace {

HMODULE User32() {
    static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32;
}

// Set once SetDefaultDllDirectories has kept every later load to the system folder.
bool searchRestricted = false;

} // namespace

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    std::string utf8(
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()),
                        nullptr, nullptr);
    return utf8;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void KeepLibrariesToSystemFolder() {
    // Windows 8, and Windows 7 with KB2533623.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    if (const auto set =
            Find<SetDirectories>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")) {
        searchRestricted = set(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
    }
    // Takes the current folder out of the search everywhere else.
    SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (searchRestricted) {
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Without the flag: the full path, so that no folder is searched at all.
    std::array<wchar_t, MAX_PATH> folder{};
    const UINT length = GetSystemDirectoryW(folder.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::wstring path = std::wstring(folder.data(), length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

int WindowDpi(HWND window) {
    // Windows 10 1607.
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto getDpi = Find<GetDpi>(User32(), "GetDpiForWindow");
    if (getDpi != nullptr) {
        if (const UINT dpi = getDpi(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

RECT Frame(SIZE client, DWORD style, DWORD exStyle, int dpi) {
    RECT frame{0, 0, client.cx, client.cy};
    // Windows 10 1607: the frame's own size at this dpi, not the system's.
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = Find<Adjust>(User32(), "AdjustWindowRectExForDpi");
    if (adjust == nullptr || !adjust(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return frame;
}

int SystemMetric(int index, int dpi) {
    // Windows 10 1607.
    using GetMetric = int(WINAPI*)(int, UINT);
    static const auto getMetric = Find<GetMetric>(User32(), "GetSystemMetricsForDpi");
    return getMetric != nullptr ? getMetric(index, static_cast<UINT>(dpi))
                                : GetSystemMetrics(index);
}

bool HighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

} // namespace drill::win
