// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows edition's entry: the main window over the drill, and the message
// loop, which hands each window's keyboard to the dialog manager for Tab.

#include <windows.h>

#include <objbase.h>

#include <string>

#include "clock_random.h"
#include "form.h"
#include "main_window.h"
#include "system.h"

namespace {

int Run(drill::win::Form1& form) {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return 1;
        }
        if (form.TakeKey(message)) {
            continue;
        }
        HWND window = GetAncestor(message.hwnd, GA_ROOT);
        if (form.IsDrillWindow(window) && IsDialogMessageW(window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    drill::win::KeepLibrariesToSystemFolder();
    // The annotation service is a COM object.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int status = 1;
    {
        drill::ClockRandom random;
        drill::win::Form1 form(random);
        if (const wchar_t* failure = form.Open(show)) {
            const std::wstring text =
                std::wstring(L"Программа не может запуститься: ") + failure + L".";
            MessageBoxW(nullptr, text.c_str(),
                        drill::win::Wide(drill::form::kMainWindow.caption).c_str(),
                        MB_OK | MB_ICONERROR);
        } else {
            status = Run(form);
        }
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return status;
}
