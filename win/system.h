// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the Windows edition asks of the system beyond Windows 7's own calls:
// texts in UTF-16, libraries loaded from the system folder only, and the
// per-window DPI calls of Windows 10, found at run time.

#include <windows.h>

#include <string>
#include <string_view>

namespace drill::win {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
// A window's whole text.
std::wstring TextOf(HWND window);

// A function of a loaded module, or null where this Windows has none.
template <typename Function> Function Find(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    // Through a plain function pointer: GetProcAddress's type is a placeholder.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Called first of all: no library is looked for beside the program or in the
// current folder from then on (a shared folder may hold a planted copy).
void KeepLibrariesToSystemFolder();

// A library of the system folder, never one found elsewhere; null if absent.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The window's dots per inch: its monitor's on Windows 10, else the system's.
int WindowDpi(HWND window);

// The frame of a window whose client area is `client` at `dpi`, around that
// client area placed at 0, 0.
RECT Frame(SIZE client, DWORD style, DWORD exStyle, int dpi);

// A system metric (icon sizes) at `dpi`.
int SystemMetric(int index, int dpi);

bool HighContrast();

} // namespace drill::win
