// SPDX-License-Identifier: GPL-3.0-or-later
// A library of a name the program loads, planted beside it as anyone could on a
// shared folder: says so in the debug output if it is ever loaded.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        OutputDebugStringA("transpose-drill: planted library loaded\n");
    }
    return TRUE;
}
